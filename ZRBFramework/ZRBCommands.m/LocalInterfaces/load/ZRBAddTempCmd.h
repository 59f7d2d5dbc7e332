// Adds the items a user picks in the PDM's own dialog to the session as temporary parts: the reference two-step
// round trip ("x3AddTempCad"), whose answer a read command then builds into the session.
#pragma once

#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBPdmRequest.h"
#include "ZRBTwoStepCommand.h"

class ZRBObject;
class ZRBReadCmd;

// Files in the exchange map X: X/"atfile.zrb" carries the request and, rewritten by the PDM, the answer;
// X/"temp.zrb" is a directory of backups the PDM side may leave during the operation, removed at the end.
// User-interface thread only, like every command (see ZRBTwoStepCommand for the waiting protocol).
class ZRBAddTempCmd : public ZRBTwoStepCommand {
 public:
  static constexpr const char* kRequestFileName = "atfile.zrb";
  static constexpr const char* kBackupDirectoryName = "temp.zrb";

  // --- lifecycle
  ZRBAddTempCmd();

  // --- PDM round trip
  // Writes the request, opens the PDM's dialog and arms the wait: 1 started and waiting, 0 failed (after the
  // step's own message, if any; the caller then shows "ZRBAddTempCmd.AddTempFailed").
  int StartAddTemp();
  // Finishes with the PDM's final status: the cancel information, the failure message, or the read command
  // building the answer into the session; then the backups go.
  void EndAddTempCmd(const CADString& status);

  // --- follow-on command
  // The read command that builds the answer: mode 1, no status-change request, message 100, this client's
  // class. The caller ends it (RequestDelayedDestruction); null when it could not be created.
  virtual ZRBReadCmd* CreateReadCmd();

  // --- settings read at activation and handed to the read command
  int GetCacheActivation() const { return cacheActivation_; }  // -1 when unreadable
  int GetSinglePartMode() const { return singlePartMode_; }

 protected:
  // For the SAM client's variant.
  explicit ZRBAddTempCmd(const char* name);

  // --- the two steps
  void ReadStartSettings() override;
  int StartStep() override { return StartAddTemp(); }
  void EndStep(const CADString& status) override { EndAddTempCmd(status); }

 private:
  // Removes any old request file and writes the new one; 0 (after "NoFileAccess") when either fails.
  int WriteRequest(const CADUnicodeString& xmap, const CADUnicodeString& requestPath);
  // Builds the answer with a read command; the message centre shows its warnings and informations.
  void BuildAnswer(ZRBPdmResult result);
  // A second step the PDM refused: its reason lines ("STATS") in the message centre, else the fixed failure box.
  void ShowRefusal(const ZRBObject& root);
  // Empties and removes X/"temp.zrb" without ever following a symbolic link (ZRBAddTempCmdBackups.cpp).
  static void RemoveBackupDirectory(const CADUnicodeString& xmap);

  int cacheActivation_ = -1;
  int singlePartMode_ = 0;
};

ZRBAddTempCmd* fctCreateZRBAddTempCmd();
