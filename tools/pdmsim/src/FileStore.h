// The vault's file store: the bytes of every document version, one file per
// blob in "store/". Blobs are written once and never changed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Vault.h"

namespace pdmsim {

class FileStore {
 public:
  explicit FileStore(Vault& vault) : vault_(vault) {}

  // Stores a copy of the file and returns the new blob's name; size set.
  std::string PutFile(const std::string& sourcePath, std::int64_t& size);
  std::string PutBytes(std::string_view bytes);
  std::string PathOf(std::string_view blob) const;
  // Copies a blob to destination through a temporary file and a rename
  // (a delivery: atomic, not flushed to disk).
  bool CopyTo(std::string_view blob, const std::string& destination, std::string* error) const;

 private:
  Vault& vault_;
};

}  // namespace pdmsim
