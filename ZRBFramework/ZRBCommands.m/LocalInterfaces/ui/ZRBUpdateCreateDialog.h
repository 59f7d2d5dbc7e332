// The window of the update/create job list: the rows with their marker, part number, part type, kind,
// operation, execute flag and result; the buttons Edit, Validate, Info, AutoStep and Close; the single-step
// check; the trace pane and the status icon. Everything it shows is rendered from the job list after each
// change; every control has an identifier, so a script drives it as a designer would.
#pragma once

#include <functional>

#include "CADDlgDialog.h"

class CADDlgCheckButton;
class CADDlgEditor;
class CADDlgLabel;
class CADDlgMultiList;
class CADDlgPushButton;
class ZRBSyncJobList;
class ZRBSyncRunner;

// User-interface thread only. The list and the runner belong to the command that opened the dialog.
class ZRBUpdateCreateDialog : public CADDlgDialog {
 public:
  // `closed` runs once when the window closes (the command ends then).
  ZRBUpdateCreateDialog(ZRBSyncJobList& jobs, ZRBSyncRunner& runner, std::function<void()> closed,
                        const char* identifier = "ZRBUpdateCreateDialog");
  // The command is going (its list with it): the window closes without calling back.
  void ForgetCommand();

  // --- handlers
  void OnAutoStepBtnPush();
  void OnValidateBtn();
  void OnEditBtn();
  void OnInfoBtn();
  void OnJobMultiListListItemSelect();
  void OnJobMultiListListActivate();
  void CloseWindow();

  // --- display
  void Refresh();
  void UpdateButtonsAndIcons();
  int SelectedRow() const;
  // Deletes the temporary properties the filling and the rows left on the listed products.
  void RemoveAllTempProps();

  CADListValCADString GetResourceFilename() const override;

 private:
  ZRBSyncJobList& jobs_;
  ZRBSyncRunner* runner_;
  std::function<void()> closed_;
  CADDlgMultiList* list_ = nullptr;  // controls: owned by the dialog's tree
  CADDlgPushButton* edit_ = nullptr;
  CADDlgPushButton* validate_ = nullptr;
  CADDlgPushButton* info_ = nullptr;
  CADDlgPushButton* autoStep_ = nullptr;
  CADDlgCheckButton* singleStep_ = nullptr;
  CADDlgEditor* trace_ = nullptr;
  CADDlgLabel* icon_ = nullptr;
};
