// Records every SAX event of a parse as one line, so a test compares the whole conversation.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "CADXMLSAX.h"

namespace sax_recording {

class RecordingHandler final : public CADIXMLSAXDocumentHandler, public CADIXMLSAXErrorHandler {
 public:
  std::vector<std::string> events;
  std::string failOnElement;  // StartElement of this name returns E_FAIL
  bool throwOnText = false;

  HRESULT StartElement(const CADUnicodeString& name, const CADIXMLSAXAttributeList& attributes) override {
    std::string line = "<" + name.str();
    for (int i = 0; i < attributes.GetLength(); ++i) {
      CADUnicodeString n, v;
      attributes.GetName(i, n);
      attributes.GetValue(i, v);
      line += " " + n.str() + "=" + v.str();
    }
    events.push_back(line + ">");
    return name.str() == failOnElement ? E_FAIL : S_OK;
  }
  HRESULT EndElement(const CADUnicodeString& name) override {
    events.push_back("</" + name.str() + ">");
    return S_OK;
  }
  HRESULT Characters(const CADUnicodeString& text) override {
    if (throwOnText) throw std::runtime_error("boom");
    events.push_back("T[" + text.str() + "]");
    return S_OK;
  }
  HRESULT IgnorableWhitespace(const CADUnicodeString& text) override {
    events.push_back("W" + std::to_string(text.GetLength()));
    return S_OK;
  }
  HRESULT ProcessingInstruction(const CADUnicodeString& target, const CADUnicodeString& data) override {
    events.push_back("?" + target.str() + " " + data.str());
    return S_OK;
  }
  HRESULT Warning(const CADXMLSAXParseError& e) override {
    events.push_back("warning: " + e.message.str());
    return S_OK;
  }
  HRESULT FatalError(const CADXMLSAXParseError& e) override {
    events.push_back("fatal@" + std::to_string(e.line) + ": " + e.message.str());
    return S_OK;
  }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXDocumentHandler, CADIXMLSAXErrorHandler, CADBaseUnknown>(this, iid, out);
  }
};

struct Parsed {
  HRESULT hr;
  std::vector<std::string> events;
};

inline CADIXMLSAXParser_var NewParser(CADVar<RecordingHandler>& handler) {
  CADIXMLSAXFactory_var factory;
  EXPECT_EQ(CreateCADIXMLSAXFactory(factory), S_OK);
  CADIXMLSAXParser_var parser;
  EXPECT_EQ(factory->CreateParser(parser), S_OK);
  parser->SetDocumentHandler(handler);
  parser->SetErrorHandler(handler);
  return parser;
}

inline Parsed ParseText(std::string_view text, size_t pieceSize = 0) {
  auto handler = CADVar<RecordingHandler>::Adopt(new RecordingHandler);
  auto parser = NewParser(handler);
  HRESULT hr = parser->ParseText(text, pieceSize);
  return {hr, handler->events};
}

using Events = std::vector<std::string>;

inline std::string Joined(const Events& events) {
  std::string all;
  for (const std::string& e : events) all += (all.empty() ? "" : "|") + e;
  return all;
}

}  // namespace sax_recording

using namespace sax_recording;  // NOLINT: test-only helpers
