// One page of a tab container; its controls count as shown only while it is the selected page.
#pragma once

#include "CADDialog.h"

class CADDlgTabContainer;

class CADDlgTabPage : public CADDialog {
 public:
  // `parent` must be a CADDlgTabContainer.
  CADDlgTabPage(CADDlgTabContainer* parent, const CADString& identifier, unsigned long style = 0);
  ~CADDlgTabPage() override;
  const char* GetKind() const override { return "TabPage"; }
  unsigned long GetStyle() const { return style_; }
  CADDlgTabContainer* GetContainer() const { return container_; }
  bool IsSelected() const;

 protected:
  bool IsShownInParent() const override;

 private:
  CADDlgTabContainer* container_;
  unsigned long style_;
};
