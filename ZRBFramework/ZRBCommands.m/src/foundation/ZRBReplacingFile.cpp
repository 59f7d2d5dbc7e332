#include "ZRBReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
std::atomic<unsigned long> g_temporaryCounter{0};

std::string TemporaryBeside(const std::string& target) {
  std::size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  // Hidden and not ending in ".zrb", so that nobody takes it for a request.
  return dir + "." + base + "." + std::to_string(::getpid()) + "." + std::to_string(g_temporaryCounter.fetch_add(1)) +
         ".tmp";
}
}  // namespace

ZRBReplacingFile::~ZRBReplacingFile() { Discard(); }

void ZRBReplacingFile::Fail(const char* what) {
  if (!failed_) error_ = std::string(what) + ": " + std::strerror(errno);
  failed_ = true;
}

void ZRBReplacingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool ZRBReplacingFile::Open(std::string_view path, unsigned mode) {
  Discard();
  failed_ = false;
  error_.clear();
  // The name itself, never what a link there points to: anyone who can write into the directory could have
  // planted one pointing at a file of the user's.
  target_ = std::string(path);

  struct stat existing {};
  const bool exists = ::lstat(target_.c_str(), &existing) == 0;
  if (exists && S_ISCHR(existing.st_mode)) {
    // A device cannot be replaced by a rename; only the administrator can put one there.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) Fail("open");
    return fd_ >= 0;
  }
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = TemporaryBeside(target_);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode & 07777);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    Fail("create temporary file");
    temporary_.clear();
    return false;
  }
  // The replacement keeps the permissions that the old file had.
  if (exists && S_ISREG(existing.st_mode)) (void)::fchmod(fd_, existing.st_mode & 07777);
  return true;
}

bool ZRBReplacingFile::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("write");
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool ZRBReplacingFile::Commit(bool durable) {
  if (fd_ < 0) return false;
  int fd = fd_;
  fd_ = -1;
  if (durable && !failed_ && !temporary_.empty() && ::fsync(fd) != 0) Fail("fsync");
  if (::close(fd) != 0) Fail("close");
  if (!failed_ && !temporary_.empty()) {
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
      Fail("rename");
    else
      temporary_.clear();
  }
  if (failed_) Discard();
  return !failed_;
}

int ZRBReplacingFile::WriteWhole(std::string_view path, std::string_view bytes, unsigned mode, bool durable,
                                 std::string* error) {
  ZRBReplacingFile file;
  const bool ok = file.Open(path, mode) && file.Write(bytes) && file.Commit(durable);
  if (!ok && error) *error = file.Error();
  return ok ? 1 : 0;
}
