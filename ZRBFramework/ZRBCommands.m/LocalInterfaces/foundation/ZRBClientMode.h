// Which PDM client the module talks to: the configuration prefix, the connection command and the message
// prefix, which live as process-wide state and which every command re-applies before it talks to the PDM.
#pragma once

#include "CADUnicodeString.h"

// User-interface thread only (the process-wide state it writes is read there too).
class ZRBClientMode {
 public:
  // --- the two clients
  // "", "pdmcl -b --", "".
  static ZRBClientMode Standard();
  // "SAM_", "samcl", "SAM".
  static ZRBClientMode Sam();
  // The client a connection command belongs to: "samcl" is the SAM client; any other command is the standard
  // client talking through that command (an empty one through the standard command).
  static ZRBClientMode ForConnectionCommand(const CADUnicodeString& connectionCommand);
  // What is in force now.
  static ZRBClientMode Current();

  // --- applying
  // Sets the module prefix of the configuration service and the global properties "ZRB_CONNECTION_CMD" and
  // "ZRB_MESSAGE_PREFIX".
  void Apply() const;

  const CADUnicodeString& GetModulePrefix() const { return modulePrefix_; }
  const CADUnicodeString& GetConnectionCommand() const { return connectionCommand_; }
  const CADUnicodeString& GetMessagePrefix() const { return messagePrefix_; }
  bool IsSam() const { return messagePrefix_ == "SAM"; }
  friend bool operator==(const ZRBClientMode&, const ZRBClientMode&) = default;

 private:
  ZRBClientMode(CADUnicodeString modulePrefix, CADUnicodeString connectionCommand, CADUnicodeString messagePrefix)
      : modulePrefix_(std::move(modulePrefix)),
        connectionCommand_(std::move(connectionCommand)),
        messagePrefix_(std::move(messagePrefix)) {}

  CADUnicodeString modulePrefix_;
  CADUnicodeString connectionCommand_;
  CADUnicodeString messagePrefix_;
};
