#include "ZRBToolCommand.h"

#include <algorithm>

namespace {
// Function-local so that registrations from any file's static initialiser
// find it constructed.
std::vector<ZRBToolCommand>& Table() {
  static std::vector<ZRBToolCommand> table;
  return table;
}
}  // namespace

void ZRBToolCommandTable::Register(const ZRBToolCommand& command) { Table().push_back(command); }

std::vector<ZRBToolCommand> ZRBToolCommandTable::All() {
  std::vector<ZRBToolCommand> sorted = Table();
  std::sort(sorted.begin(), sorted.end(),
            [](const ZRBToolCommand& a, const ZRBToolCommand& b) { return std::string(a.name) < b.name; });
  return sorted;
}

const ZRBToolCommand* ZRBToolCommandTable::Find(const std::string& name) {
  for (const ZRBToolCommand& command : Table())
    if (name == command.name) return &command;
  return nullptr;
}
