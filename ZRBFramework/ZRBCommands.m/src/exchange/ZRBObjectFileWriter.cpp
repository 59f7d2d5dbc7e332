#include "ZRBObjectFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
std::atomic<unsigned long> g_temporaryCounter{0};

// The file that a path names once symbolic links are followed, so that the
// rename replaces the file and not the link.
std::string ResolveLink(const std::string& path) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string TemporaryBeside(const std::string& target) {
  std::size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  // Hidden and not ending in ".zrb", so that nobody takes it for a request.
  return dir + "." + base + "." + std::to_string(::getpid()) + "." + std::to_string(g_temporaryCounter.fetch_add(1)) +
         ".tmp";
}
}  // namespace

ZRBObjectFileWriter::~ZRBObjectFileWriter() { Discard(); }

void ZRBObjectFileWriter::Fail(const char* what) {
  if (!failed_) error_ = std::string(what) + ": " + std::strerror(errno);
  failed_ = true;
}

void ZRBObjectFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool ZRBObjectFileWriter::Open(std::string_view path) {
  Discard();
  failed_ = false;
  error_.clear();
  target_ = ResolveLink(std::string(path));

  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
    // A device or a pipe cannot be replaced by a rename: write into it.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) Fail("open");
    return fd_ >= 0;
  }
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = TemporaryBeside(target_);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

bool ZRBObjectFileWriter::Write(std::string_view bytes) {
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

bool ZRBObjectFileWriter::Commit() {
  if (fd_ < 0) return false;
  int fd = fd_;
  fd_ = -1;
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
