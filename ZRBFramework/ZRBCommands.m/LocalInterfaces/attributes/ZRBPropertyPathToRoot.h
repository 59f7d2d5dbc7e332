// Properties of one position in a structure, keyed by its path-to-root
// string ("/Root.1/Sub.1/Part.2").
#pragma once

#include <cstdint>

#include "ZRBPropertyContainer.h"

class ZRBPropertyPathToRoot : public ZRBPropertyContainer {
 public:
  ZRBPropertyPathToRoot() = default;
  explicit ZRBPropertyPathToRoot(const CADUnicodeString& path) { SetPathToRoot(path); }

  const CADUnicodeString& GetPathToRoot() const { return path_; }
  void SetPathToRoot(const CADUnicodeString& path) {
    path_ = path;
    hash_ = HashKey(path.view());
  }
  bool HasKey(const CADUnicodeString& path, std::uint64_t hash) const { return hash == hash_ && path == path_; }

 private:
  CADUnicodeString path_;
  std::uint64_t hash_ = HashKey("");
};
