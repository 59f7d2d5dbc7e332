#include "ZRBPropertyManagerFileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "ZRBReplacingFile.h"
#include "ZRBTrace.h"

int ZRBPropertyManagerFileIO::WriteWhole(const CADUnicodeString& path, std::string_view content) {
  if (path.IsEmpty()) return 0;
  std::string error;
  if (!ZRBReplacingFile::WriteWhole(path.view(), content, 0644, true, &error)) {
    ZRB_DEBUG("ZRB: could not write %s: %s", path.c_str(), error.c_str());
    return 0;
  }
  return 1;
}

int ZRBPropertyManagerFileIO::IsOwnRegularFile(const CADUnicodeString& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return 0;
  return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() ? 1 : 0;
}

int ZRBPropertyManagerFileIO::Exists(const CADUnicodeString& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? 1 : 0;
}
