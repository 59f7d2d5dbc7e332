#include "FileStore.h"

#include "ExchangeFile.h"
#include "PdmError.h"

namespace pdmsim {

std::string FileStore::PutFile(const std::string& sourcePath, std::int64_t& size) {
  std::string bytes;
  std::string error;
  if (!ReadWholeFile(sourcePath, bytes, &error)) throw PdmError(error);
  size = static_cast<std::int64_t>(bytes.size());
  return PutBytes(bytes);
}

std::string FileStore::PutBytes(std::string_view bytes) {
  std::string blob = vault_.NewObid("BL");
  std::string error;
  if (!WriteFileAtomic(PathOf(blob), bytes, &error)) throw PdmError("file store: " + error);
  return blob;
}

std::string FileStore::PathOf(std::string_view blob) const { return vault_.StoreDirectory() + "/" + std::string(blob); }

bool FileStore::CopyTo(std::string_view blob, const std::string& destination, std::string* error) const {
  std::string bytes;
  if (!ReadWholeFile(PathOf(blob), bytes, error)) return false;
  return WriteFileAtomic(destination, bytes, error, false);
}

}  // namespace pdmsim
