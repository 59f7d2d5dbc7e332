#include "CADSystemServices.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

thread_local int t_lastError = 0;

// Records errno of the call that just failed.
HRESULT FailWithErrno() {
  t_lastError = errno;
  return E_FAIL;
}

HRESULT FailWith(int error) {
  t_lastError = error;
  return E_FAIL;
}

std::atomic<int> g_osOverride{-1};

// Closes a descriptor on scope exit.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports a failing close (a full disk may show only here).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, size_t length) {
  while (length > 0) {
    ssize_t n = ::write(fd, data, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

HRESULT CADGetEnvValue(std::string_view name, CADUnicodeString& value) {
  value = CADUnicodeString();
  if (name.empty() || name.find('=') != std::string_view::npos) return FailWith(EINVAL);
  const char* found = std::getenv(std::string(name).c_str());
  if (!found) return FailWith(ENOENT);
  value = CADUnicodeString(found);
  return S_OK;
}

HRESULT CADGetLoginName(CADUnicodeString& name) {
  name = CADUnicodeString();
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* result = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_name &&
      *result->pw_name) {
    name = CADUnicodeString(result->pw_name);
    return S_OK;
  }
  for (const char* variable : {"LOGNAME", "USER"}) {
    const char* value = std::getenv(variable);
    if (value && *value) {
      name = CADUnicodeString(value);
      return S_OK;
    }
  }
  return FailWith(ENOENT);
}

HRESULT CADGetTempDirectory(CADUnicodeString& directory) {
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = tmp && *tmp ? tmp : "/tmp";
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  directory = CADUnicodeString(dir);
  return S_OK;
}

CADUnicodeString CADMakePath(const CADUnicodeString& directory, const CADUnicodeString& name) {
  if (directory.IsEmpty()) return name;
  if (name.IsEmpty()) return directory;
  bool dirSlash = directory.EndsWith("/");
  bool nameSlash = name.StartsWith("/");
  if (dirSlash && nameSlash) return directory + name.SubString(1);
  if (dirSlash || nameSlash) return directory + name;
  return directory + "/" + name;
}

void CADSplitPath(const CADUnicodeString& path, CADUnicodeString& directory, CADUnicodeString& name) {
  int slash = path.FindLast("/");
  if (slash < 0) {
    directory = CADUnicodeString();
    name = path;
    return;
  }
  CADUnicodeString dir = slash == 0 ? CADUnicodeString("/") : path.SubString(0, slash);
  name = path.SubString(slash + 1);
  directory = dir;
}

HRESULT CADGetRealPath(const CADUnicodeString& path, CADUnicodeString& realPath) {
  realPath = CADUnicodeString();
  if (path.IsEmpty()) return FailWith(ENOENT);
  struct Freer {
    void operator()(char* p) const { std::free(p); }
  };
  std::unique_ptr<char, Freer> resolved(::realpath(path.c_str(), nullptr));
  if (!resolved) return FailWithErrno();
  realPath = CADUnicodeString(resolved.get());
  return S_OK;
}

HRESULT CADFileAccess(const CADUnicodeString& path, int mode) {
  if (path.IsEmpty()) return FailWith(ENOENT);
  if (mode < 0 || mode > 7) return FailWith(EINVAL);
  int flags = 0;
  if (mode & CADFileRead) flags |= R_OK;
  if (mode & CADFileWrite) flags |= W_OK;
  if (mode & CADFileExecute) flags |= X_OK;
  if (::access(path.c_str(), mode == 0 ? F_OK : flags) != 0) return FailWithErrno();
  return S_OK;
}

HRESULT CADFCopy(const CADUnicodeString& from, const CADUnicodeString& to, int overwrite) {
  if (from.IsEmpty() || to.IsEmpty()) return FailWith(ENOENT);
  FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!source.valid()) return FailWithErrno();
  struct stat sourceStat {};
  if (::fstat(source.get(), &sourceStat) != 0) return FailWithErrno();
  if (!S_ISREG(sourceStat.st_mode)) return FailWith(S_ISDIR(sourceStat.st_mode) ? EISDIR : EINVAL);
  struct stat targetStat {};
  if (::lstat(to.c_str(), &targetStat) == 0) {
    if (!overwrite) return FailWith(EEXIST);
    if (S_ISDIR(targetStat.st_mode)) return FailWith(EISDIR);
  }

  CADUnicodeString directory, name;
  CADSplitPath(to, directory, name);
  if (directory.IsEmpty()) directory = ".";
  std::string pattern = CADMakePath(directory, CADUnicodeString("." + name.str() + ".copy.XXXXXX")).str();
  std::vector<char> tempName(pattern.begin(), pattern.end());
  tempName.push_back('\0');
  FileDescriptor target(::mkostemp(tempName.data(), O_CLOEXEC));
  if (!target.valid()) return FailWithErrno();
  auto discard = [&](int error) {
    ::unlink(tempName.data());
    return FailWith(error);
  };

  std::vector<char> buffer(1 << 16);
  while (true) {
    ssize_t got = ::read(source.get(), buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return discard(errno);
    }
    if (got == 0) break;
    if (!WriteAll(target.get(), buffer.data(), static_cast<size_t>(got))) return discard(errno);
  }
  if (::fchmod(target.get(), sourceStat.st_mode & 07777) != 0) return discard(errno);
  if (!target.Close()) return discard(errno);
  if (!overwrite) {
    // link(2) refuses an existing name, so a file appearing meanwhile is kept.
    if (::link(tempName.data(), to.c_str()) != 0) return discard(errno);
    ::unlink(tempName.data());
    return S_OK;
  }
  if (::rename(tempName.data(), to.c_str()) != 0) return discard(errno);
  return S_OK;
}

