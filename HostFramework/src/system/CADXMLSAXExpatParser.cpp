#include "CADXMLSAXExpatParser.h"

#include <expat.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "CADXMLSAXAttributes.h"
#include "CADXMLSAXTextCollector.h"

namespace {

// One parse: owns the expat parser and routes its callbacks to the handlers.
// Callbacks must not let an exception unwind through expat's C frames, so
// each one catches, stops the parser and reports.
class ExpatRun {
 public:
  ExpatRun(CADIXMLSAXDocumentHandler* document, CADIXMLSAXErrorHandler* errors, std::string systemId)
      : document_(document),
        errors_(errors),
        systemId_(std::move(systemId)),
        parser_(XML_ParserCreate(nullptr)),
        attributes_(CADVar<CADXMLSAXAttributes>::Adopt(new CADXMLSAXAttributes)) {}

  // Feeds one piece; false once the parse has failed.
  bool Feed(const char* data, size_t length, bool last) {
    if (!parser_) return Fail("out of memory creating the XML parser");
    if (!started_) {
      started_ = true;
      Configure();
      if (!Deliver([&] { return document_ ? document_->StartDocument() : S_OK; })) return false;
    }
    while (true) {
      // XML_Parse takes an int length: large pieces go in slices.
      size_t slice = length > kMaxSlice ? kMaxSlice : length;
      bool final = last && slice == length;
      if (XML_Parse(parser_.get(), data, static_cast<int>(slice), final ? XML_TRUE : XML_FALSE) == XML_STATUS_ERROR) {
        if (!failed_) ReportExpatError();
        return false;
      }
      if (failed_) return false;
      data += slice;
      length -= slice;
      if (length == 0) break;
    }
    if (last) return Deliver([&] { return document_ ? document_->EndDocument() : S_OK; });
    return true;
  }

  // Reports a problem found outside expat (an unreadable file) as fatal.
  bool Fail(const std::string& message) {
    failed_ = true;
    ReportFatal(message, 0, 0);
    return false;
  }

 private:
  static constexpr size_t kMaxSlice = 1u << 30;

  struct ParserDeleter {
    void operator()(XML_Parser p) const { XML_ParserFree(p); }
  };

  void Configure() {
    XML_Parser p = parser_.get();
    XML_SetUserData(p, this);
    // Never read the external DTD or parameter entities: the parser stays
    // non-validating and never touches a file or URL named by the document.
    XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetElementHandler(p, &ExpatRun::OnStart, &ExpatRun::OnEnd);
    XML_SetCharacterDataHandler(p, &ExpatRun::OnText);
    XML_SetProcessingInstructionHandler(p, &ExpatRun::OnInstruction);
    XML_SetSkippedEntityHandler(p, &ExpatRun::OnSkippedEntity);
  }

  static ExpatRun& Self(void* userData) { return *static_cast<ExpatRun*>(userData); }

  static void XMLCALL OnStart(void* userData, const XML_Char* name, const XML_Char** atts) {
    ExpatRun& run = Self(userData);
    run.Guard([&] {
      if (!run.FlushBeforeMarkup()) return false;
      run.text_.OpenElement();
      run.attributes_->Assign(atts);
      CADUnicodeString elementName(name);
      return run.Deliver(
          [&] { return run.document_ ? run.document_->StartElement(elementName, *run.attributes_) : S_OK; });
    });
  }

  static void XMLCALL OnEnd(void* userData, const XML_Char* name) {
    ExpatRun& run = Self(userData);
    run.Guard([&] {
      std::string pending;
      auto kind = run.text_.TakeAtElementEnd(pending);
      if (!run.DeliverRun(kind, pending)) return false;
      CADUnicodeString elementName(name);
      return run.Deliver([&] { return run.document_ ? run.document_->EndElement(elementName) : S_OK; });
    });
  }

  static void XMLCALL OnText(void* userData, const XML_Char* text, int length) {
    ExpatRun& run = Self(userData);
    if (length > 0) run.text_.Append(std::string_view(text, static_cast<size_t>(length)));
  }

  static void XMLCALL OnInstruction(void* userData, const XML_Char* target, const XML_Char* data) {
    ExpatRun& run = Self(userData);
    run.Guard([&] {
      if (!run.FlushBeforeMarkup()) return false;
      CADUnicodeString t(target), d(data ? data : "");
      return run.Deliver([&] { return run.document_ ? run.document_->ProcessingInstruction(t, d) : S_OK; });
    });
  }

