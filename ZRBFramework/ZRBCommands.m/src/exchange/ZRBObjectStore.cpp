#include "ZRBObjectStore.h"

#include <new>
#include <utility>

#include "ZRBObject.h"

ZRBObjectStore::ZRBObjectStore()
    : objectArena_(std::make_unique<ZRBObjectArena>()), textArena_(std::make_unique<ZRBObjectArena>()) {}

ZRBObjectStore::~ZRBObjectStore() { Clear(); }

void ZRBObjectStore::Swap(ZRBObjectStore& other) noexcept {
  objectArena_.swap(other.objectArena_);
  textArena_.swap(other.textArena_);
  objects_.swap(other.objects_);
}

ZRBObject* ZRBObjectStore::Create(CADString key) {
  void* memory = objectArena_->allocate(sizeof(ZRBObject), alignof(ZRBObject));
  ZRBObject* object = new (memory) ZRBObject(std::move(key), textArena_.get());
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
  objectArena_->Reset();
  textArena_->Reset();
}
