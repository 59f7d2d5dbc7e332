#include "CADDlgTabContainer.h"

#include "CADDlgTabPage.h"

void CADDlgTabContainer::SetSelectedPage(CADDlgTabPage* page) {
  if (page && page->GetContainer() != this) return;
  selected_ = page;
}

std::vector<CADDlgTabPage*> CADDlgTabContainer::GetPages() const {
  std::vector<CADDlgTabPage*> pages;
  for (CADDialog* child : GetChildren())
    if (auto* page = dynamic_cast<CADDlgTabPage*>(child)) pages.push_back(page);
  return pages;
}

void CADDlgTabContainer::PageAdded(CADDlgTabPage* page) {
  if (!selected_) selected_ = page;
}

void CADDlgTabContainer::PageRemoved(CADDlgTabPage* page) {
  if (selected_ != page) return;
  selected_ = nullptr;
  for (CADDlgTabPage* other : GetPages())
    if (other != page) {
      selected_ = other;
      break;
    }
}
