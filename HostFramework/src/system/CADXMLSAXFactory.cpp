// The factory behind CreateCADIXMLSAXFactory.
#include "CADIXMLSAXFactory.h"

#include "CADXMLSAXExpatParser.h"

namespace {

class CADXMLSAXExpatFactory final : public CADIXMLSAXFactory {
 public:
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXFactory, CADBaseUnknown>(this, iid, out);
  }
  HRESULT CreateParser(CADIXMLSAXParser_var& parser) override {
    parser = CADIXMLSAXParser_var::Adopt(new CADXMLSAXExpatParser);
    return S_OK;
  }

 private:
  ~CADXMLSAXExpatFactory() override = default;
};

}  // namespace

HRESULT CreateCADIXMLSAXFactory(CADIXMLSAXFactory_var& factory, const CADUnicodeString& implementation) {
  factory = nullptr;
  if (implementation != CADUnicodeString(CADXMLSAXDefaultImplementation)) return E_FAIL;
  factory = CADIXMLSAXFactory_var::Adopt(new CADXMLSAXExpatFactory);
  return S_OK;
}
