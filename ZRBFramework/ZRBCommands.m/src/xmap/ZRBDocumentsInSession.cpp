#include "ZRBDocumentsInSession.h"

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADSystemServices.h"

ZRBDocumentsInSession::ZRBDocumentsInSession() {
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(item);
    if (!document) continue;
    const CADUnicodeString& storage = document->StorageName();
    paths_.insert(storage.str());
    CADUnicodeString real;
    if (SUCCEEDED(CADGetRealPath(storage, real))) paths_.insert(real.str());
  }
}

int ZRBDocumentsInSession::Contains(const CADUnicodeString& path) const {
  if (paths_.count(path.str())) return 1;
  CADUnicodeString real;
  return SUCCEEDED(CADGetRealPath(path, real)) && paths_.count(real.str()) ? 1 : 0;
}
