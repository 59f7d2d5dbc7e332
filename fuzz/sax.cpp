// Feeds arbitrary bytes to the host's SAX parser, cut into pieces of a size
// taken from the first byte, with handlers that look at every event.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "CADXMLSAX.h"

namespace {

class TouchingHandler final : public CADIXMLSAXDocumentHandler, public CADIXMLSAXErrorHandler {
 public:
  size_t bytes = 0;
  HRESULT StartElement(const CADUnicodeString& name, const CADIXMLSAXAttributeList& attributes) override {
    bytes += static_cast<size_t>(name.GetLength());
    for (int i = 0; i < attributes.GetLength(); ++i) {
      CADUnicodeString n, v;
      attributes.GetName(i, n);
      attributes.GetValue(i, v);
      attributes.GetValue(n.view(), v);
      bytes += static_cast<size_t>(v.GetLength());
    }
    return S_OK;
  }
  HRESULT Characters(const CADUnicodeString& text) override {
    bytes += static_cast<size_t>(text.GetLength());
    return S_OK;
  }
  HRESULT FatalError(const CADXMLSAXParseError& error) override {
    bytes += static_cast<size_t>(error.message.GetLength());
    return S_OK;
  }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXDocumentHandler, CADIXMLSAXErrorHandler, CADBaseUnknown>(this, iid, out);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t pieceSize = data[0] % 17;  // 0 means all at once
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  CADIXMLSAXFactory_var factory;
  if (FAILED(CreateCADIXMLSAXFactory(factory))) return 0;
  CADIXMLSAXParser_var parser;
  if (FAILED(factory->CreateParser(parser))) return 0;
  auto handler = CADVar<TouchingHandler>::Adopt(new TouchingHandler);
  parser->SetDocumentHandler(handler);
  parser->SetErrorHandler(handler);
  parser->ParseText(text, pieceSize);
  return 0;
}
