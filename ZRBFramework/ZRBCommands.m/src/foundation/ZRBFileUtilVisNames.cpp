// ZRBFileUtil: the names under which the host's local cache keeps vis files.
#include "CADSystemServices.h"
#include "CADTime.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"

CADUnicodeString ZRBFileUtil::GetVisTimeStamp(const CADUnicodeString& modelPath, int timeMode) {
  long seconds = 0;
  if (FAILED(GetModTimestampFromFile(modelPath, seconds))) return CADUnicodeString();
  return CADTime(static_cast<std::time_t>(seconds)).ConvertToString(".%Y-%m-%d-%H.%M.%S", timeMode);
}

HRESULT ZRBFileUtil::GetVisFileNameInCacheDir(const CADString& visPath, const CADUnicodeString& modelPath,
                                              const int /*daylight: the host's time class applies it*/,
                                              const int timeMode, CADUnicodeString& name) {
  name = CADUnicodeString();
  int at = visPath.FindLast(".vis");
  if (at < 0) return E_FAIL;
  CADUnicodeString stamp = GetVisTimeStamp(modelPath, timeMode);
  if (stamp.IsEmpty()) return E_FAIL;
  name = CADUnicodeString(visPath.SubString(0, at).str()) + stamp + CADUnicodeString(visPath.SubString(at).str());
  return S_OK;
}

HRESULT ZRBFileUtil::RenameVisFileInCacheDir(const CADString& visPath, const CADUnicodeString& modelPath,
                                             const int daylight, const int timeMode, CADUnicodeString& name) {
  ZRB_TRACE("ZRBFileUtil::RenameVisFileInCacheDir");
  if (FAILED(GetVisFileNameInCacheDir(visPath, modelPath, daylight, timeMode, name))) return E_FAIL;
  CADUnicodeString from(visPath);
  if (FAILED(CADFileAccess(from, CADFileRead))) {
    ZRB_TRACE_OK();
    return S_OK;
  }
  if (SUCCEEDED(CADFileAccess(name, CADFileExists)) && FAILED(CADDeleteFile(name)))
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", name.c_str());
  if (FAILED(CADFileAccess(name, CADFileExists)) && FAILED(CADRenameFile(from, name)))
    ZRB_DEBUG(" CADRenameFile(%s) Failed", from.c_str());
  ZRB_TRACE_OK();
  return S_OK;
}
