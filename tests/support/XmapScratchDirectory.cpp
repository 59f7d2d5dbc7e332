#include "XmapScratchDirectory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ZRBConfigTopicManager.h"

namespace fs = std::filesystem;

XmapScratchDirectory::XmapScratchDirectory() {
  std::string pattern = (fs::temp_directory_path() / "zrbxmap.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
}

XmapScratchDirectory::~XmapScratchDirectory() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::string XmapScratchDirectory::Path(std::string_view relative) const {
  return relative.empty() ? root_ : root_ + "/" + std::string(relative);
}

std::string XmapScratchDirectory::MakeDirectory(std::string_view relative) const {
  fs::create_directories(Path(relative));
  return Path(relative);
}

std::string XmapScratchDirectory::Write(std::string_view relative, std::string_view text) const {
  const std::string path = Path(relative);
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  return path;
}

std::string XmapScratchDirectory::WriteSized(std::string_view relative, std::uint64_t bytes) const {
  const std::string path = Write(relative, "");
  if (::truncate(path.c_str(), static_cast<off_t>(bytes)) != 0) throw std::runtime_error("truncate failed");
  return path;
}

void XmapScratchDirectory::SetModTime(std::string_view relative, std::int64_t secondsSince1970) const {
  const std::string path = Path(relative);
  struct timespec times[2] = {{static_cast<time_t>(secondsSince1970), 0}, {static_cast<time_t>(secondsSince1970), 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

std::string XmapScratchDirectory::Symlink(std::string_view relative, const std::string& target) const {
  const std::string path = Path(relative);
  fs::create_directories(fs::path(path).parent_path());
  fs::create_symlink(target, path);
  return path;
}

bool XmapScratchDirectory::Exists(std::string_view relative) const {
  struct stat info {};
  return ::lstat(Path(relative).c_str(), &info) == 0;
}

std::string XmapScratchDirectory::Read(std::string_view relative) const {
  std::ifstream in(Path(relative), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> XmapScratchDirectory::List(std::string_view relative) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Path(relative))) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

XmapScopedVariable::XmapScopedVariable(const char* name, const char* value) : name_(name) {
  if (const char* old = g_ZRBConfig.GetEnvVar(name, 1)) {
    hadValue_ = true;
    oldValue_ = old;
  }
  g_ZRBConfig.ChangeEnvVar(name, value, 1);
}

XmapScopedVariable::~XmapScopedVariable() {
  g_ZRBConfig.ChangeEnvVar(name_.c_str(), hadValue_ ? oldValue_.c_str() : nullptr, 1);
}
