// Calls back into the CAD session through the `ZRBSender` client (the
// session's automation bridge): runs it as a child process, no shell involved.
#pragma once

#include <string>
#include <vector>

namespace pdmsim {

class SenderClient {
 public:
  // "PDMSIM_SENDER" when set, else "ZRBSender" beside this program, else on PATH.
  static std::string Locate();
  // The running program's own path (for delayed actions that start it again).
  static std::string SelfPath();

  // Runs the sender with these arguments; true when it exited with 0.
  // `diagnostics` receives its output and exit status for messages.
  bool Send(const std::vector<std::string>& args, std::string* diagnostics) const;

  bool SetStatus(const std::string& word, std::string* diagnostics) const;
  bool StartCmd(const std::string& command, const std::string& argument, std::string* diagnostics) const;
};

}  // namespace pdmsim
