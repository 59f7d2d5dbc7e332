// Loads a PDM structure into the session: asks the PDM to deliver it into the exchange map (or takes a structure
// file the PDM left there, or one the creating command obtained), checks the answer and has it built.
#pragma once

#include "CADIProduct.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"
#include "ZRBReadState.h"

class CADDialog;
class CADDlgFile;
class ZRBObject;
class ZRBObjectManager;
class ZRBStaleFileGuard;

// Everything runs on the host's user-interface thread. Modes: 1 request (the default; also every unknown mode),
// 2 import of "sZRBstructure", 3 structure file from a directory the user chooses, 4 the same after an update
// ("eZRBstructure"), 5 request whose result goes below the workbench product.
class ZRBReadCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  explicit ZRBReadCmd(int mode = 1, const char* name = "ZRBReadCmd");
  // For commands that create a read for their own use (requestChange 0 or a message of their own).
  ZRBReadCmd(int mode, int requestChange, CADCommandMsg message, const char* name = "ZRBReadCmd");
  ~ZRBReadCmd() override;
  int GetMode() const { return state_.mode; }

  // --- host command (Activate is the one-step lifecycle's: the steps below)
  CADStatusChangeRC Desactivate(CADCommand* command, CADNotification* notification) override;
  CADStatusChangeRC Cancel(CADCommand* command, CADNotification* notification) override;

  // --- for the commands that create a read for their own use: set the flags, then CreateProductStructure and
  // ReSetTimestampSetting, then show the read's lists (DisplayMessageCenter) with GetWarningState.
  void SetAddTempRead(int on) { state_.addTempRead = on ? 1 : 0; }
  void SetUsePdmStructureRead(int on) { state_.usePdmStructureRead = on ? 1 : 0; }
  void SetCatalogRead(int on) { state_.catalogRead = on ? 1 : 0; }
  void SetCatalogEditRead(int on) { state_.catalogEditRead = on ? 1 : 0; }
  void SetReadMarked(int on) { state_.readMarked = on ? 1 : 0; }
  void SetCacheActivation(int value) { state_.cacheActivation = value; }
  void SetSinglePartMode(int on) { state_.singlePartMode = on ? 1 : 0; }
  // The product a use-PDM-structure read builds below (the user's selection).
  void SetStructureParent(const CADIProduct_var& product) { structureParent_ = product; }
  int GetWarningState() const { return state_.warningState; }
  int GetLoadFailure() const { return state_.loadFailure; }
  const ZRBReadState& GetState() const { return state_; }

  // --- the read
  // 1 success (a read the PDM user cancelled included), 0 failure. The stale files of the exchange map are put
  // back on every way out once they were moved aside.
  int CreateProductStructure();
  // Switches the host's time-stamp check of cached files on again if the read switched it off.
  HRESULT ReSetTimestampSetting();
  // The exchange-map file the answer is read from (the request is written there too).
  CADUnicodeString GetAnswerFileName() const;
  // Builds one structure node below `parent` and, recursively, its sub-assemblies. 0 failure.
  int ReadProductStructure(CADIProduct* parent, CADIProduct* existing, ZRBObjectManager& answer, ZRBObject* node);

  // --- the directory dialog (mode 3 and 4)
  void On_SZRB_OkNotification();
  void On_SZRB_CancelNotification();

 protected:
  // Reads the configuration of the read again under the client mode in force (a variant that switched its client).
  void ReadConfiguration();
  // --- the one-step steps: the whole read (mode 3: opens the directory dialog and waits for it), then its
  // messages
  void ReadStartSettings() override;
  Outcome Work() override;
  void ShowOutcome(int success) override { ShowEndMessages(success); }

 private:
  // --- stages of CreateProductStructure; each returns 0 when the read must stop
  int RemoveOldAnswer(const CADUnicodeString& answerPath);
  int SendRequest(const CADUnicodeString& xmap, const CADUnicodeString& answerPath, ZRBStaleFileGuard& staleFiles);
  int SendImportRequest(const CADUnicodeString& xmap);
  int ReadAnswer(const CADUnicodeString& answerPath, ZRBObjectManager& answer);
  int CheckAnswerRoot(ZRBObjectManager& answer, ZRBObject& root);
  int BuildStructure(ZRBObjectManager& answer, ZRBObject& root, CADIProduct_var& workbench);
  void GiveWorkbenchItsPartNumber(const CADIProduct_var& workbench);
  // The request's "CHECKTIMESTAMP" value, switching the host's check off first where that is configured.
  CADString TimeStampCheckForRequest();

  // --- lifecycle helpers
  void OpenDirectoryDialog();
  void CloseDirectoryDialog();
  // Shows the read's lists as the end of Activate does.
  void ShowEndMessages(int ok);

  ZRBReadState state_;
  CADIProduct_var structureParent_;
  CADDlgFile* directoryDialog_ = nullptr;  // owned by the host's window tree; destroyed through the host
  int loadLinkStatus_ = 0;                 // the host's "LoadLinkStatus", read at activation
};

ZRBReadCmd* fctCreateZRBReadCmd(int mode);
