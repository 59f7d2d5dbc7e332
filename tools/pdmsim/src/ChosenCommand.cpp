#include "ChosenCommand.h"

#include <CLI/CLI.hpp>

namespace pdmsim {

void ChosenCommand::On(CLI::App& sub, std::function<int()> work) {
  // The parser calls back the innermost subcommand first; its enclosing ones must not take its place.
  sub.callback([this, work = std::move(work)] {
    if (!work_) work_ = work;
  });
}

}  // namespace pdmsim
