// Records the one two-step command that waits for the PDM: its kind, the
// command and the connection command it talks through, so that a later
// abandonment can cancel it at the right PDM client.
#pragma once

#include "CADUnicodeString.h"

class ZRBCommand;

// The two-step commands that can wait for the PDM; the numbers are stable.
enum class ZRBRunningCommandKind : int {
  None = 0,
  AddTemp = 1,
  SaveAs = 2,
  CreateForDocument = 3,
  UsePdmStructure = 4,
  SaveAsLegacy = 5,
};

// User-interface thread only (commands, timers and the integrity check).
class ZRBRunningCommandRegistry {
 public:
  // --- registering
  // Replaces whatever was registered before.
  void Register(ZRBRunningCommandKind kind, ZRBCommand* command, const CADUnicodeString& connectionCommand);

  // --- reading
  ZRBRunningCommandKind GetKind() const { return kind_; }
  // Not owned; null when none is registered or it was cleared.
  ZRBCommand* GetCommand() const { return command_; }
  // The connection command the registered command was started with.
  const CADUnicodeString& GetConnectionCommand() const { return connectionCommand_; }
  bool IsEmpty() const { return kind_ == ZRBRunningCommandKind::None && command_ == nullptr; }

  // --- clearing
  // Forgets the command but keeps kind and connection command: an abandoned
  // command is destroyed first, the PDM is told to cancel afterwards.
  void ClearCommand() { command_ = nullptr; }
  // Forgets everything.
  void Clear();
  // For a command's destructor: forgets the command only when it is the
  // registered one, so that no dangling pointer stays behind. The kind stays,
  // so the PDM's dialog is still cancelled by the next integrity check.
  // Returns true when it cleared.
  bool ClearIfCurrent(const void* command);

 private:
  ZRBRunningCommandKind kind_ = ZRBRunningCommandKind::None;
  ZRBCommand* command_ = nullptr;
  CADUnicodeString connectionCommand_;
};
