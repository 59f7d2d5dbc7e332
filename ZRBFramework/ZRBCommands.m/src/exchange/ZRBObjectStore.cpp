#include "ZRBObjectStore.h"

#include <new>
#include <utility>

#include "ZRBObject.h"

ZRBObjectStore::ZRBObjectStore() : arena_(std::make_unique<ZRBObjectArena>()) {}

ZRBObjectStore::~ZRBObjectStore() { Clear(); }

void ZRBObjectStore::Swap(ZRBObjectStore& other) noexcept {
  arena_.swap(other.arena_);
  objects_.swap(other.objects_);
}

ZRBObject* ZRBObjectStore::Create(CADString key) {
  void* memory = arena_->allocate(sizeof(ZRBObject), alignof(ZRBObject));
  ZRBObject* object = new (memory) ZRBObject(std::move(key), arena_.get());
  objects_.push_back(object);
  return object;
}

void ZRBObjectStore::PopBack() {
  if (objects_.empty()) return;
  objects_.back()->~ZRBObject();  // its memory stays in the arena until Clear
  objects_.pop_back();
}

void ZRBObjectStore::Clear() {
  for (ZRBObject* object : objects_) object->~ZRBObject();
  objects_.clear();
  arena_->Reset();
}
