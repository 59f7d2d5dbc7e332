// Properties of one position in a structure, keyed by its path-to-root
// string ("/Root.1/Sub.1/Part.2").
#pragma once

#include <cstdint>

#include "ZRBPropertyContainer.h"

class ZRBPropertyPathToRoot : public ZRBPropertyContainer {
 public:
  ZRBPropertyPathToRoot() = default;
  explicit ZRBPropertyPathToRoot(const CADUnicodeString& path) : path_(path), hash_(HashKey(path.view())) {}
  ZRBPropertyPathToRoot(const ZRBPropertyPathToRoot&) = default;
  // Assigning over a stored record would change its key behind the store.
  ZRBPropertyPathToRoot& operator=(const ZRBPropertyPathToRoot&) = delete;

  // --- key (the setter keeps the owning store's index current)
  const CADUnicodeString& GetPathToRoot() const { return path_; }
  void SetPathToRoot(const CADUnicodeString& path);
  bool HasKey(const CADUnicodeString& path, std::uint64_t hash) const { return hash == hash_ && path == path_; }
  std::uint64_t GetKeyHash() const { return hash_; }

 private:
  CADUnicodeString path_;
  std::uint64_t hash_ = HashKey("");
};
