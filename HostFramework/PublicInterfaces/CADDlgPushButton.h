// A push button; pressing it fires CADDlgEvent::Push.
#pragma once

#include "CADDialog.h"

class CADDlgPushButton : public CADDialog {
 public:
  CADDlgPushButton(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDialog(parent, identifier), style_(style) {}
  const char* GetKind() const override { return "PushButton"; }
  unsigned long GetStyle() const { return style_; }

 private:
  unsigned long style_;
};
