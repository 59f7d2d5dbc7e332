// A frame that groups controls; hiding or disabling it hides or disables what it holds.
#pragma once

#include "CADDialog.h"

class CADDlgFrame : public CADDialog {
 public:
  CADDlgFrame(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDialog(parent, identifier), style_(style) {}
  const char* GetKind() const override { return "Frame"; }
  unsigned long GetStyle() const { return style_; }

 private:
  unsigned long style_;
};
