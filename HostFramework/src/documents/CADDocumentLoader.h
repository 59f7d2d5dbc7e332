// Brings documents into the session: opens files (and the files they link
// to), binds unloaded references to their files, creates new documents, and
// resolves links like the host does (same directory first, then the search
// path). A failed open leaves the session as it was.
#pragma once

#include "CADBaseTypes.h"
#include "CADUnicodeString.h"

class CADDocument;
class CADProductNode;

class CADDocumentLoader {
 public:
  static HRESULT Open(const CADUnicodeString& path, int readOnly, CADDocument*& document);
  // Loads the file an unloaded reference stands for; the reference becomes
  // that file's root product (so every instance of it shows the content).
  static HRESULT BindUnloaded(CADProductNode* reference);
  // A new empty document of `type`; a part or product gets a root product
  // whose part number is `partNumber` (or a free default when empty).
  static HRESULT CreateNew(const CADUnicodeString& type, const CADUnicodeString& partNumber, CADDocument*& document);
  // Where a link written in a file that lies in `fromDirectory` points: ""
  // when nothing is found.
  static CADUnicodeString ResolveLink(const CADUnicodeString& written, const CADUnicodeString& fromDirectory);
  // Absolute form of a path (relative ones against the current directory),
  // without resolving symbolic links.
  static CADUnicodeString Absolute(const CADUnicodeString& path);
};