HRESULT CADDeleteFile(const CADUnicodeString& path) {
  if (path.IsEmpty()) return FailWith(ENOENT);
  if (::unlink(path.c_str()) != 0) return FailWithErrno();
  return S_OK;
}

HRESULT CADRenameFile(const CADUnicodeString& from, const CADUnicodeString& to) {
  if (from.IsEmpty() || to.IsEmpty()) return FailWith(ENOENT);
  if (::rename(from.c_str(), to.c_str()) != 0) return FailWithErrno();
  return S_OK;
}

int CADGetLastSystemError() { return t_lastError; }

HRESULT CADListDirectory(const CADUnicodeString& directory, CADListValCADUnicodeString& names) {
  names.RemoveAll();
  struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
  };
  std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.c_str()));
  if (!dir) return FailWithErrno();
  std::vector<std::string> found;
  errno = 0;
  while (dirent* entry = ::readdir(dir.get())) {
    std::string_view name(entry->d_name);
    if (name != "." && name != "..") found.emplace_back(name);
    errno = 0;
  }
  if (errno != 0) return FailWithErrno();
  std::sort(found.begin(), found.end());
  for (const auto& name : found) names.Append(CADUnicodeString(name));
  return S_OK;
}

HRESULT CADCreateDirectory(const CADUnicodeString& directory) {
  const std::string& path = directory.str();
  if (path.empty()) return FailWith(ENOENT);
  // Each prefix ending before a "/", then the whole path.
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    std::string prefix = path.substr(0, at);
    if (prefix.back() == '/') continue;
    if (::mkdir(prefix.c_str(), 0777) == 0) continue;
    int error = errno;
    struct stat st {};
    if (error == EEXIST && ::stat(prefix.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
    return FailWith(error == EEXIST ? ENOTDIR : error);
  }
  return S_OK;
}

int CADIsDirectory(const CADUnicodeString& path) {
  struct stat st {};
  return !path.IsEmpty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

int CADGetOperatingSystem() {
  int kind = g_osOverride.load();
  return kind >= 0 ? kind : CADOSLinux;
}

void CADSetOperatingSystemOverride(int kind) { g_osOverride = kind < 0 ? -1 : kind; }
void CADResetOperatingSystem() { g_osOverride = -1; }
