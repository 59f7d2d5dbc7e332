// Properties of one parent/child instance, keyed by the parent's reference
// Id and the child's instance name; ChildId names the child's reference
// record once it is known (0 before).
#pragma once

#include <cstdint>

#include "ZRBPropertyContainer.h"

class ZRBPropertyInstance : public ZRBPropertyContainer {
 public:
  ZRBPropertyInstance() = default;
  ZRBPropertyInstance(int parentId, const CADUnicodeString& childInstanceName)
      : parentId_(parentId), childInstanceName_(childInstanceName), nameHash_(HashKey(childInstanceName.view())) {}
  ZRBPropertyInstance(const ZRBPropertyInstance&) = default;
  // Assigning over a stored record would change its key behind the store.
  ZRBPropertyInstance& operator=(const ZRBPropertyInstance&) = delete;

  // --- key (setters keep the owning store's index current)
  int GetParentId() const { return parentId_; }
  void SetParentId(int id);
  const CADUnicodeString& GetChildInstanceName() const { return childInstanceName_; }
  void SetChildInstanceName(const CADUnicodeString& name);
  bool HasKey(int parentId, const CADUnicodeString& name, std::uint64_t hash) const {
    return parentId == parentId_ && hash == nameHash_ && name == childInstanceName_;
  }
  // Hash of the whole key; `nameHash` is HashKey of the instance name.
  static std::uint64_t KeyHash(int parentId, std::uint64_t nameHash) {
    return nameHash ^ (static_cast<std::uint64_t>(static_cast<unsigned>(parentId)) * 0x9E3779B97F4A7C15ull);
  }
  std::uint64_t GetKeyHash() const { return KeyHash(parentId_, nameHash_); }

  // --- child
  int GetChildId() const { return childId_; }
  void SetChildId(int id);

 private:
  int parentId_ = 0;
  int childId_ = 0;
  CADUnicodeString childInstanceName_;
  std::uint64_t nameHash_ = HashKey("");
};
