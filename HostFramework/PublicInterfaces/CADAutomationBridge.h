// The session's automation endpoint: a Unix-domain socket (owner only) whose
// path every child process inherits through CAD_AUTOMATION_SOCKET, served by
// one I/O thread that hands each request line to the dispatcher. One request
// per connection.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "CADAutomationDispatcher.h"
#include "CADBaseTypes.h"

class CADAutomationBridge {
 public:
  static constexpr const char* kSocketVariable = "CAD_AUTOMATION_SOCKET";

  // --- lifecycle (session thread)
  explicit CADAutomationBridge(CADString componentClass = "ZRBModComm");
  ~CADAutomationBridge();  // Stop()
  CADAutomationBridge(const CADAutomationBridge&) = delete;
  CADAutomationBridge& operator=(const CADAutomationBridge&) = delete;

  // Listens at `path` (empty: DefaultPath()), exports the path and starts the
  // I/O thread. A socket left at the path by a dead session is replaced; one
  // that answers, or anything that is not our socket, is left alone and the
  // start fails with E_FAIL and a reason in `error`.
  HRESULT Start(const std::string& path = {}, std::string* error = nullptr);
  // Stops the thread, unlinks the socket (if it is still ours) and withdraws
  // the variable. Idempotent.
  void Stop();

  bool IsRunning() const { return listenFd_ >= 0; }
  const std::string& GetPath() const { return path_; }
  CADAutomationDispatcher& GetDispatcher() { return dispatcher_; }
  // Connections served so far (any thread).
  unsigned long GetServedCount() const { return served_.load(); }

  // "<runtime dir>/cad-session-<pid>.sock": $XDG_RUNTIME_DIR when it is a
  // private directory, else a private /tmp/cad-automation-<uid>; empty when
  // neither is usable.
  static std::string DefaultPath(std::string* error = nullptr);

 private:
  void Serve();
  void ServeOne(int client);

  CADAutomationDispatcher dispatcher_;  // read by the I/O thread, which only calls const members
  std::string path_;                    // session thread
  int listenFd_ = -1;                   // session thread; the I/O thread only polls it
  int stopFd_ = -1;                     // eventfd: Stop() wakes the I/O thread
  unsigned long long socketDevice_ = 0, socketInode_ = 0;
  std::thread thread_;
  std::atomic<unsigned long> served_{0};
};
