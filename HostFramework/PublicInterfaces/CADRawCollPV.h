// The host's 1-based collection of untyped pointers. It never owns what it
// points at: the caller frees the elements.
#pragma once

#include <vector>

#include "CADBaseTypes.h"

class CADRawCollPV {
 public:
  using Comparator = int (*)(void* a, void* b);  // <0, 0, >0 like strcmp

  int Size() const { return static_cast<int>(items_.size()); }
  void Append(void* p) { items_.push_back(p); }
  void* operator[](int i) const;  // 1-based
  void InsertAt(int i, void* p);  // 1..Size()+1
  void RemovePosition(int i);
  int Locate(void* p) const;  // 0 when absent
  void RemoveAll() { items_.clear(); }
  // Stable sort by the comparator.
  void QuickSort(Comparator compare);

 private:
  std::vector<void*> items_;
};
