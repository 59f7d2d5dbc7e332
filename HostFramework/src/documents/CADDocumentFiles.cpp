#include "CADDocumentFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {
constexpr off_t kMaxDocumentBytes = off_t(512) * 1024 * 1024;

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }
}  // namespace

bool CADDocumentFiles::Read(const std::string& path, std::string& bytes, std::string& error) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Errno("cannot open '" + path + "'");
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "'" + path + "' is not a regular file";
    ::close(fd);
    return false;
  }
  if (st.st_size > kMaxDocumentBytes) {
    error = "'" + path + "' is too large for a document";
    ::close(fd);
    return false;
  }
  bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = Errno("cannot read '" + path + "'");
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
    if (static_cast<off_t>(bytes.size()) > kMaxDocumentBytes) {
      error = "'" + path + "' is too large for a document";
      ::close(fd);
      return false;
    }
  }
  ::close(fd);
  return true;
}

bool CADDocumentFiles::WriteAtomically(const std::string& path, const std::string& bytes, bool followLinks,
                                       std::string& error) {
  std::string target = path;
  struct stat lst {};
  if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode) && followLinks) {
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) {
      error = Errno("cannot follow the link '" + path + "'");
      return false;
    }
    target = resolved;
  }
  mode_t mode = 0644;
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    if (S_ISDIR(st.st_mode)) {
      error = "'" + target + "' is a directory";
      return false;
    }
    if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
      error = "'" + target + "' is write-protected";
      return false;
    }
    mode = st.st_mode & 07777;
  }
  std::string temp = DirectoryOf(target) + "/." + FileNameOf(target) + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = Errno("cannot write in the directory of '" + target + "'");
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = Errno("cannot write '" + target + "'");
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (::fchmod(fd, mode) != 0 || ::close(fd) != 0) {
    error = Errno("cannot finish '" + target + "'");
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    error = Errno("cannot replace '" + target + "'");
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool CADDocumentFiles::IsWritable(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool CADDocumentFiles::Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string CADDocumentFiles::DirectoryOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string CADDocumentFiles::FileNameOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
