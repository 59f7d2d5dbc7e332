// The host's modal message box. There is no nested event loop: DisplayBlocked takes its answer from the
// process-wide box script (CADDlgBoxScript), which records every box shown.
#pragma once

#include "CADDlgDialog.h"

// Style flags of this host's message boxes; callers pass their numbers through unchanged and other bits are
// kept as given.
enum CADDlgNotifyStyle : unsigned long {
  CADDlgNfyOK = 0x00000200,           // an OK button
  CADDlgNfyOKCancel = 0x00100000,     // OK and Cancel buttons
  CADDlgNfyYesNo = 0x00800000,        // Yes and No buttons
  CADDlgNfyQuestion = 0x02000000,     // question icon
  CADDlgNfyInformation = 0x04000000,  // information icon
  CADDlgNfyError = 0x08000000,        // error icon
  CADDlgNfyWarning = 0x10000000,      // warning icon
};

// The button that closed a box, as DisplayBlocked returns it. Callers rely on 3 and 4.
enum CADDlgNotifyAnswer : int {
  CADDlgNfyAnswerOK = 1,
  CADDlgNfyAnswerCancel = 2,
  CADDlgNfyAnswerYes = 3,  // yes / continue
  CADDlgNfyAnswerNo = 4,   // no / stop
};

class CADDlgNotify : public CADDlgDialog {
 public:
  CADDlgNotify(CADDialog* parent, const CADString& identifier, unsigned long style = CADDlgNfyOK)
      : CADDlgDialog(parent, identifier, style) {}
  const char* GetKind() const override { return "Notify"; }

  // Shows the box and returns the button that closed it (a CADDlgNotifyAnswer).
  int DisplayBlocked(const CADUnicodeString& text, const CADUnicodeString& title);
  const CADUnicodeString& GetText() const { return text_; }

 private:
  CADUnicodeString text_;
};
