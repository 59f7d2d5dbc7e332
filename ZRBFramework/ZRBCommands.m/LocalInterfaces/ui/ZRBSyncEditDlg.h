// The part-type editor of the update/create job list: for one editable row, its part number and a combo of
// part types; Prev and Next apply the choice and move to the neighbouring editable row, Close applies and
// closes. With "ApplyToAllCheckBtn" checked the choice goes to every editable row.
#pragma once

#include <functional>

#include "CADDlgDialog.h"

class CADDlgCheckButton;
class CADDlgCombo;
class CADDlgEditor;
class CADDlgPushButton;
class ZRBSyncJobList;

// User-interface thread only; the list outlives the dialog (the update/create dialog is modal under it).
class ZRBSyncEditDlg : public CADDlgDialog {
 public:
  ZRBSyncEditDlg(ZRBSyncJobList& jobs, int row, std::function<void()> changed);
  void UpdateDialog();
  void Apply();
  void OnPrevBtn();
  void OnNextBtn();
  void OnCloseBtn();
  CADListValCADString GetResourceFilename() const override;

 private:
  ZRBSyncJobList& jobs_;
  int row_;
  std::function<void()> changed_;
  CADDlgEditor* partNumber_ = nullptr;  // controls: owned by the dialog's tree
  CADDlgCombo* combo_ = nullptr;
  CADDlgCheckButton* toAll_ = nullptr;
  CADDlgPushButton* prev_ = nullptr;
  CADDlgPushButton* next_ = nullptr;
};
