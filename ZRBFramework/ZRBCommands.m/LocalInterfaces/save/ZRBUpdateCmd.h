// Saves the document of the active window to the PDM in one "x3UpdateFromFile" round trip on "ifile.zrb": a
// product structure with every modified part, new part, added, removed and moved instance; a part or a drawing
// alone; a process or an analysis document. In mode 3 the structure file the structure was read from follows the
// save; in modes 5 and 6 (the extended variant, only after a structure-file read) the "eZRBstructure" file does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ZRBUpdateBaseCmd.h"
#include "ZRBUpdatePosSelection.h"

class CADDocument;

class ZRBUpdateCmd : public ZRBUpdateBaseCmd {
 public:
  // --- lifecycle
  explicit ZRBUpdateCmd(int mode = 1, const char* name = "ZRBUpdateCmd") : ZRBUpdateBaseCmd(mode, name), mode_(mode) {
    ApplyDataModelFlags(mode);
  }
  ZRBUpdateCmd(int mode, int requestChange, CADCommandMsg message, const char* name = "ZRBUpdateCmd")
      : ZRBUpdateBaseCmd(mode, name, requestChange, message), mode_(mode) {
    ApplyDataModelFlags(mode);
  }
  // Ended while the position selection was open: the marks go back as they were.
  ~ZRBUpdateCmd() override;
  CADStatusChangeRC Cancel(CADCommand* caller, CADNotification* notification) override;
  int GetMode() const { return mode_; }

  // --- the save (1 done, 0 failed or stopped; the reason is in the warnings)
  // Chooses the path by the type of the active document.
  int UpdatePdm(int& status);
  int UpdateProductDocument(CADDocument* document, int& status);
  // The ordered stop checks, then the structure written into the request.
  int UpdateProduct(const CADIProduct_var& root, ZRBObjectManager& request, ZRBObject* rootObject, int& status);
  // Depth first: the node, then each child in order with its position.
  int WriteProductStructure(ZRBObjectManager& request, const CADIProduct_var& node, ZRBObject* object, int& status);
  // Writes "ifile.zrb", runs the PDM, reads and applies its answer; always ends with ProcessSaveFlags.
  int UpdateProductDocumentPost(ZRBObjectManager& request, const CADIProduct_var& root, int& status);
  // A part (not a component) or a drawing alone: one object with its identity and its saved file.
  int UpdateSingleDocument(CADDocument* document, bool drawing, int& status);
  // The documents saved alone, each with its identity on its file (a part: on its reference).
  enum class FileKind { Part, Drawing, Process, Analysis };
  int UpdateFileDocument(CADDocument* document, FileKind kind, int& status);
  // Writes "ifile.zrb" (an old one deleted first), runs the PDM and reads its answer into `answer`; 1 when the
  // PDM reported success ("1" or "3"). The "STATS" lines go to the warnings.
  int SendUpdate(ZRBObjectManager& request, ZRBObjectManager& answer, int keepDisplayAlive = 0);
  // Structure-file mode: no PDM call; the request is carried out in the structure file and applied to the
  // session as the PDM's answer would be (the extended variant then reads the file back). 1 done.
  int UpdateStructureFile(ZRBObjectManager& request, const CADIProduct_var& root, int& status);
  // A part or drawing saved alone in structure-file mode: the request is written for the record, carried out in
  // the structure file and the file read again; a file that cannot be read again is put back. 1 done.
  int RecordInStructureFile(ZRBObjectManager& request, FileKind kind);
  // Builds the session again from the structure file; `label` ("EZRB " or "") names it in the traces. 1 done.
  int RereadStructureFile(bool extended, const char* label);
  // The status of a save that found nothing to send.
  static constexpr int kNothingToSave = 1;
  // The status of a save that waits for the designer's position and model selection.
  static constexpr int kAwaitingSelection = 2;

  // --- the position and model selection between writing and sending
  // Opens it on the written request when its settings ask for it, interaction is allowed and the request has
  // modified rows: 1 the command goes on from the dialog; 0 the request is to be sent at once.
  int CreateUpdatePosSelectDialog(ZRBObjectManager& request, const CADIProduct_var& root, bool allParts = false);
  // The designer's answer; both end the command with its message centre. OK sends what is left of the request;
  // Cancel sends nothing and restores the marks the writing took.
  virtual void ContinueUpdate(ZRBObjectManager& request, const CADIProduct_var& root);
  virtual void CancelUpdate(ZRBObjectManager& request);
  // The selection's window for this command's client.
  virtual ZRBUpdatePosSelect* NewPosSelect(ZRBObjectManager& request, ZRBUpdatePosSelect::Handler& handler,
                                           bool positions, bool models) {
    return new ZRBUpdatePosSelect(request, handler, positions, models);
  }
  // Child structures not from the PDM under products from the PDM; 1 when there are none.
  int CheckProductsNotFromPdm(const CADIProduct_var& root);

  void SetSupressInteraction(int suppress) { suppressInteraction_ = suppress; }
  // A node the save leaves out with everything below it (the designer excluded it from a step-by-step save).
  void LeaveOut(const CADIProduct_var& node) { leftOut_.push_back(node); }
  bool IsLeftOut(const CADIProduct_var& node) const;

 protected:
  // --- the one-step steps
  Outcome Work() override;
  void ShowOutcome(int success) override;
  std::string NotAvailableDetail() const override { return "(mode " + std::to_string(mode_) + ")"; }
  bool MayAsk() const override { return !suppressInteraction_ && !modes_.noInteraction; }

 private:
  static void ApplyDataModelFlags(int mode);
  // A question of catalog "ZRBUpdateCmd"; without interaction the answer is "go on" (0).
  int Ask(std::string_view key, unsigned long style, CADUnicodeString* parameters = nullptr, int count = 0);
  // "ZRBUpdateCmd.ActionStopped" and 0.
  int Stop(const char* trace);
  int UseExchangeMapOf(const CADIProduct_var& root);
  // Deletes an old "ifile.zrb" and writes the request there ("NoFileAccess" and 0 when it cannot).
  int WriteRequestFile(ZRBObjectManager& request, CADUnicodeString& path);
  int CheckInvalidPositions(const CADIProduct_var& root);
  // What the structure file keeps of a part or drawing beyond the request: model information, sheets, sources.
  void DescribeForStructureFile(ZRBObjectManager& request, ZRBObject& object, CADDocument* document, FileKind kind,
                                const CADIProduct_var& root);
  bool IsFileDocumentModified(CADDocument* document, FileKind kind, const CADIProduct_var& root);
  // Product documents a process points at must come from the PDM; 1 when they do.
  int CheckProcessChildrenFromPdm(CADDocument* process);

  int mode_;
  int suppressInteraction_ = 0;
  std::unique_ptr<ZRBUpdatePosSelection> selection_;
  std::vector<CADIProduct_var> leftOut_;
};

ZRBUpdateCmd* fctCreateZRBUpdateCmd(int mode);
