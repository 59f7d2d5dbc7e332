// Writes, when the module is loaded, the shell script named by "ZRB_CAD_ENV_SCRIPT" for programs of the PDM side.
#pragma once

#include <sys/types.h>

#include <ctime>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CADUnicodeString.h"

// The script reproduces the session's environment and ends by calling back into the session with
// `ZRBSender "$1"`; it is deleted when the module is unloaded. Best effort: failures leave no script and only a
// debug line.
class ZRBEnvironmentManager {
 public:
  // --- lifecycle: writes the script from the process environment ...
  ZRBEnvironmentManager();
  // ... or from the given "NAME=value" entries, in order.
  explicit ZRBEnvironmentManager(const std::vector<std::string>& environment);
  ~ZRBEnvironmentManager();
  ZRBEnvironmentManager(const ZRBEnvironmentManager&) = delete;
  ZRBEnvironmentManager& operator=(const ZRBEnvironmentManager&) = delete;

  int IsWritten() const { return written_; }
  const CADUnicodeString& GetPath() const { return path_; }

  // --- the process-wide instance (GlobZRBEnvironmentManager): created at module load, destroyed at unload;
  // tests load and unload it again.
  static void Load();
  static void Unload();

  // --- script text
  // The value as one single-quoted shell word ("'" becomes '\'').
  static std::string QuoteForShell(std::string_view value);
  // A name the shell can assign: a letter or '_', then letters, digits or '_'.
  static bool IsShellIdentifier(std::string_view name);
  // The whole script for these entries (entries without '=' or with another kind of name are left out).
  static std::string BuildScript(const std::vector<std::string>& environment);

 private:
  void Write(const std::vector<std::string>& environment);
  // The file at the path is the one this instance created (and, with sinceWritten, unchanged since).
  bool StillOurs(bool sinceWritten) const;

  int written_ = 0;
  CADUnicodeString path_;
  // Identity of the file this instance created, so that only that file is ever deleted.
  dev_t device_ = 0;
  ino_t inode_ = 0;
  struct timespec changed_ {};
};

extern std::unique_ptr<ZRBEnvironmentManager> GlobZRBEnvironmentManager;
