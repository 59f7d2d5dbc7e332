// The message centre of the SAM client: the same dialog under its own identifier and resource file.
#pragma once

#include "ZRBMessageDialog.h"

class ZRBSamMessageDialog : public ZRBMessageDialog {
 public:
  explicit ZRBSamMessageDialog(CADDialog* parent) : ZRBMessageDialog(parent, "ZRBSamMessageDialog") {}
  CADListValCADString GetResourceFilename() const override;
};
