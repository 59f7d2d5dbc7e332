#include "ZRBSamMessageDialog.h"

#include "ZRBConfigTopicManager.h"

ZRBSamMessageDialog::ZRBSamMessageDialog(CADDialog* parent) : ZRBMessageDialog(parent, "ZRBSamMessageDialog") {
  // What the dialog reads while it is up is the SAM client's configuration.
  g_ZRBConfig.SetModulePrefix("SAM_");
}

CADListValCADString ZRBSamMessageDialog::GetResourceFilename() const {
  return CADListValCADString{"ZRBSamMessageDialog", "ZRBMessageDialog"};
}
