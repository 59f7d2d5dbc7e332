// A static text or icon of a dialog (titles, status texts, spacers, status icons).
#pragma once

#include "CADDialog.h"

class CADDlgLabel : public CADDialog {
 public:
  CADDlgLabel(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDialog(parent, identifier), style_(style) {}
  const char* GetKind() const override { return "Label"; }
  unsigned long GetStyle() const { return style_; }

 private:
  unsigned long style_;
};
