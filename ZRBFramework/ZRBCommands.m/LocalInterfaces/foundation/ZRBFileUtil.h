// File helpers with the module's conventions: names and extensions of paths,
// modification times, copy and move that never lose the target, and the
// file behind a product.
#pragma once

#include "CADBaseTypes.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class CADDocument;

class ZRBFileUtil {
 public:
  // --- path parts
  // The file part of the path.
  static CADUnicodeString GetFileNameFromPath(const CADUnicodeString& path);
  // Text before the last "/" (with the "/" when withSlash is non-zero); "" without a "/".
  static CADUnicodeString GetDirPathFromFilePath(const CADUnicodeString& path, const int withSlash);
  // Text after the last "." of the file-name part; "" when there is none.
  static CADUnicodeString GetExtension(const CADUnicodeString& path);
  // 1 when the path ends with "." followed by ext (case-sensitive).
  static int HasExtension(const CADUnicodeString& path, const CADUnicodeString& ext);
  // The real path with "//" collapsed, one trailing "/" dropped and blanks
  // trimmed. When the real path cannot be obtained (a target that does not
  // exist yet) the given text is cleaned the same way and E_FAIL returned.
  static HRESULT StripPath(CADUnicodeString& path);

  // --- file state
  // *isRegular is 1 for a regular file (not through a symbolic link), else 0.
  static HRESULT IsRegularFile(const CADUnicodeString& path, int* isRegular);
  // Modification time in seconds since 1970; 0 and E_FAIL when the file cannot be examined.
  static HRESULT GetModTimestampFromFile(const CADUnicodeString& path, long& seconds);
  // The same as decimal text; "" on failure.
  static HRESULT GetLastModificationFromFile(const CADUnicodeString& path, CADUnicodeString& seconds);
  // Sets access and modification time of an existing regular file to the
  // decimal seconds given.
  static HRESULT SetLastModificationToFile(const CADUnicodeString& path, const CADUnicodeString& seconds);
  static HRESULT GetLastModificationFromProduct(const CADIProduct_var& product, CADUnicodeString& seconds);

  // --- copy and move (no shell; the target is replaced only by complete content)
  // A completed copy is reported to the copy recorder with the copy's modification time.
  static HRESULT CopyFile(const CADUnicodeString& from, const CADUnicodeString& to);
  static HRESULT MoveFile(const CADUnicodeString& from, const CADUnicodeString& to);
  // Who learns of every completed copy; the property manager installs itself at load. nullptr: nobody.
  using CopyRecorder = void (*)(const CADUnicodeString& copy, const CADUnicodeString& modificationTime);
  static void SetCopyRecorder(CopyRecorder recorder);

  // --- the file behind a product
  // The document of the product's reference; the session keeps it (no reference added).
  static HRESULT GetRefDocFromCADIProduct(const CADIProduct_var& product, CADDocument** document);
  static HRESULT GetFilePathFromCADIProduct(const CADIProduct_var& product, CADUnicodeString* path);
  static HRESULT GetFileNameFromCADIProduct(const CADIProduct_var& product, CADUnicodeString* name);

  // --- temporary files
  // Deletes the file, if present.
  static void DeleteTemporaryFile(const CADUnicodeString& path);
  // Deletes every file of the list and empties it.
  static void DeleteTemporaryFiles(CADListValCADUnicodeString& paths);

  // --- names of the vis files the host's local cache keeps
  // The part of a cached vis file's name that stamps it with the model file's modification time
  // (".%Y-%m-%d-%H.%M.%S" in the time mode); "" when the model cannot be examined.
  static CADUnicodeString GetVisTimeStamp(const CADUnicodeString& modelPath, int timeMode);
  // The vis path with the model file's modification time inserted before its
  // last ".vis" (".%Y-%m-%d-%H.%M.%S" in the time mode: 0 local, 1 UTC).
  static HRESULT GetVisFileNameInCacheDir(const CADString& visPath, const CADUnicodeString& modelPath,
                                          const int daylight, const int timeMode, CADUnicodeString& name);
  // Renames a readable vis file to that name (replacing a file of that name);
  // E_FAIL only when the name cannot be computed.
  static HRESULT RenameVisFileInCacheDir(const CADString& visPath, const CADUnicodeString& modelPath,
                                         const int daylight, const int timeMode, CADUnicodeString& name);
 private:
  static CopyRecorder copyRecorder_;
  // Resolves and cleans both paths and settles what needs no copying: the same file (nothing to do) and a name
  // that differs only in case (a rename). True when `result` is final.
  static bool SettleWithoutCopy(CADUnicodeString& from, CADUnicodeString& to, HRESULT& result);
  // Resolves `from` and cleans both; 1 when there is nothing to do.
  static HRESULT PreparePaths(CADUnicodeString& from, CADUnicodeString& to, int& equal, int& sameIgnoringCase);
};
