// The message centre of the SAM client: the same dialog under its own identifier and resource file.
#pragma once

#include "ZRBMessageDialog.h"

class ZRBSamMessageDialog : public ZRBMessageDialog {
 public:
  // Puts the configuration service under the SAM client's prefix "SAM_".
  explicit ZRBSamMessageDialog(CADDialog* parent);
  CADListValCADString GetResourceFilename() const override;
};
