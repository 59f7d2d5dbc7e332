#include "ZRBRunningCommandRegistry.h"

void ZRBRunningCommandRegistry::Register(ZRBRunningCommandKind kind, ZRBCommand* command,
                                         const CADUnicodeString& connectionCommand) {
  kind_ = kind;
  command_ = command;
  connectionCommand_ = connectionCommand;
}

void ZRBRunningCommandRegistry::Clear() {
  kind_ = ZRBRunningCommandKind::None;
  command_ = nullptr;
  connectionCommand_ = CADUnicodeString();
}

bool ZRBRunningCommandRegistry::ClearIfCurrent(const void* command) {
  if (!command || static_cast<const void*>(command_) != command) return false;
  command_ = nullptr;
  return true;
}
