// Brings the structure of the active window into the PDM step by step: every node that needs work becomes a
// row of the update/create dialog, and each row is sent as a one-node request ("x3UpdateFromFile" on
// "ifile.zrb") whose answer is applied at once. It shares the update command's node writer, sending and
// answer handling; a failed row gives back what it touched and leaves the other rows runnable.
#pragma once

#include <functional>

#include "ZRBInstanceList.h"
#include "ZRBSyncJobList.h"
#include "ZRBSyncRunner.h"
#include "ZRBUpdateCmd.h"

class ZRBUpdateCreateDialog;

class ZRBSynchronizeCmd : public ZRBUpdateCmd, public ZRBSyncRunner {
 public:
  // --- lifecycle
  ZRBSynchronizeCmd() : ZRBSynchronizeCmd("ZRBSynchronizeCmd") {}
  ~ZRBSynchronizeCmd() override;
  void SetMinimizeAppDuringUpdate(int minimize) { minimize_ = minimize; }
  // Every node gets a row with the "use" operation.
  void SetUseFlag(int use) { use_ = use; }

  // --- filling (1 the list was filled, 0 the command stops; the reason is shown or in the warnings)
  int UpdatePdmInteractive();
  // Virtual: the SAM client's command fills the list its own way.
  virtual int UpdateProductDocumentInteractive(CADDocument* document);
  virtual int UpdateDrawingDocumentInteractive(CADDocument* document);
  ZRBSyncJobList& GetJobs() { return jobs_; }
  ZRBUpdateCreateDialog* GetDialog() const { return dialog_; }

  // --- one row (1 sent and applied, 0 failed; `pdmResult` is the answer's "ACTION_SUCCESS")
  int UpdateCreateProduct(const CADIProduct_var& node, CADString& pdmResult);
  // One design table of the node (by file name) in a request of its own: linked, updated or dropped.
  int UpdateCreateDesignTable(const CADIProduct_var& node, const CADUnicodeString& fileName, CADString& pdmResult);
  // The drawing of a drawing row (by its path, so a closed drawing fails the row instead of the session).
  int UpdateCreateDrawing(const CADUnicodeString& path);
  // Applies the answer of the children the request asked the PDM to instantiate, link, create or move.
  void ProcessChildInstanceInfo(const CADIProduct_var& node, const ZRBObject& nodeAnswer, ZRBObjectManager& answer);

  // --- ZRBSyncRunner
  ZRBSyncResult RunJob(ZRBSyncJob& job, CADListValCADUnicodeString& messages) override;
  ZRBSyncResult Finish(bool drawing, CADListValCADUnicodeString& messages) override;
  int Validate(const ZRBSyncJobList& jobs, bool& allValid, CADListValCADUnicodeString& refusals) override;

 protected:
  explicit ZRBSynchronizeCmd(const char* name);
  Outcome Work() override;
  // The dialog; tests replace it by nothing (the list is then driven directly).
  virtual int OpenDialog();
  // The job list's window for this command's client; `closed` ends the command.
  virtual ZRBUpdateCreateDialog* NewDialog(std::function<void()> closed);

 private:
  // Deactivated products and forbidden applicative containers in the active window; 1 when there are none.
  int CheckCondOfDocumentsInWindow();
  // The one-node request: the node and, for a product, its children as child objects.
  int WriteSyncRequest(ZRBObjectManager& request, const CADIProduct_var& node, const CADIProduct_var& father,
                       bool product);
  void WriteChildObject(ZRBObjectManager& request, const CADIProduct_var& node, const CADIProduct_var& child,
                        CADListValCADString& keys);
  // Before the final update: a modified root the PDM does not hold (a virtual root) is saved into the exchange
  // map when the site saves virtual roots and none of its direct children is modified; 1 saved.
  int SaveVirtualRoot();
  // "x3UpdateWBFromFile" on "UpdWbfile.zrb" for the instances the rows created or changed; 1 done.
  int UpdateWBInPdm(CADListValCADUnicodeString& messages);
  // The node's load-time record from its children that are in the PDM now.
  void RecordLinkedChildren(const CADIProduct_var& node);
  // The request's children whose position was asked to be stored go back on the "must send" list.
  void KeepUnsentPositions(const CADIProduct_var& node, ZRBObjectManager& request);

  ZRBSyncJobList jobs_;
  ZRBInstanceList instances_;  // workbench entries to bring up to date after the last row
  ZRBUpdateCreateDialog* dialog_ = nullptr;
  CADUnicodeString documentPath_;  // the filled document, looked up again when needed
  int minimize_ = 0;
  int use_ = 0;
};

ZRBSynchronizeCmd* fctCreateZRBSynchronizeCmd();
