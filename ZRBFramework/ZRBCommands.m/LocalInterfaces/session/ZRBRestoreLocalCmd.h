// Restores a session saved by ZRBSaveLocalCmd into a session that holds none of the integration's documents:
// unpacks the session file into the exchange map, takes back the property manager's state, the archives, the file
// times and the modified marks, and opens the top-level documents in windows of their saved names.
#pragma once

#include <set>
#include <string>

#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

struct ZRBLocalSessionIndex;

class ZRBRestoreLocalCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBRestoreLocalCmd() : ZRBOneStepCommand("ZRBRestoreLocalCmd") {}

 protected:
  Outcome Work() override;
  void ShowOutcome(int success) override;

 private:
  // Unpacks into the private directory `scratch`, checks the index, then moves the unpacked files but the state
  // files into the exchange map (`unpacked`: their base names). 0 with the message when anything fails; the
  // exchange map is then untouched.
  int ReadLocalSession(const std::string& xmap, const std::string& scratch, ZRBLocalSessionIndex& index,
                       std::set<std::string>& unpacked);
  void ReadArchives(const std::string& xmap, const ZRBLocalSessionIndex& index, const std::set<std::string>& unpacked);
  static int IsMarked(const CADUnicodeString& path);
  void RestoreFileTimes(const std::string& xmap, const std::set<std::string>& unpacked);
  void OpenTopDocument(const std::string& path, const std::string& windowName);
  void Fail(const char* name, const std::string& parameter = {});
};

ZRBRestoreLocalCmd* fctCreateZRBRestoreLocalCmd();
