#include "CADAutomationBridge.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CADAutomationReply.h"
#include "CADAutomationRequest.h"

namespace {

// A client gets this long to send its line and take its reply; the bridge
// serves one connection at a time.
constexpr int kClientDeadlineMs = 5000;

std::string Describe(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

enum class Listener { Answers, Stale, Unknown };

// Whether a live session still listens on the socket at `path`.
Listener Probe(const std::string& path) {
  sockaddr_un address;
  if (!FillAddress(path, address)) return Listener::Unknown;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Listener::Unknown;
  int rc = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int error = errno;
  close(fd);
  if (rc == 0) return Listener::Answers;
  return error == ECONNREFUSED ? Listener::Stale : Listener::Unknown;
}

bool IsPrivateDirectory(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

long long MsLeft(std::chrono::steady_clock::time_point deadline) {
  using namespace std::chrono;
  return duration_cast<milliseconds>(deadline - steady_clock::now()).count();
}

}  // namespace

CADAutomationBridge::CADAutomationBridge(CADString componentClass) : dispatcher_(std::move(componentClass)) {}

CADAutomationBridge::~CADAutomationBridge() { Stop(); }

std::string CADAutomationBridge::DefaultPath(std::string* error) {
  std::string directory;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime && IsPrivateDirectory(runtime)) {
    directory = runtime;
  } else {
    const char* tmp = std::getenv("TMPDIR");
    directory = std::string(tmp && *tmp ? tmp : "/tmp") + "/cad-automation-" + std::to_string(geteuid());
    if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
      if (error) *error = Describe("cannot create", directory);
      return {};
    }
    if (!IsPrivateDirectory(directory)) {
      if (error) *error = directory + " is not a private directory of this user";
      return {};
    }
  }
  return directory + "/cad-session-" + std::to_string(getpid()) + ".sock";
}

HRESULT CADAutomationBridge::Start(const std::string& requestedPath, std::string* error) {
  auto fail = [error](std::string reason) {
    if (error) *error = std::move(reason);
    return E_FAIL;
  };
  if (IsRunning()) return fail("the automation bridge is already listening on " + path_);

  std::string reason;
  std::string path = requestedPath.empty() ? DefaultPath(&reason) : requestedPath;
  if (path.empty()) return fail(reason);
  sockaddr_un address;
  if (!FillAddress(path, address)) return fail("socket path too long: " + path);

  // A socket at the path is replaced only when it is ours and nobody answers.
  struct stat st;
  if (lstat(path.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode)) return fail(path + " exists and is not a socket; left alone");
    if (st.st_uid != geteuid()) return fail(path + " belongs to another user; left alone");
    switch (Probe(path)) {
      case Listener::Answers:
        return fail("another session is listening on " + path);
      case Listener::Unknown:
        return fail(Describe("cannot probe", path));
      case Listener::Stale:
        if (unlink(path.c_str()) != 0) return fail(Describe("cannot remove the stale socket", path));
        break;
    }
  } else if (errno != ENOENT) {
    return fail(Describe("cannot inspect", path));
  }

  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return fail(Describe("cannot create a socket for", path));
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::string why = Describe("cannot bind", path);
    close(fd);
    return fail(why);
  }
  // Nobody can connect before listen(), so tightening the mode here leaves no
  // window in which another user could reach the session.
  if (chmod(path.c_str(), 0600) != 0 || stat(path.c_str(), &st) != 0 || listen(fd, SOMAXCONN) != 0) {
    std::string why = Describe("cannot secure or listen on", path);
    close(fd);
    unlink(path.c_str());
    return fail(why);
  }
  stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stopFd_ < 0) {
    close(fd);
    unlink(path.c_str());
    return fail("cannot create the bridge's wake-up descriptor");
  }

  listenFd_ = fd;
  path_ = path;
  socketDevice_ = st.st_dev;
  socketInode_ = st.st_ino;
  setenv(kSocketVariable, path_.c_str(), 1);
  thread_ = std::thread([this] { Serve(); });
  return S_OK;
}

void CADAutomationBridge::Stop() {
  if (!IsRunning()) return;
  std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(stopFd_, &one, sizeof one);
  if (thread_.joinable()) thread_.join();
  close(listenFd_);
  close(stopFd_);
  listenFd_ = stopFd_ = -1;

  // Unlink only our own socket: a later session may have replaced it.
  struct stat st;
  if (lstat(path_.c_str(), &st) == 0 && st.st_dev == socketDevice_ && st.st_ino == socketInode_) unlink(path_.c_str());
  if (const char* exported = std::getenv(kSocketVariable); exported && path_ == exported) unsetenv(kSocketVariable);
}

// ------------------------------------------------------------- I/O thread

void CADAutomationBridge::Serve() {
  for (;;) {
    pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      std::fprintf(stderr, "CADAutomationBridge: poll failed: %s\n", std::strerror(errno));
      return;
    }
    if (fds[1].revents) return;
    if (!fds[0].revents) continue;
    int client = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ServeOne(client);
    close(client);
  }
}

void CADAutomationBridge::ServeOne(int client) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kClientDeadlineMs);
  std::string reply;

  ucred peer{};
  socklen_t length = sizeof peer;
  if (getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != geteuid()) {
    reply = CADAutomationReply::Err("permission denied").FormatLine();
  } else {
    // Read up to the first line feed (or the client's end of stream).
    std::string line;
    bool complete = false, tooLong = false, stopping = false;
    while (!complete && !tooLong && !stopping) {
      long long left = MsLeft(deadline);
      if (left <= 0) break;
      pollfd fds[2] = {{client, POLLIN, 0}, {stopFd_, POLLIN, 0}};
      int ready = poll(fds, 2, static_cast<int>(left));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) break;
      if (fds[1].revents) {
        stopping = true;
        break;
      }
      char buffer[4096];
      ssize_t n = recv(client, buffer, sizeof buffer, 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        complete = !line.empty();
        break;
      }
      line.append(buffer, static_cast<std::size_t>(n));
      if (auto newline = line.find('\n'); newline != std::string::npos) {
        line.resize(newline + 1);
        complete = true;
      }
      tooLong = line.size() > CADAutomationRequest::kMaxLineBytes + 2;
    }
    if (tooLong)
      reply = CADAutomationReply::Err("request longer than " + std::to_string(CADAutomationRequest::kMaxLineBytes) +
                                      " bytes")
                  .FormatLine();
    else if (stopping)
      reply = CADAutomationReply::Err("the session is shutting down").FormatLine();
    else if (!complete)
      reply = CADAutomationReply::Err(line.empty() ? "empty request" : "incomplete request line").FormatLine();
    else
      reply = dispatcher_.HandleLine(line);
  }

  ++served_;  // counted before the reply, so a client that has its answer sees itself counted
  std::size_t sent = 0;
  while (sent < reply.size() && MsLeft(deadline) > 0) {
    pollfd out{client, POLLOUT, 0};
    if (poll(&out, 1, static_cast<int>(MsLeft(deadline))) <= 0) break;
    ssize_t n = send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
}
