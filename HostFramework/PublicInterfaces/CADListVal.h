// The host's 1-based value lists (CADListValCADString ...). An index out of
// range ends the process with a message instead of reading garbage.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "CADBaseTypes.h"
#include "CADString.h"
#include "CADUnicodeString.h"

template <class T>
class CADListVal {
 public:
  CADListVal() = default;
  CADListVal(std::initializer_list<T> items) : items_(items) {}

  int Size() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }

  void Append(const T& value) { items_.push_back(value); }
  void Append(const CADListVal& other) { items_.insert(items_.end(), other.items_.begin(), other.items_.end()); }

  // 1-based access.
  T& operator[](int i) {
    Check(i, Size());
    return items_[static_cast<size_t>(i - 1)];
  }
  const T& operator[](int i) const {
    Check(i, Size());
    return items_[static_cast<size_t>(i - 1)];
  }

  // Inserts so that the new value is at position i (1..Size()+1).
  void InsertAt(int i, const T& value) {
    Check(i, Size() + 1);
    items_.insert(items_.begin() + (i - 1), value);
  }
  void RemovePosition(int i) {
    Check(i, Size());
    items_.erase(items_.begin() + (i - 1));
  }
  // 1-based position of the first equal value, 0 when absent.
  int Locate(const T& value) const {
    auto it = std::find(items_.begin(), items_.end(), value);
    return it == items_.end() ? 0 : static_cast<int>(it - items_.begin()) + 1;
  }
  // Removes every equal value; returns how many were removed.
  int RemoveValue(const T& value) {
    auto before = items_.size();
    items_.erase(std::remove(items_.begin(), items_.end(), value), items_.end());
    return static_cast<int>(before - items_.size());
  }
  // Keeps the first of each run of equal values, in order.
  int RemoveDuplicates() {
    std::vector<T> kept;
    for (const T& v : items_)
      if (std::find(kept.begin(), kept.end(), v) == kept.end()) kept.push_back(v);
    int removed = static_cast<int>(items_.size() - kept.size());
    items_.swap(kept);
    return removed;
  }
  void RemoveAll() { items_.clear(); }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  const std::vector<T>& vector() const { return items_; }

  friend bool operator==(const CADListVal& a, const CADListVal& b) { return a.items_ == b.items_; }

 private:
  static void Check(int i, int size) {
    if (i < 1 || i > size) {
      std::string what = "CADListVal: index " + std::to_string(i) + " out of range 1.." + std::to_string(size);
      cadhost::FailFast(what.c_str());
    }
  }

  std::vector<T> items_;
};

using CADListValCADString = CADListVal<CADString>;
using CADListValCADUnicodeString = CADListVal<CADUnicodeString>;
