#include "ZRBSAXErrorHandler.h"

#include "ZRBTrace.h"

namespace {
void TraceProblem(const char* kind, const CADXMLSAXParseError& error) {
  ZRB_DEBUG("ZRB: %s in %s line %d column %d: %s", kind, error.systemId.c_str(), error.line, error.column,
            error.message.c_str());
}
}  // namespace

HRESULT ZRBSAXErrorHandler::Warning(const CADXMLSAXParseError& error) {
  TraceProblem("XML warning", error);
  return S_OK;
}

HRESULT ZRBSAXErrorHandler::Error(const CADXMLSAXParseError& error) {
  TraceProblem("XML error", error);
  return S_OK;
}

HRESULT ZRBSAXErrorHandler::FatalError(const CADXMLSAXParseError& error) {
  fatal_ = true;
  TraceProblem("XML fatal error", error);
  return S_OK;
}
