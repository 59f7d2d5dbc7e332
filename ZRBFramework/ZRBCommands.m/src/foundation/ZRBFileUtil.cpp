#include "ZRBFileUtil.h"

#include <sys/stat.h>
#include <utime.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "CADDocument.h"
#include "CADILinkableObject.h"
#include "CADSystemServices.h"
#include "ZRBAfxBase.h"
#include "ZRBTrace.h"

CADUnicodeString ZRBFileUtil::GetFileNameFromPath(const CADUnicodeString& path) {
  CADUnicodeString directory, name;
  CADSplitPath(path, directory, name);
  return name;
}

CADUnicodeString ZRBFileUtil::GetDirPathFromFilePath(const CADUnicodeString& path, const int withSlash) {
  int slash = path.FindLast("/");
  if (slash < 0) return CADUnicodeString();
  return path.SubString(0, withSlash ? slash + 1 : slash);
}

CADUnicodeString ZRBFileUtil::GetExtension(const CADUnicodeString& path) {
  // Only the file name: a "." in a directory name is no extension.
  CADUnicodeString name = GetFileNameFromPath(path);
  int dot = name.FindLast(".");
  if (dot < 0) return CADUnicodeString();
  return name.SubString(dot + 1);
}

int ZRBFileUtil::HasExtension(const CADUnicodeString& path, const CADUnicodeString& ext) {
  return path.EndsWith("." + ext.str()) ? 1 : 0;
}

namespace {

// Blanks trimmed, "//" collapsed, one trailing "/" dropped.
CADUnicodeString CleanPathText(const CADUnicodeString& path) {
  CADUnicodeString text = path.Strip();
  while (text.ReplaceAll("//", "/") > 0) {
  }
  if (text.GetLength() > 1 && text.EndsWith("/")) text = text.SubString(0, text.GetLength() - 1);
  return text.Strip();
}

}  // namespace

HRESULT ZRBFileUtil::StripPath(CADUnicodeString& path) {
  CADUnicodeString text = CleanPathText(path);
  CADUnicodeString real;
  if (FAILED(CADGetRealPath(text, real))) {
    // A target that does not exist yet keeps its cleaned text.
    path = text;
    return E_FAIL;
  }
  path = CleanPathText(real);
  return S_OK;
}

HRESULT ZRBFileUtil::IsRegularFile(const CADUnicodeString& path, int* isRegular) {
  if (!isRegular) return E_FAIL;
  struct stat st {};
  *isRegular = !path.IsEmpty() && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? 1 : 0;
  return S_OK;
}

HRESULT ZRBFileUtil::GetModTimestampFromFile(const CADUnicodeString& path, long& seconds) {
  seconds = 0;
  struct stat st {};
  if (path.IsEmpty() || ::stat(path.c_str(), &st) != 0) return E_FAIL;
  seconds = static_cast<long>(st.st_mtime);
  return S_OK;
}

HRESULT ZRBFileUtil::GetLastModificationFromFile(const CADUnicodeString& path, CADUnicodeString& seconds) {
  seconds = CADUnicodeString();
  long value = 0;
  if (FAILED(GetModTimestampFromFile(path, value))) return E_FAIL;
  seconds = CADUnicodeString::BuildFromNum("%ld", value);
  return S_OK;
}

