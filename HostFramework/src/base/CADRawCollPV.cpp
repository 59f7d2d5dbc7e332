#include "CADRawCollPV.h"

#include <algorithm>
#include <string>

namespace {
void CheckIndex(int i, int size) {
  if (i < 1 || i > size) {
    std::string what = "CADRawCollPV: index " + std::to_string(i) + " out of range 1.." + std::to_string(size);
    cadhost::FailFast(what.c_str());
  }
}
}  // namespace

void* CADRawCollPV::operator[](int i) const {
  CheckIndex(i, Size());
  return items_[static_cast<size_t>(i - 1)];
}

void CADRawCollPV::InsertAt(int i, void* p) {
  CheckIndex(i, Size() + 1);
  items_.insert(items_.begin() + (i - 1), p);
}

void CADRawCollPV::RemovePosition(int i) {
  CheckIndex(i, Size());
  items_.erase(items_.begin() + (i - 1));
}

int CADRawCollPV::Locate(void* p) const {
  auto it = std::find(items_.begin(), items_.end(), p);
  return it == items_.end() ? 0 : static_cast<int>(it - items_.begin()) + 1;
}

void CADRawCollPV::QuickSort(Comparator compare) {
  if (!compare) return;
  std::stable_sort(items_.begin(), items_.end(), [compare](void* a, void* b) { return compare(a, b) < 0; });
}
