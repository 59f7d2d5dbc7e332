#include "CADDlgTabPage.h"

#include "CADDlgTabContainer.h"

CADDlgTabPage::CADDlgTabPage(CADDlgTabContainer* parent, const CADString& identifier, unsigned long style)
    : CADDialog(parent, identifier), container_(parent), style_(style) {
  if (container_) container_->PageAdded(this);
}

CADDlgTabPage::~CADDlgTabPage() {
  if (container_) container_->PageRemoved(this);
}

bool CADDlgTabPage::IsSelected() const { return container_ && container_->GetSelectedPage() == this; }

bool CADDlgTabPage::IsShownInParent() const { return CADDialog::IsShownInParent() && IsSelected(); }
