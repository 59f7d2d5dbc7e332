// Packs an archive's files into its archive file and unpacks a delivered one, through the external commands the
// configuration names (zip and unzip style). Every path is one quoted shell word; command lines stay under the
// limit a shell argument may have; a command that did not end with status 0 is a failure.
#pragma once

#include <string>
#include <vector>

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBCommandContext;

class ZRBArchivePacker {
 public:
  explicit ZRBArchivePacker(ZRBCommandContext& command) : command_(command) {}

  // The exchange map's archive file (named as `archivePath`) from the structure file, its DTD, `members` and the
  // archive's non-CAD files. A missing non-CAD file asks whether to go on without it. 1 on success, 0 on failure.
  int PackFilesToArchive(const CADUnicodeString& archivePath, const CADUnicodeString& structurePath,
                         const CADListValCADUnicodeString& members);
  // Unpacks `archiveFile` into `extractionDirectory` and reads its structure file; for add-temporary ("1") the
  // delivered files are moved to their prefixed names. 1 on success; failed moves are warnings, not failures.
  int ProcessArchiveForRead(const CADUnicodeString& archiveFile, const CADUnicodeString& extractionDirectory,
                            const CADUnicodeString& structureFile, const CADUnicodeString& fileDirectory,
                            const CADUnicodeString& addTempFlag, const CADUnicodeString& tempStructureFile,
                            const CADUnicodeString& prefix);

  // --- the parts tests look at
  // The longest line: the configured value (or the system's) but never more than one shell argument can hold.
  // 0 when the configured value is no number.
  static int LineLimit();
  // Command lines for `files`: the first is `first` + the fixed words, each next one starts from `add`.
  static std::vector<std::string> BuildLines(const std::string& first, const std::string& add,
                                             const std::vector<std::string>& files, int limit);
  // Runs a line: 1 when the command ran and ended with status 0 (ECHILD from the wait counts as that).
  static int RunLine(const std::string& line, const char* what);

 private:
  ZRBCommandContext& command_;
};
