// A check button; the user toggling it fires CADDlgEvent::CheckChanged (setting it from code does not).
#pragma once

#include "CADDialog.h"

enum CADDlgCheckState : int { CADDlgUncheck = 0, CADDlgCheck = 1 };

class CADDlgCheckButton : public CADDialog {
 public:
  CADDlgCheckButton(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDialog(parent, identifier), style_(style) {}
  const char* GetKind() const override { return "CheckButton"; }
  unsigned long GetStyle() const { return style_; }

  void SetState(CADDlgCheckState state) { checked_ = state == CADDlgCheck; }
  CADDlgCheckState GetState() const { return checked_ ? CADDlgCheck : CADDlgUncheck; }

 private:
  unsigned long style_;
  bool checked_ = false;
};
