// The pause of a save between writing its request and sending it: one list of the moved instances and one of the
// saved documents the request carries, each row "yes" (send it) or "no" (keep it in the session for a later save).
// OK takes the "no" rows out of the request and hands over to the command; Cancel hands over without sending.
#pragma once

#include <vector>

#include "CADDlgDialog.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class CADDlgLabel;
class CADDlgMultiList;
class CADDlgPushButton;
class CADDlgTabContainer;
class CADDlgTabPage;
class ZRBObjectManager;

// User-interface thread only.
class ZRBUpdatePosSelect : public CADDlgDialog {
 public:
  // What the command that wrote the request does next. Exactly one of the two is called, once, after the dialog
  // is hidden; `messages` are the lines the dialog gathered for the command's message centre.
  class Handler {
   public:
    virtual ~Handler() = default;
    virtual void ContinueUpdate(CADListValCADUnicodeString& messages) = 0;
    virtual void CancelUpdate(CADListValCADUnicodeString& messages) = 0;
  };

  // --- lifecycle: fills the lists asked for from `request` (which must outlive the dialog) and shows the dialog
  // when a list has rows; otherwise the dialog is not built and the caller sends at once.
  ZRBUpdatePosSelect(ZRBObjectManager& request, Handler& handler, bool positions, bool models);
  // A dialog closed without an answer counts as cancelled: the command gets its marks back.
  ~ZRBUpdatePosSelect() override;
  bool IsBuilt() const { return built_; }
  // The command ended first: the dialog forgets it and goes.
  void Abandon();

  // --- rows (each returns the number of rows)
  // One row per moved instance ("UPD_MATRIX" "1"): parent part number, part number, instance name, mark.
  int PosGetModifiedRelations();
  // One row per saved document ("UPD_GEOMETRY", or its product object's "UPD_GEOMETRY" or "UPD_PRODUCT", "1"):
  // part number, file name, mark. A part the PDM is to create is not offered: the PDM needs its file.
  int ModGetModifiedModels();
  void PosToggleLine();
  void ModToggleLine();
  const CADUnicodeString& GetYesText() const { return yes_; }
  const CADUnicodeString& GetNoText() const { return no_; }

  // --- handlers
  void OnOKNotification();
  void OnCANCELNotification();

  CADListValCADString GetResourceFilename() const override;

 protected:
  ZRBUpdatePosSelect(const char* identifier, ZRBObjectManager& request, Handler& handler, bool positions, bool models);
  virtual void ContinueUpdate();
  virtual void CancelUpdate();

 private:
  // A request slot that a row switches off.
  struct Target {
    CADString key;
    const char* slot;
  };
  void Build(bool positions, bool models);
  void Toggle(CADDlgMultiList* list, int markColumn);
  void Finish(bool ok);

  ZRBObjectManager& request_;
  Handler* handler_;  // null once answered or abandoned
  bool built_ = false;
  CADDlgTabContainer* tabs_ = nullptr;  // the controls are owned by the dialog's tree
  CADDlgTabPage* matrixPage_ = nullptr;
  CADDlgTabPage* modelPage_ = nullptr;
  CADDlgMultiList* matrixList_ = nullptr;
  CADDlgMultiList* modelList_ = nullptr;
  CADUnicodeString yes_;
  CADUnicodeString no_;
  std::vector<std::vector<Target>> matrixTargets_;  // per matrix row
  std::vector<std::vector<Target>> modelTargets_;   // per model row
  std::vector<CADUnicodeString> modelPaths_;        // per model row
  CADListValCADUnicodeString messages_;
};

// The same selection for the save of every modified part: only the documents, under its own identifier.
class ZRBUpdateAllPartsPosSelect : public ZRBUpdatePosSelect {
 public:
  ZRBUpdateAllPartsPosSelect(ZRBObjectManager& request, Handler& handler);
  CADListValCADString GetResourceFilename() const override;
};
