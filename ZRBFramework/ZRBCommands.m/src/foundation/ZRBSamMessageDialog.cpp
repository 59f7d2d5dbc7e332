#include "ZRBSamMessageDialog.h"

CADListValCADString ZRBSamMessageDialog::GetResourceFilename() const {
  return CADListValCADString{"ZRBSamMessageDialog", "ZRBMessageDialog"};
}
