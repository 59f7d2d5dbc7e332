#pragma once
// Paths and the private scratch directory that saving and restoring a local session share.

#include <string>

namespace ZRBLocalSessionFiles {

std::string RealPath(const std::string& path);     // the path with links resolved, or itself
std::string DirectoryOf(const std::string& path);  // "." for a bare name, "/" for the root
std::string BaseName(const std::string& path);

// A directory with a fresh name and mode 0700 inside `parent`: nothing can be planted in it, and moving out of it
// stays on one file system. Removed with its files when it goes.
class PrivateDirectory {
 public:
  PrivateDirectory(const std::string& parent, const char* prefix);
  ~PrivateDirectory();
  PrivateDirectory(const PrivateDirectory&) = delete;
  PrivateDirectory& operator=(const PrivateDirectory&) = delete;
  const std::string& Path() const { return path_; }  // empty when it could not be made

 private:
  std::string path_;
};

}  // namespace ZRBLocalSessionFiles
