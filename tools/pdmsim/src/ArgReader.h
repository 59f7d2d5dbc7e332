// Picks options out of a command line: "--name VALUE", repeatable options,
// "--name A B C" value lists and flags; whatever is left are the positionals.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pdmsim {

class ArgReader {
 public:
  explicit ArgReader(std::vector<std::string> args) : args_(std::move(args)) {}

  std::optional<std::string> Option(std::string_view name);
  // Every "--name VALUE"; with `greedy` also "--name A B C" (up to the next option).
  std::vector<std::string> Options(std::string_view name, bool greedy = false);
  bool Flag(std::string_view name);
  // The remaining arguments; an unknown "--option" among them is an error.
  std::vector<std::string> Positionals();
  std::vector<std::string> Rest() { return args_; }

 private:
  std::vector<std::string> args_;
};

}  // namespace pdmsim
