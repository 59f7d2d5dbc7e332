// A path through a product structure: the products from a root down to a
// node, root first. Selections and window activation take such paths.
#pragma once

#include <vector>

#include "CADBaseUnknown.h"
#include "CADIProduct.h"

class CADPathElement {
 public:
  CADPathElement() = default;
  explicit CADPathElement(const CADBaseUnknown_var& root) { AddChildElement(root); }

  // Appends the next level below the current leaf (a null object is ignored).
  void AddChildElement(const CADBaseUnknown_var& object) {
    if (object) elements_.push_back(object);
  }
  int GetSize() const { return static_cast<int>(elements_.size()); }
  bool IsEmpty() const { return elements_.empty(); }
  // Element i, 1 being the root; null out of range.
  CADBaseUnknown_var GetElement(int i) const {
    if (i < 1 || i > GetSize()) return nullptr;
    return elements_[static_cast<size_t>(i - 1)];
  }
  CADBaseUnknown_var GetLeaf() const { return elements_.empty() ? nullptr : elements_.back(); }
  // The leaf as a product; E_FAIL for an empty path or a leaf that is none.
  HRESULT GetLeafProduct(CADIProduct_var& product) const {
    product = CADIProduct_var(GetLeaf());
    return product ? S_OK : E_FAIL;
  }
  // Same objects at every level.
  friend bool operator==(const CADPathElement& a, const CADPathElement& b) {
    if (a.elements_.size() != b.elements_.size()) return false;
    for (size_t i = 0; i < a.elements_.size(); ++i)
      if (!a.elements_[i].IsEqual(b.elements_[i])) return false;
    return true;
  }

 private:
  std::vector<CADBaseUnknown_var> elements_;
};
