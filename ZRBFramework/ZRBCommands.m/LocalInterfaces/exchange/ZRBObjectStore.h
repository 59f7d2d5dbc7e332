// The objects of one manager and the memory they live in: objects and their
// slot texts come from one growing arena that is given back in one piece, so
// clearing an answer of 100k objects costs no more than reading it.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "CADString.h"
#include "ZRBObjectArena.h"

class ZRBObject;

class ZRBObjectStore {
 public:
  // Lifecycle
  ZRBObjectStore();
  ~ZRBObjectStore();
  ZRBObjectStore(const ZRBObjectStore&) = delete;
  ZRBObjectStore& operator=(const ZRBObjectStore&) = delete;
  void Swap(ZRBObjectStore& other) noexcept;

  // A new empty object at the end of the list.
  ZRBObject* Create(CADString key);
  // Destroys the objects and gives their memory back.
  void Clear();

  std::size_t Size() const { return objects_.size(); }
  bool Empty() const { return objects_.empty(); }
  ZRBObject* operator[](std::size_t i) const { return objects_[i]; }  // 0-based
  ZRBObject* Back() const { return objects_.empty() ? nullptr : objects_.back(); }
  void Reserve(std::size_t count) { objects_.reserve(count); }
  auto begin() const { return objects_.begin(); }
  auto end() const { return objects_.end(); }
  // Drops the last object (one whose reading found no header).
  void PopBack();

 private:
  // On the heap: objects keep the address across Swap. The objects
  // themselves stand side by side in their own arena, apart from their texts,
  // so that walking or destroying them touches few cache lines.
  std::unique_ptr<ZRBObjectArena> objectArena_;
  std::unique_ptr<ZRBObjectArena> textArena_;
  std::vector<ZRBObject*> objects_;  // constructed in objectArena_, destroyed by Clear
};
