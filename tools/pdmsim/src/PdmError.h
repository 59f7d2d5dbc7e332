// The one error type of the reference PDM: a message meant for the person at
// the terminal. Thrown inside the tool, caught in main and turned into an exit code.
#pragma once

#include <stdexcept>
#include <string>

namespace pdmsim {

class PdmError : public std::runtime_error {
 public:
  explicit PdmError(const std::string& message, int exitCode = 1) : std::runtime_error(message), exitCode_(exitCode) {}
  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

}  // namespace pdmsim
