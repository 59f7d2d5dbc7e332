// Saves what the integration has open in the session (its documents in the exchange map, the window names, the
// property manager's state, the temporary counter) into one local session file, without the PDM.
#pragma once

#include <string>
#include <vector>

#include "ZRBOneStepCommand.h"

class ZRBSaveLocalCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBSaveLocalCmd() : ZRBOneStepCommand("ZRBSaveLocalCmd") {}

  // --- shared with the restore
  // The session file: "ZRB_LOCAL_SESSIONFILE_PATH", else "session.zrbsession" in the exchange map.
  static std::string SessionFilePath();
  // login "@" host; 0 (and the trace) when either cannot be had.
  static int CurrentIdentity(std::string& identity);
  // The file property that keeps a document's unsaved modifications across a save and restore.
  static constexpr const char* kModifiedMark = "ZRB_LOCAL_MODIFIED";

 protected:
  Outcome Work() override;
  void ShowOutcome(int success) override;

 private:
  struct Collected {
    std::vector<std::string> files;                                 // documents to pack, in order
    std::vector<std::pair<std::string, std::string>> topDocuments;  // path, window name
  };
  int ProcessZrbDocumentsInSession(const std::string& xmap, Collected& collected);
  // Packs `files` into a fresh file beside the session file and renames it over the session file on success.
  int PackFilesToSessionFile(const std::vector<std::string>& files);
  void Fail(const char* name, const std::string& parameter = {});
};

ZRBSaveLocalCmd* fctCreateZRBSaveLocalCmd();
