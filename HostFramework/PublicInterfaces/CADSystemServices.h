// The host's system services: environment, path building and splitting,
// file and directory operations, the login name and the operating-system
// kind. Paths are UTF-8 host strings passed to the system as they are; no
// service ever runs a shell. A failing service returns E_FAIL and leaves the
// system error number for CADGetLastSystemError.
#pragma once

#include <string_view>

#include "CADBaseTypes.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

// Environment ----------------------------------------------------------------
// The value of the variable `name`; E_FAIL (and "") when it is not set.
HRESULT CADGetEnvValue(std::string_view name, CADUnicodeString& value);
// The user's login name; E_FAIL when neither the account nor the environment tells.
HRESULT CADGetLoginName(CADUnicodeString& name);
// The directory for temporary files: $TMPDIR when set and not empty, else "/tmp";
// never with a trailing "/".
HRESULT CADGetTempDirectory(CADUnicodeString& directory);

// Paths ------------------------------------------------------------------------
// `directory` and `name` joined by exactly one "/" (either may be empty).
CADUnicodeString CADMakePath(const CADUnicodeString& directory, const CADUnicodeString& name);
// Splits at the last "/": "/a/b/c.txt" gives "/a/b" and "c.txt", "/c" gives
// "/" and "c", "c.txt" gives "" and "c.txt".
void CADSplitPath(const CADUnicodeString& path, CADUnicodeString& directory, CADUnicodeString& name);
// The absolute path with every symbolic link, "." and ".." resolved; E_FAIL
// (and "") when the path does not exist or cannot be resolved.
HRESULT CADGetRealPath(const CADUnicodeString& path, CADUnicodeString& realPath);

// Files -------------------------------------------------------------------------
// Access modes of CADFileAccess, combinable: 0 tests existence.
enum CADFileAccessMode : int { CADFileExists = 0, CADFileExecute = 1, CADFileWrite = 2, CADFileRead = 4 };
// S_OK when the path is accessible in `mode` (6: read and write).
HRESULT CADFileAccess(const CADUnicodeString& path, int mode);
// Copies the content (and permission bits) of the regular file `from` to
// `to`. The copy is written to a temporary file beside `to` and renamed over
// it, so `to` is either the old file or the complete copy, never a partial
// one. With overwrite 0 an existing `to` makes it fail.
HRESULT CADFCopy(const CADUnicodeString& from, const CADUnicodeString& to, int overwrite = 1);
// Removes a file (not a directory).
HRESULT CADDeleteFile(const CADUnicodeString& path);
// rename(2): atomic on one file system, replaces an existing target; fails
// across file systems (the system error is then EXDEV).
HRESULT CADRenameFile(const CADUnicodeString& from, const CADUnicodeString& to);
// The system error number (errno) of the last failing service on this thread.
int CADGetLastSystemError();

// Directories ------------------------------------------------------------------
// Names of the entries of `directory` without "." and "..", sorted: a
// snapshot, so the caller may rename or delete while walking it.
HRESULT CADListDirectory(const CADUnicodeString& directory, CADListValCADUnicodeString& names);
// Creates the directory and any missing parents; an existing directory is success.
HRESULT CADCreateDirectory(const CADUnicodeString& directory);
// 1 when the path names a directory (after following links).
int CADIsDirectory(const CADUnicodeString& path);

// Operating system ---------------------------------------------------------------
// Kinds reported by CADGetOperatingSystem. On kind 1 file names are compared
// ignoring case.
enum CADOperatingSystemKind : int { CADOSUnknown = 0, CADOSWindows = 1, CADOSLinux = 2 };
int CADGetOperatingSystem();
// Tests: make CADGetOperatingSystem report `kind`; CADResetOperatingSystem
// restores the real one.
void CADSetOperatingSystemOverride(int kind);
void CADResetOperatingSystem();
