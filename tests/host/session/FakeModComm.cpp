#include "FakeModComm.h"

#include "CADAutomationSnapshot.h"
#include "CADComponentFactories.h"
#include "CADICreateInstance.h"

namespace {

class FakeModCommFactory : public CADICreateInstance {
 public:
  HRESULT CreateInstance(void** out) override {
    *out = static_cast<CADBaseUnknown*>(new FakeModComm);
    return S_OK;
  }
};

const CADComponentFactories::Registration g_registration(FakeModComm::kClassName,
                                                         [] { return new FakeModCommFactory; });

}  // namespace

std::string& FakeModComm::Status() {
  static std::string status;
  return status;
}

std::vector<std::string>& FakeModComm::Journal() {
  static std::vector<std::string> journal;
  return journal;
}

void FakeModComm::Reset() {
  Status().clear();
  Journal().clear();
  CADAutomationSnapshot::Reset();
}

HRESULT FakeModComm::Invoke(const CADString& method, const CADListValCADUnicodeString& arguments, int& result) {
  std::string entry = method.str();
  for (const CADUnicodeString& argument : arguments) entry += " " + argument.str();
  Journal().push_back(entry);
  result = 1;
  if (method == "SetStatus" && arguments.Size() == 1) {
    Status() = arguments[1].str();
    CADAutomationSnapshot::Publish(kClassName, "Status", Status());
    return S_OK;
  }
  if (method == "StartCmd") {
    result = arguments[1] == "KnownCmd" ? 1 : 0;
    return S_OK;
  }
  if (method == "WriteXml" || method == "SetUseDesignTables") return S_OK;
  return E_FAIL;
}
