// Properties of one parent/child instance, keyed by the parent's reference
// Id and the child's instance name; ChildId names the child's reference
// record once it is known (0 before).
#pragma once

#include <cstdint>

#include "ZRBPropertyContainer.h"

class ZRBPropertyInstance : public ZRBPropertyContainer {
 public:
  ZRBPropertyInstance() = default;
  ZRBPropertyInstance(int parentId, const CADUnicodeString& childInstanceName) : parentId_(parentId) {
    SetChildInstanceName(childInstanceName);
  }

  // --- key
  int GetParentId() const { return parentId_; }
  void SetParentId(int id) { parentId_ = id; }
  const CADUnicodeString& GetChildInstanceName() const { return childInstanceName_; }
  void SetChildInstanceName(const CADUnicodeString& name) {
    childInstanceName_ = name;
    nameHash_ = HashKey(name.view());
  }
  bool HasKey(int parentId, const CADUnicodeString& name, std::uint64_t hash) const {
    return parentId == parentId_ && hash == nameHash_ && name == childInstanceName_;
  }

  // --- child
  int GetChildId() const { return childId_; }
  void SetChildId(int id) { childId_ = id; }

 private:
  int parentId_ = 0;
  int childId_ = 0;
  CADUnicodeString childInstanceName_;
  std::uint64_t nameHash_ = HashKey("");
};
