// The PDM's side of archives: what a packed archive must hold when it is stored (its structure file, the DTD and
// every member the structure file names, checked after unpacking it), and the answer to "x3ValidateArchive" by the
// vault's rules. The structure file is read here with expat, never with the module's reader.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ExchangeFile.h"
#include "FaultPlan.h"
#include "Vault.h"

namespace pdmsim {

struct ArchiveContent {
  std::string structureFile;          // the one structure file's name ("" when there is none)
  std::vector<std::string> members;   // the file names the structure file names, in its order
  std::vector<std::string> problems;  // one line each; empty when the archive may be stored
  bool Ok() const { return problems.empty(); }
};

class ArchiveStore {
 public:
  // Unpacks `archivePath` into a scratch directory (the unzip program, run without a shell) and checks it.
  static ArchiveContent Check(const std::string& archivePath);
  // Checks an already unpacked directory.
  static ArchiveContent CheckDirectory(const std::string& directory);
  // The file names a structure file names ("FILENAME" attributes); false with `error` when it is not a
  // well-formed archive structure file.
  static bool ReadMembers(const std::string& xml, std::vector<std::string>& members, std::string& error);

  // Keeps a checked archive as the item's archive (in the vault's "archives" directory, replacing an older one);
  // false with `error` when the archive fails the check or cannot be kept. The caller holds the transaction.
  static bool Keep(Vault& vault, const std::string& partNumber, const std::string& archivePath, std::string& error);
  // A read's answer: each chosen item with an archive gets it copied into the exchange map and named by an
  // object of class "ZRBArchive" ("ARCHIVE_FILE", "CONTENT_FILE_NAME") with the item's identity ("OBID", "CLASSNAME",
  // "DB_NAME", "CHANGEABLE", "ROOT_PART_NUMBER", "RELATIVE_PATH"). Returns how many were delivered.
  static int Deliver(Vault& vault, ExchangeFile& answer, const std::vector<std::string>& partNumbers,
                     const std::string& exchangeMap);
};

// Archives in a save ("x3UpdateFromFile"), done before the save's nodes: an object that asks for a new archive
// ("CREATE_ARCHIVE_IN_PDM" "1") or stores a known one again (class "x0CadArc" with "OBID", "PATH" and
// "CONTENT_FILE_NAME") names its packed file in "PATH". The archive is unpacked and checked, kept as the item's archive
// (a new item of class "x0CadArc" for a new one), and the object answered with the identity, so that the save then
// places it under its parent like any known node. A refused archive is one failure with its "STATS" line; nothing of it
// is kept.
struct ArchiveSaveReport {
  int created = 0;
  int stored = 0;
  int failed = 0;
  std::vector<std::string> warnings;
};
ArchiveSaveReport ApplySaveArchives(Vault& vault, ExchangeFile& request, const std::string& exchangeMap);

// "x3ValidateArchive": "ROOT" and each object its "SUBASSEMBLIES" names get "VALIDATION_FAILED" "1" or "0".
// A part number fails when the vault setting "archive.refuse_parts" (blank or comma separated) or the action's
// fault option --validate-fail names it, or when the object names no "FILENAME" while "archive.require_filename"
// is not "OFF". Returns the journal outcome.
std::string AnswerValidateArchive(Vault& vault, ExchangeFile& request, const std::optional<Fault>& fault);

}  // namespace pdmsim