HRESULT ZRBFileUtil::SetLastModificationToFile(const CADUnicodeString& path, const CADUnicodeString& seconds) {
  ZRB_TRACE("ZRBFileUtil::SetLastModificationToFile");
  if (path.IsEmpty() || seconds.IsEmpty()) return E_FAIL;
  if (seconds.view().find_first_not_of("0123456789") != std::string_view::npos) return E_FAIL;
  errno = 0;
  char* end = nullptr;
  long long value = std::strtoll(seconds.c_str(), &end, 10);
  if (errno == ERANGE || !end || *end != '\0') return E_FAIL;
  int regular = 0;
  IsRegularFile(path, &regular);
  if (!regular) return E_FAIL;
  struct utimbuf times {};
  times.actime = static_cast<time_t>(value);
  times.modtime = static_cast<time_t>(value);
  if (::utime(path.c_str(), &times) != 0) {
    ZRB_DEBUG("**** failed to set DateTime");
    return E_FAIL;
  }
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBFileUtil::GetLastModificationFromProduct(const CADIProduct_var& product, CADUnicodeString& seconds) {
  seconds = CADUnicodeString();
  CADUnicodeString path;
  if (FAILED(GetFilePathFromCADIProduct(product, &path))) return E_FAIL;
  return GetLastModificationFromFile(path, seconds);
}

HRESULT ZRBFileUtil::PreparePaths(CADUnicodeString& from, CADUnicodeString& to, int& equal, int& sameIgnoringCase) {
  // The source must exist; the target may not exist yet, in which case its
  // cleaned text is compared.
  CADUnicodeString real;
  if (FAILED(CADGetRealPath(from, real))) {
    ZRB_DEBUG("pusOldFullPath = NULL");
    return E_FAIL;
  }
  from = real;
  StripPath(from);
  StripPath(to);
  ZRBAfxBase::CompareFullPath(from, to, equal, &sameIgnoringCase);
  return S_OK;
}

bool ZRBFileUtil::SettleWithoutCopy(CADUnicodeString& from, CADUnicodeString& to, HRESULT& result) {
  int equal = 0, sameIgnoringCase = 0;
  if (FAILED(PreparePaths(from, to, equal, sameIgnoringCase))) {
    result = E_FAIL;
    return true;
  }
  if (equal) {
    result = S_OK;
    return true;
  }
  if (!sameIgnoringCase) return false;
  result = CADRenameFile(from, to);
  if (FAILED(result)) ZRB_DEBUG(" CADRenameFile(%s) Failed", from.c_str());
  return true;
}

ZRBFileUtil::CopyRecorder ZRBFileUtil::copyRecorder_ = nullptr;

void ZRBFileUtil::SetCopyRecorder(CopyRecorder recorder) { copyRecorder_ = recorder; }

HRESULT ZRBFileUtil::CopyFile(const CADUnicodeString& fromPath, const CADUnicodeString& toPath) {
  ZRB_TRACE("ZRBFileUtil::CopyFile");
  CADUnicodeString from = fromPath, to = toPath;
  if (HRESULT settled = S_OK; SettleWithoutCopy(from, to, settled)) {
    if (SUCCEEDED(settled)) ZRB_TRACE_OK();
    return settled;
  }
  // The host copies into a temporary file beside the target and renames it
  // over the target: a failed copy leaves the old target as it was.
  HRESULT hr = CADFCopy(from, to, 1);
  if (FAILED(hr)) {
    ZRB_DEBUG("ZRB: could not copy file from %s to %s Error Code: %d", from.c_str(), to.c_str(),
              CADGetLastSystemError());
    return hr;
  }
  CADUnicodeString modTime;
  if (copyRecorder_ && SUCCEEDED(GetLastModificationFromFile(to, modTime))) copyRecorder_(to, modTime);
  ZRB_TRACE_OK();
  return hr;
}

HRESULT ZRBFileUtil::MoveFile(const CADUnicodeString& fromPath, const CADUnicodeString& toPath) {
  ZRB_TRACE("ZRBFileUtil::MoveFile");
  CADUnicodeString from = fromPath, to = toPath;
  if (HRESULT settled = S_OK; SettleWithoutCopy(from, to, settled)) {
    if (SUCCEEDED(settled)) ZRB_TRACE_OK();
    return settled;
  }
  // rename(2) replaces the target in one step; across file systems the host
  // copy does the same through a temporary file, and only then does the
  // source go.
  if (SUCCEEDED(CADRenameFile(from, to))) {
    ZRB_TRACE_OK();
    return S_OK;
  }
  int error = CADGetLastSystemError();
  if (error == EXDEV) {
    if (SUCCEEDED(CADFCopy(from, to, 1)) && SUCCEEDED(CADDeleteFile(from))) {
      ZRB_TRACE_OK();
      return S_OK;
    }
    error = CADGetLastSystemError();
  }
  ZRB_DEBUG("ZRB: could not rename file from %s to %s Error Code: %d", from.c_str(), to.c_str(), error);
  return E_FAIL;
}

HRESULT ZRBFileUtil::GetRefDocFromCADIProduct(const CADIProduct_var& product, CADDocument** document) {
  if (!document) return E_FAIL;
  *document = nullptr;
  if (!product) return E_FAIL;
  CADIProduct_var reference = product->GetReferenceProduct();
  CADILinkableObject_var linkable = reference ? reference : product;
  if (!linkable) return E_FAIL;
  *document = linkable->GetDocument();
  return *document ? S_OK : E_FAIL;
}

HRESULT ZRBFileUtil::GetFilePathFromCADIProduct(const CADIProduct_var& product, CADUnicodeString* path) {
  if (!path) return E_FAIL;
  *path = CADUnicodeString();
  CADDocument* document = nullptr;
  if (FAILED(GetRefDocFromCADIProduct(product, &document))) return E_FAIL;
  *path = document->StorageName();
  return S_OK;
}

HRESULT ZRBFileUtil::GetFileNameFromCADIProduct(const CADIProduct_var& product, CADUnicodeString* name) {
  if (!name) return E_FAIL;
  CADUnicodeString path;
  HRESULT hr = GetFilePathFromCADIProduct(product, &path);
  *name = SUCCEEDED(hr) ? GetFileNameFromPath(path) : CADUnicodeString();
  return hr;
}

void ZRBFileUtil::DeleteTemporaryFile(const CADUnicodeString& path) {
  if (path.IsEmpty()) return;
  if (SUCCEEDED(CADFileAccess(path, CADFileExists)) && FAILED(CADDeleteFile(path)))
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", path.c_str());
}

void ZRBFileUtil::DeleteTemporaryFiles(CADListValCADUnicodeString& paths) {
  for (const auto& path : paths) DeleteTemporaryFile(path);
  paths.RemoveAll();
}
