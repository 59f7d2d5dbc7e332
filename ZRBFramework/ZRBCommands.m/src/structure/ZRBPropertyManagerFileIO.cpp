#include "ZRBPropertyManagerFileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "ZRBTrace.h"

namespace {
bool WriteAll(int fd, std::string_view content) {
  const char* data = content.data();
  size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}
}  // namespace

int ZRBPropertyManagerFileIO::WriteWhole(const CADUnicodeString& path, std::string_view content) {
  if (path.IsEmpty()) return 0;
  // mkstemp creates the file exclusively (O_EXCL), so nothing planted in
  // its place is ever opened; the rename then replaces whatever stands at
  // `path`, a symbolic link included, without following it.
  std::string pattern = path.str() + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) {
    ZRB_DEBUG("ZRB: could not create a temporary file beside %s", path.c_str());
    return 0;
  }
  bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && std::rename(name.data(), path.c_str()) != 0) ok = false;
  if (!ok) {
    ZRB_DEBUG("ZRB: could not write %s", path.c_str());
    ::unlink(name.data());
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
