#include "CADAutomationClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "CADAutomationBridge.h"

namespace {

// Closes the descriptor on every way out.
class SocketGuard {
 public:
  explicit SocketGuard(int fd) : fd_(fd) {}
  ~SocketGuard() {
    if (fd_ >= 0) close(fd_);
  }
  SocketGuard(const SocketGuard&) = delete;
  SocketGuard& operator=(const SocketGuard&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

long long MsLeft(std::chrono::steady_clock::time_point deadline) {
  using namespace std::chrono;
  return duration_cast<milliseconds>(deadline - steady_clock::now()).count();
}

}  // namespace

std::string CADAutomationClient::SessionSocketFromEnvironment() {
  const char* path = std::getenv(CADAutomationBridge::kSocketVariable);
  return path ? path : "";
}

CADAutomationClient::Outcome CADAutomationClient::Send(const std::string& socketPath,
                                                       const CADAutomationRequest& request, CADAutomationReply& reply,
                                                       std::string& error, int timeoutMs) {
  if (socketPath.empty()) {
    error = std::string("no CAD session: ") + CADAutomationBridge::kSocketVariable + " is not set";
    return Outcome::NoSession;
  }
  sockaddr_un address;
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof address.sun_path) {
    error = "socket path too long: " + socketPath;
    return Outcome::NoSession;
  }
  std::memcpy(address.sun_path, socketPath.data(), socketPath.size());

  SocketGuard fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (fd.get() < 0 || connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    error = "no CAD session listening at " + socketPath + ": " + std::strerror(errno);
    return Outcome::NoSession;
  }

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  const std::string line = request.FormatLine();
  std::size_t sent = 0;
  while (sent < line.size()) {
    ssize_t n = send(fd.get(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the session may already have answered (a refusal); read it
    sent += static_cast<std::size_t>(n);
  }
  shutdown(fd.get(), SHUT_WR);

  std::string answer;
  while (answer.find('\n') == std::string::npos) {
    long long left = MsLeft(deadline);
    if (left <= 0) {
      error = "no reply from the CAD session within " + std::to_string(timeoutMs) + " ms";
      return Outcome::BadReply;
    }
    pollfd in{fd.get(), POLLIN, 0};
    int ready = poll(&in, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buffer[4096];
    ssize_t n = recv(fd.get(), buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
  }
  if (answer.empty()) {
    error = "the CAD session closed the connection without a reply";
    return Outcome::BadReply;
  }
  if (!CADAutomationReply::ParseLine(answer.substr(0, answer.find('\n')), reply, error)) return Outcome::BadReply;
  return Outcome::Replied;
}
