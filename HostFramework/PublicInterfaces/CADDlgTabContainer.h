// A tab container: shows one of its pages at a time. The user choosing a page fires
// CADDlgEvent::SelectionChanged on the container.
#pragma once

#include <vector>

#include "CADDialog.h"

class CADDlgTabPage;

class CADDlgTabContainer : public CADDialog {
 public:
  CADDlgTabContainer(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDialog(parent, identifier), style_(style) {}
  ~CADDlgTabContainer() override { DeleteChildren(); }
  const char* GetKind() const override { return "TabContainer"; }
  unsigned long GetStyle() const { return style_; }

  // The first page added is selected until another is chosen.
  void SetSelectedPage(CADDlgTabPage* page);
  CADDlgTabPage* GetSelectedPage() const { return selected_; }
  std::vector<CADDlgTabPage*> GetPages() const;

 private:
  friend class CADDlgTabPage;
  void PageAdded(CADDlgTabPage* page);
  void PageRemoved(CADDlgTabPage* page);

  unsigned long style_;
  CADDlgTabPage* selected_ = nullptr;
};
