// The dialog of the reset-invalid-positions command: one line per new instance away from the identity
// (mark, parent part number, child part number, instance name); the designer toggles the marks, OK moves the
// instances marked "yes" to the identity. The dialog owns the messages it gathers and hands them, with the
// result, to the continuation its command gave it, because the command that opened it has ended by then.
#pragma once

#include <functional>

#include "CADDlgDialog.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class CADDlgMultiList;
class CADDlgPushButton;

// User-interface thread only.
class ZRBResetPosDialog : public CADDlgDialog {
 public:
  // Called once when the dialog closes: 1 every chosen instance was reset, 0 otherwise; the messages gathered.
  using Continuation = std::function<void(int result, CADListValCADUnicodeString& messages)>;

  // --- lifecycle: builds and shows the dialog when the lists are not empty (the three lists have one entry
  // per instance, in the order the structure check filled them).
  ZRBResetPosDialog(const CADListValCADUnicodeString& parentPartNumbers,
                    const CADListValCADUnicodeString& childPartNumbers, const CADListValCADUnicodeString& instanceNames,
                    Continuation continuation);
  bool IsBuilt() const { return list_ != nullptr; }

  // --- lines
  void PosAddRelation(const CADUnicodeString& parentPartNumber, const CADUnicodeString& childPartNumber,
                      const CADUnicodeString& instanceName);
  void PosToggleLine();
  const CADUnicodeString& GetYesText() const { return yes_; }
  const CADUnicodeString& GetNoText() const { return no_; }

  // --- handlers
  void OnMatrixMultiListListItemSelect();
  void OnOKNotification();
  void OnCANCELNotification();

  // Moves the new instances below `product` (depth first, archive roots not entered) whose parent part number,
  // part number and instance name are the line's to the identity; `matched` counts them. 1 when every move
  // succeeded.
  static int ResetPosition(const CADIProduct_var& product, const CADUnicodeString& parentPartNumber,
                           const CADUnicodeString& childPartNumber, const CADUnicodeString& instanceName, int& matched);

  CADListValCADString GetResourceFilename() const override;

 private:
  void Finish(int result);

  CADDlgMultiList* list_ = nullptr;  // owned by the dialog's tree
  CADDlgPushButton* toggle_ = nullptr;
  CADUnicodeString yes_;
  CADUnicodeString no_;
  CADListValCADUnicodeString messages_;
  Continuation continuation_;
};