  static void XMLCALL OnSkippedEntity(void* userData, const XML_Char* name, int isParameterEntity) {
    ExpatRun& run = Self(userData);
    run.Guard([&] {
      if (!run.errors_) return true;
      std::string message = std::string("entity ") + (isParameterEntity ? "%" : "&") + name +
                            "; is declared outside the document and was left out";
      CADXMLSAXParseError error{message, run.systemId_, run.Line(), run.Column()};
      return run.Deliver([&] { return run.errors_->Warning(error); });
    });
  }

  bool FlushBeforeMarkup() {
    std::string pending;
    auto kind = text_.TakeBeforeMarkup(pending);
    return DeliverRun(kind, pending);
  }

  bool DeliverRun(CADXMLSAXTextCollector::RunKind kind, const std::string& run) {
    if (kind == CADXMLSAXTextCollector::RunKind::None || !document_) return true;
    CADUnicodeString text(run);
    if (kind == CADXMLSAXTextCollector::RunKind::Whitespace)
      return Deliver([&] { return document_->IgnorableWhitespace(text); });
    return Deliver([&] { return document_->Characters(text); });
  }

  // Runs a handler call; a failing result stops the parse without a report
  // (the handler knows why it refused).
  template <class Call>
  bool Deliver(Call&& call) {
    if (failed_) return false;
    if (FAILED(call())) {
      Stop();
      return false;
    }
    return true;
  }

  template <class Body>
  void Guard(Body&& body) {
    if (failed_) return;
    try {
      body();
    } catch (const std::exception& e) {
      Stop();
      ReportFatal(std::string("handler failed: ") + e.what(), Line(), Column());
    } catch (...) {
      Stop();
      ReportFatal("handler failed", Line(), Column());
    }
  }

  void Stop() {
    if (failed_) return;
    failed_ = true;
    if (parser_) XML_StopParser(parser_.get(), XML_FALSE);
  }

  void ReportExpatError() {
    failed_ = true;
    XML_Parser p = parser_.get();
    ReportFatal(XML_ErrorString(XML_GetErrorCode(p)), Line(), Column());
  }

  void ReportFatal(const std::string& message, int line, int column) {
    if (!errors_) return;
    CADXMLSAXParseError error{message, systemId_, line, column};
    try {
      errors_->FatalError(error);
    } catch (...) {
      // The parse has already failed; a throwing error handler changes nothing.
    }
  }

  int Line() const { return parser_ ? static_cast<int>(XML_GetCurrentLineNumber(parser_.get())) : 0; }
  int Column() const { return parser_ ? static_cast<int>(XML_GetCurrentColumnNumber(parser_.get())) + 1 : 0; }

  CADIXMLSAXDocumentHandler* document_;
  CADIXMLSAXErrorHandler* errors_;
  std::string systemId_;
  std::unique_ptr<XML_ParserStruct, ParserDeleter> parser_;
  CADVar<CADXMLSAXAttributes> attributes_;
  CADXMLSAXTextCollector text_;
  bool started_ = false;
  bool failed_ = false;
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

HRESULT CADXMLSAXExpatParser::SetDocumentHandler(const CADIXMLSAXDocumentHandler_var& handler) {
  documentHandler_ = handler;
  return S_OK;
}

HRESULT CADXMLSAXExpatParser::SetErrorHandler(const CADIXMLSAXErrorHandler_var& handler) {
  errorHandler_ = handler;
  return S_OK;
}

HRESULT CADXMLSAXExpatParser::Parse(const CADUnicodeString& path) {
  // Keep the handlers alive for the whole parse, even if a callback resets ours.
  CADIXMLSAXDocumentHandler_var document = documentHandler_;
  CADIXMLSAXErrorHandler_var errors = errorHandler_;
  ExpatRun run(document.get(), errors.get(), path.str());
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    run.Fail("cannot open the file");
    return E_FAIL;
  }
  std::vector<char> buffer(64 * 1024);
  while (true) {
    size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (got < buffer.size() && std::ferror(file.get())) {
      run.Fail("cannot read the file");
      return E_FAIL;
    }
    bool last = got < buffer.size() && std::feof(file.get());
    if (!run.Feed(buffer.data(), got, last)) return E_FAIL;
    if (last) return S_OK;
  }
}

HRESULT CADXMLSAXExpatParser::ParseText(std::string_view text, std::size_t pieceSize) {
  CADIXMLSAXDocumentHandler_var document = documentHandler_;
  CADIXMLSAXErrorHandler_var errors = errorHandler_;
  ExpatRun run(document.get(), errors.get(), std::string());
  if (pieceSize == 0 || pieceSize >= text.size()) return run.Feed(text.data(), text.size(), true) ? S_OK : E_FAIL;
  for (size_t at = 0; at < text.size(); at += pieceSize) {
    size_t length = std::min(pieceSize, text.size() - at);
    if (!run.Feed(text.data() + at, length, at + length == text.size())) return E_FAIL;
  }
  return S_OK;
}
