// Identifiers of host documents: the one a file stores, the fallback for files
// that store none, and fresh ones for new documents.
#pragma once

#include "CADBaseTypes.h"
#include "CADUnicodeString.h"
#include "CADUuid.h"

class CADDocumentIdentity {
 public:
  // The identifier of the document file at `path`: the stored one, else one
  // derived from the file's real path (files written before documents carried
  // an identifier keep the one they always answered). E_FAIL for a path that
  // is no regular file.
  static HRESULT OfFile(const CADUnicodeString& path, CADUuid& uuid);
  // The path-derived identifier alone.
  static HRESULT FromRealPath(const CADUnicodeString& path, CADUuid& uuid);
  // A new document's identifier: derived from its first path and a counter of
  // this process, so runs of a test repeat it and two new documents differ.
  static CADUuid Fresh(const CADUnicodeString& path);
};
