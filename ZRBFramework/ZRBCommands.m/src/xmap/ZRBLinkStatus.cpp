#include "ZRBLinkStatus.h"

#include <sys/stat.h>

ZRBLinkStatus ZRBLinkStatus::Of(const std::string& path) {
  ZRBLinkStatus status;
  struct stat info {};
  if (path.empty() || ::lstat(path.c_str(), &info) != 0) return status;
  status.exists = true;
  status.isRegular = S_ISREG(info.st_mode);
  status.isLink = S_ISLNK(info.st_mode);
  status.modTime = static_cast<std::int64_t>(info.st_mtime);
  status.size = static_cast<std::uint64_t>(info.st_size);
  return status;
}

ZRBLinkStatus ZRBLinkStatus::Of(const std::string& directory, const std::string& name) {
  if (directory.empty()) return Of(name);
  return Of(directory.back() == '/' ? directory + name : directory + "/" + name);
}
