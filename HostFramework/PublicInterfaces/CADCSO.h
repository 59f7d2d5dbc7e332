// An editor's current selection: an ordered set of path elements. Subscribers hear of every change at once
// (the host's "CADCSOChangeNotification"), synchronously, in subscription order.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "CADPathElement.h"

class CADCSO {
 public:
  void Empty() {
    elements_.clear();
    Changed();
  }
  // Adds a path; a path already selected is not added twice.
  void AddElement(const CADPathElement& path) {
    if (path.IsEmpty()) return;
    for (const CADPathElement& e : elements_)
      if (e == path) return;
    elements_.push_back(path);
    Changed();
  }
  int GetSize() const { return static_cast<int>(elements_.size()); }
  // Element i (1-based); null out of range.
  const CADPathElement* GetElement(int i) const {
    if (i < 1 || i > GetSize()) return nullptr;
    return &elements_[static_cast<size_t>(i - 1)];
  }
  // Grows by one on every change, so observers can tell that it changed.
  unsigned long GetChangeCount() const { return changes_; }

  // --- change notifications; the id is for Unsubscribe. A subscriber may unsubscribe from its callback.
  int Subscribe(std::function<void()> callback) {
    subscribers_.emplace_back(++nextId_, std::move(callback));
    return nextId_;
  }
  void Unsubscribe(int id) {
    for (auto& s : subscribers_)
      if (s.first == id) s.second = nullptr;
  }

 private:
  void Changed() {
    ++changes_;
    // By index and on copies: a callback may subscribe or unsubscribe.
    for (size_t i = 0; i < subscribers_.size(); ++i) {
      std::function<void()> callback = subscribers_[i].second;
      if (callback) callback();
    }
  }

  std::vector<CADPathElement> elements_;
  unsigned long changes_ = 0;
  std::vector<std::pair<int, std::function<void()>>> subscribers_;
  int nextId_ = 0;
};
