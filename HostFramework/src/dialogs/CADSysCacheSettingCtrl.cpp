#include "CADSysCacheSettingCtrl.h"

#include <optional>

#include "CADComponentFactories.h"
#include "CADICreateInstance.h"
#include "CADISysCacheSettingAtt.h"
#include "CADSettingRepository.h"

namespace {

struct ControllerState {
  std::optional<CADListValCADUnicodeString> paths;  // empty until first use
  std::optional<int> timeStampCheck;                // empty until first use
  bool unavailable = false;
};
ControllerState& State() {
  static ControllerState state;
  return state;
}

CADListValCADUnicodeString& Paths() {
  ControllerState& state = State();
  if (!state.paths) {
    CADListValCADUnicodeString fromSetting;
    if (CADSettingRepository* repository = CADSettingRepository::GetRepository("CADCache"))
      repository->ReadSetting("ReleaseCachePath", &fromSetting);
    state.paths = fromSetting;
  }
  return *state.paths;
}

int& TimeStampCheck() {
  ControllerState& state = State();
  if (!state.timeStampCheck) {
    int value = 0;
    if (CADSettingRepository* repository = CADSettingRepository::GetRepository("CADCache"))
      repository->ReadSetting("TimeStamp", &value);
    state.timeStampCheck = value == 1 ? 1 : 0;
  }
  return *state.timeStampCheck;
}

class CacheSettingController : public CADISysCacheSettingAtt {
 public:
  HRESULT GetReleaseCachePath(std::unique_ptr<CADUnicodeString[]>& paths, int& count) override {
    const CADListValCADUnicodeString& list = Paths();
    count = list.Size();
    paths = std::make_unique<CADUnicodeString[]>(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) paths[static_cast<std::size_t>(i - 1)] = list[i];
    return S_OK;
  }
  HRESULT SetReleaseCachePath(const CADUnicodeString* paths, int count) override {
    if (count < 0 || (count > 0 && !paths)) return E_INVALIDARG;
    CADListValCADUnicodeString list;
    for (int i = 0; i < count; ++i) list.Append(paths[i]);
    Paths() = list;
    return S_OK;
  }
  HRESULT GetTimeStampCheck(int& check) override {
    check = TimeStampCheck();
    return S_OK;
  }
  HRESULT SetTimeStampCheck(int check) override {
    TimeStampCheck() = check ? 1 : 0;
    return S_OK;
  }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADISysCacheSettingAtt, CADBaseUnknown>(this, iid, out);
  }
};

class CacheSettingControllerFactory : public CADICreateInstance {
 public:
  HRESULT CreateInstance(void** out) override {
    if (!out) return E_INVALIDARG;
    *out = static_cast<CADBaseUnknown*>(new CacheSettingController());
    return S_OK;
  }
};

const CADComponentFactories::Registration registration("CADSysCacheSettingCtrl", []() -> CADICreateInstance* {
  if (State().unavailable) return nullptr;
  return new CacheSettingControllerFactory();
});

}  // namespace

CADListValCADUnicodeString CADSysCacheSettingCtrl::GetReleaseCachePaths() { return Paths(); }

void CADSysCacheSettingCtrl::SetReleaseCachePaths(const CADListValCADUnicodeString& paths) { Paths() = paths; }

int CADSysCacheSettingCtrl::GetTimeStampCheck() { return TimeStampCheck(); }

void CADSysCacheSettingCtrl::SetTimeStampCheck(int check) { TimeStampCheck() = check ? 1 : 0; }

void CADSysCacheSettingCtrl::SetUnavailable(bool unavailable) { State().unavailable = unavailable; }

void CADSysCacheSettingCtrl::Reset() {
  State().paths.reset();
  State().timeStampCheck.reset();
  State().unavailable = false;
}
