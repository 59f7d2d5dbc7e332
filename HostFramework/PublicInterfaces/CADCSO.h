// An editor's current selection: an ordered set of path elements.
#pragma once

#include <vector>

#include "CADPathElement.h"

class CADCSO {
 public:
  void Empty() {
    elements_.clear();
    ++changes_;
  }
  // Adds a path; a path already selected is not added twice.
  void AddElement(const CADPathElement& path) {
    if (path.IsEmpty()) return;
    for (const CADPathElement& e : elements_)
      if (e == path) return;
    elements_.push_back(path);
    ++changes_;
  }
  int GetSize() const { return static_cast<int>(elements_.size()); }
  // Element i (1-based); null out of range.
  const CADPathElement* GetElement(int i) const {
    if (i < 1 || i > GetSize()) return nullptr;
    return &elements_[static_cast<size_t>(i - 1)];
  }
  // Grows by one on every change, so observers can tell that it changed.
  unsigned long GetChangeCount() const { return changes_; }

 private:
  std::vector<CADPathElement> elements_;
  unsigned long changes_ = 0;
};
