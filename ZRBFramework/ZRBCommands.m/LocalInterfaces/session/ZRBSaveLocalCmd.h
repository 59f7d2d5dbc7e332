// Saves what the integration has open in the session (its documents in the exchange map, their design tables, the
// archives with their structure files, the window names, the property manager's state, the temporary counter)
// into one local session file, without the PDM.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ZRBOneStepCommand.h"

class CADDocument;

class ZRBSaveLocalCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBSaveLocalCmd() : ZRBOneStepCommand("ZRBSaveLocalCmd") {}

  // --- shared with the restore
  // The session file: "ZRB_LOCAL_SESSIONFILE_PATH", else "session.zrbsession" in the exchange map.
  static std::string SessionFilePath();
  // login "@" host; 0 (and the trace) when either cannot be had.
  static int CurrentIdentity(std::string& identity);
  // The file property that keeps unsaved modifications across a save and restore: on a document or design-table
  // file (modified since the PDM last had it), on an archive's structure file (its non-CAD files changed).
  static constexpr const char* kModifiedMark = "ZRB_LOCAL_MODIFIED";
  // The files the session file holds besides those of the exchange map; no packed file may take these names.
  static constexpr const char* kIndexName = "content.session";
  static constexpr const char* kDataName = "ZRBPropertyManager.xml";
  static constexpr const char* kDtdName = "ZRBPropertyManager.dtd";

 protected:
  Outcome Work() override;
  void ShowOutcome(int success) override;

 private:
  struct Collected {
    std::vector<std::string> files;                                 // files of the exchange map to pack, in order
    std::vector<std::pair<std::string, std::string>> topDocuments;  // path, window name
    std::vector<std::pair<std::string, std::string>> archives;      // archive file, structure file
    std::map<std::string, std::string> byBaseName;                  // base name -> the path packed under it
  };
  int ProcessZrbDocumentsInSession(const std::string& xmap, Collected& collected);
  // The design-table files of `document`'s product that the integration loaded into the exchange map.
  void ProcessDTDocuments(const CADDocument& document, const std::string& xmapReal, Collected& collected);
  // The structure file, packed file, DTD and non-CAD files of the exchange map of the archive rooted in `path`.
  void ProcessArchive(const std::string& path, const std::string& xmap, Collected& collected);
  // Adds `path` unless another file of its base name is packed already (the archive junks directories: one would
  // replace the other); such a file is reported as not saved. 1 when added.
  int AddFile(const std::string& path, Collected& collected);
  // Writes the index and the property manager's state into `scratch` (private: nothing can be planted there).
  int WriteSessionState(const std::string& scratch, const Collected& collected);
  // Packs `files` into a fresh file in `scratch` (beside the session file) and renames it over the session file
  // on success.
  int PackFilesToSessionFile(const std::string& scratch, const std::vector<std::string>& files);
  void Fail(const char* name, const std::string& parameter = {});
};

ZRBSaveLocalCmd* fctCreateZRBSaveLocalCmd();
