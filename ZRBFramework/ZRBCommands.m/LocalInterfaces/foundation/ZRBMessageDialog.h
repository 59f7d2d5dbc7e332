// The message centre: a non-modal dialog on the main window with a status line and icon, a warnings page and an
// informations page, and an output box that shows the selected line in full.
#pragma once

#include "CADDlgDialog.h"
#include "CADListVal.h"

class CADDlgEditor;
class CADDlgFrame;
class CADDlgLabel;
class CADDlgSelectorList;
class CADDlgTabContainer;
class CADDlgTabPage;

class ZRBMessageDialog : public CADDlgDialog {
 public:
  enum Page { WarningPage = 0, InformationPage = 1 };

  // --- lifecycle: a child of `parent` (the main window); closing it (Close or the window manager) destroys it.
  explicit ZRBMessageDialog(CADDialog* parent);
  ~ZRBMessageDialog() override;

  // --- building: the same controls; the variants differ in the status icon only.
  void Build();   // "ZRBStatusIcon" (success)
  void Build2();  // "ZRBStatusIcon2" (failure)
  void Build3();  // "ZRBStatusIcon3" (the other variant of either)

  // --- filling (nothing happens before a Build)
  void SetStatusMessage(const CADUnicodeString& text);
  // One list line per line of the text.
  virtual void AddWarning(const CADUnicodeString& text);
  virtual void AddInformation(const CADUnicodeString& text);
  // Makes the warning page (0) or the information page (1) insensitive.
  void DisableTabPage(int page);
  // Selects the warning page if it is sensitive, else the information page if it is.
  void SetActualPage();

  // --- output box
  // Shows `text` wrapped to the box's width (see WrapText).
  void SetOutBoxText(const CADUnicodeString& text);
  void ClearOutBoxText();
  // Lines of at most about `width` characters, broken after the last blank once the width is reached; a text
  // without blanks is never broken; a text shorter than the width is one line.
  static CADListValCADUnicodeString WrapText(const CADUnicodeString& text, int width);

  CADListValCADString GetResourceFilename() const override;

 protected:
  // The identifier the dialog is created with.
  ZRBMessageDialog(CADDialog* parent, const CADString& identifier);
  // A list line was chosen (row -1: the selection was cleared).
  virtual void OnLineSelected(Page page, int row);
  CADDlgSelectorList* GetList(Page page) const { return page == WarningPage ? warningList_ : informationList_; }
  bool IsBuilt() const { return tabs_ != nullptr; }

 private:
  void BuildWithIcon(const char* icon);
  void AddLines(CADDlgSelectorList* list, const CADUnicodeString& text);
  void OnSelect(Page page);

  // Controls, owned by the dialog's tree; null before Build. User-interface thread only.
  CADDlgTabContainer* tabs_ = nullptr;
  CADDlgTabPage* warningPage_ = nullptr;
  CADDlgTabPage* informationPage_ = nullptr;
  CADDlgSelectorList* warningList_ = nullptr;
  CADDlgSelectorList* informationList_ = nullptr;
  CADDlgFrame* statusBox_ = nullptr;
  CADDlgLabel* statusIcon_ = nullptr;
  CADDlgLabel* statusText_ = nullptr;
  CADDlgEditor* outputBox_ = nullptr;
};
