// The object modeler's document services for callers that bind them at run
// time: document identifiers from a path, resetting broken links, and the
// identifiers of the link interfaces.
#include "CADBaseUnknown.h"
#include "CADDocumentServices.h"
#include "CADUnicodeString.h"
#include "CADUuid.h"

class CADDocument;

#define CAD_EXPORT __attribute__((visibility("default")))

CAD_EXPORT extern const CADIID IID_CADIPointedSymbols;
CAD_EXPORT extern const CADIID IID_CADIExternalLinks;
CAD_EXPORT extern const CADIID IID_CADIExternalLink;
const CADIID IID_CADIPointedSymbols{"IID_CADIPointedSymbols"};
const CADIID IID_CADIExternalLinks{"IID_CADIExternalLinks"};
const CADIID IID_CADIExternalLink{"IID_CADIExternalLink"};

// Links of this host are resolved when a document is opened; there is
// nothing left to reset, but a document is required.
CAD_EXPORT HRESULT CADResetDocumentBrokenLinks(CADDocument* document) { return document ? S_OK : E_FAIL; }

CAD_EXPORT HRESULT CADGetIdentifierFromPath(const CADUnicodeString& path, CADUuid& uuid) {
  return CADDocumentServices::GetIdentifierOfFile(path, uuid);
}

// A document file of this host has one container, so its root container's
// identifier is the file's.
CAD_EXPORT HRESULT GetRootContainerUUIDFromPath(const CADUnicodeString& path, CADUuid& uuid) {
  return CADDocumentServices::GetIdentifierOfFile(path, uuid);
}
