// Where the exchange map is.
#include "CADSystemServices.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"

int ZRBAfxBase::GetXMap(CADUnicodeString& path) {
  const char* value = g_ZRBConfig.GetEnvVar("ZRBXMAP", 1);
  // An empty value names no directory; taken as it is, it would put the
  // exchange map at the root of the file system.
  const int set = value && *value ? 1 : 0;
  if (set) {
    path = CADUnicodeString(value);
  } else {
    ZRB_DEBUG("ZRB: ZRBXMAP environment variable not set");
    CADGetTempDirectory(path);
  }
  // "/" alone stays the root rather than becoming "".
  if (path.GetLength() > 1 && path.EndsWith("/")) path = path.SubString(0, path.GetLength() - 1);
  ZRB_DEBUG("ZRB: Exchangemap set to %s", path.c_str());
  return set;
}

int ZRBAfxBase::GetXMapWithEndingSlash(CADUnicodeString& path) {
  const int set = GetXMap(path);
  if (!path.EndsWith("/")) path += "/";
  return set;
}
