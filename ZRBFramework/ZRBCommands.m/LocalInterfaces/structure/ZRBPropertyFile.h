// PDM attributes of one document file (identity, archive membership, last
// known modification time ...), keyed by the file's full path.
#pragma once

#include <cstdint>

#include "ZRBPropertyContainer.h"

class ZRBPropertyFile : public ZRBPropertyContainer {
 public:
  ZRBPropertyFile() = default;
  explicit ZRBPropertyFile(const CADUnicodeString& fullPath)
      : fullPath_(fullPath), fileNameHash_(HashOfPath(fullPath)) {}
  ZRBPropertyFile(const ZRBPropertyFile&) = default;
  // Assigning over a stored record would change its key behind the store.
  ZRBPropertyFile& operator=(const ZRBPropertyFile&) = delete;

  // --- key (the setter keeps the owning store's index current)
  const CADUnicodeString& GetFullPath() const { return fullPath_; }
  void SetFullPath(const CADUnicodeString& fullPath);
  // Hash of the file-name part: equivalent spellings of one path share it.
  std::uint64_t GetKeyHash() const { return fileNameHash_; }
  static std::uint64_t HashOfPath(const CADUnicodeString& fullPath);

  // --- integrity check
  bool IsMarkedForRemoval() const { return removeMark_; }
  void SetRemovalMark(bool mark) { removeMark_ = mark; }

 private:
  CADUnicodeString fullPath_;
  std::uint64_t fileNameHash_ = HashKey("");
  bool removeMark_ = false;
};
