#include "ZRBLocalSessionFiles.h"

#include <stdlib.h>
#include <unistd.h>

#include "CADSystemServices.h"

namespace ZRBLocalSessionFiles {

std::string RealPath(const std::string& path) {
  CADUnicodeString real;
  return SUCCEEDED(CADGetRealPath(CADUnicodeString(path), real)) ? real.str() : path;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

PrivateDirectory::PrivateDirectory(const std::string& parent, const char* prefix) {
  std::string pattern = parent + "/" + prefix + ".XXXXXX";
  if (mkdtemp(pattern.data())) path_ = pattern;
}

PrivateDirectory::~PrivateDirectory() {
  if (path_.empty()) return;
  CADListValCADUnicodeString names;
  if (SUCCEEDED(CADListDirectory(CADUnicodeString(path_), names)))
    for (const auto& name : names) CADDeleteFile(CADUnicodeString(path_ + "/" + name.str()));
  rmdir(path_.c_str());
}

}  // namespace ZRBLocalSessionFiles
