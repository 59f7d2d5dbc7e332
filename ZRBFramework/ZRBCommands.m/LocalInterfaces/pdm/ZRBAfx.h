// The module's application helper as commands see it: every static service of the lower layers (ZRBAfxBase,
// ZRBAfxCache) and the PDM connection, which lives here.
#pragma once

#include <functional>

#include "ZRBAfxCache.h"

class ZRBAfx : public ZRBAfxCache {
 public:
  // --- PDM connection (ZRBAfxConnect.cpp)
  // Runs the connection command ("ZRB_CONNECTION_CMD", or "ZRB_CONNECTPDM" when set), a blank and `argument`
  // through the shell; keepDisplayAlive 1 runs it on a worker thread and repaints once a second meanwhile. The
  // shell's raw wait status; 0 for ECHILD; negative when the command could not be started (the shell failed, no
  // main application for the threaded mode, or the shell reported 126/127: not executable, not found).
  static int ConnectPdm(const CADUnicodeString argument, int keepDisplayAlive);
  // The longest command line the system accepts (8092 when it cannot be read).
  static int GetSysCallLimit();
  // `word` as one shell word whatever it holds: POSIX single quotes, a quote written '\''.
  static CADUnicodeString QuoteShellWord(const CADUnicodeString& word);
  // How command lines reach the shell; an empty function restores system(3). Tests observe lines here.
  // Called on the user-interface thread or the PDM-call worker; must set errno on a negative result.
  using ShellCall = std::function<int(const char* line)>;
  static void SetShellCall(ShellCall call);
  static int RunShell(const char* line);
};
