// The work of the command a command line chose: each subcommand leaves its
// work here when the parser takes it, and the deepest one taken runs.
#pragma once

#include <functional>

namespace CLI {
class App;
}

namespace pdmsim {

class ChosenCommand {
 public:
  // `work` runs (from Run) when the parsed command line ends in `sub`.
  void On(CLI::App& sub, std::function<int()> work);
  bool Chosen() const { return static_cast<bool>(work_); }
  int Run() const { return work_(); }

 private:
  std::function<int()> work_;
};

}  // namespace pdmsim
