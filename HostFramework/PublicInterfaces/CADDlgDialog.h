// A dialog window of the host: the container of controls that the module's dialogs derive from. Knows its
// window buttons (from the style), default button, resource catalogs and whether it is open.
#pragma once

#include <vector>

#include "CADDialog.h"
#include "CADListVal.h"

// Window style flags of this host (other bits are kept as given).
enum CADDlgWndStyle : unsigned long {
  CADDlgWndGrid = 0x00000001,         // children placed on a grid
  CADDlgWndModal = 0x00400000,        // modal to its parent
  CADDlgWndBtnOKCancel = 0x02000000,  // OK and Cancel buttons
  CADDlgWndBtnClose = 0x10000000,     // a Close button
  CADDlgWndBtnOK = 0x20000000,        // an OK button alone
  CADDlgWndBtnApply = 0x40000000,     // an Apply button
};

// Window buttons, as events and as the values a default button is chosen by.
enum CADDlgWndButton : int {
  CADDlgWndButtonOK = 0x100,
  CADDlgWndButtonCancel = 0x200,
  CADDlgWndButtonApply = 0x400,
  CADDlgWndButtonClose = 0x800,
};

class CADDlgDialog : public CADDialog {
 public:
  // --- lifecycle
  CADDlgDialog(CADDialog* parent, const CADString& identifier, unsigned long style = 0);
  ~CADDlgDialog() override;

  CADDlgDialog* GetDialogWindow() override { return this; }
  bool IsWindow() const override { return true; }
  const char* GetKind() const override { return "Dialog"; }
  unsigned long GetStyle() const { return style_; }

  // --- window buttons
  bool HasWindowButton(CADDlgEvent button) const;
  void SetDefaultButton(int button) { defaultButton_ = button; }
  int GetDefaultButton() const { return defaultButton_; }

  // --- open and closed: a window is open while it is shown and not waiting for destruction.
  void SetVisibility(CADDlgVisibility state) override;
  bool IsOpen() const;
  // Open windows in the order they were first shown (the driver searches from the newest).
  static std::vector<CADDlgDialog*> GetOpenWindows();
  // Every live window, open or not, in creation order.
  static std::vector<CADDlgDialog*> GetAllWindows();

  // --- resources: the catalogs whose texts label this dialog, most specific first. A control without a title
  // takes "<path>.Title" from them when it is created ("Title" for the window itself).
  virtual CADListValCADString GetResourceFilename() const;
  CADUnicodeString LookupResourceText(const CADString& key, const CADUnicodeString& fallback = "") const;
  // Gives every object of the window without a title its catalog title; called by Build code after creating
  // the controls (harmless to call twice).
  void ApplyResourceTitles();

 private:
  unsigned long style_;
  int defaultButton_ = 0;
  long shownOrder_ = 0;
};
