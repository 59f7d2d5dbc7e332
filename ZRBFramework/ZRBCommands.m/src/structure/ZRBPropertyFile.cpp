#include "ZRBPropertyFile.h"

#include "ZRBPropertyRecordIndex.h"

void ZRBPropertyFile::SetFullPath(const CADUnicodeString& fullPath) {
  ZRBPropertyRecordIndex::KeyChange change(*this, StoreIndex());
  fullPath_ = fullPath;
  fileNameHash_ = HashOfPath(fullPath);
}

std::uint64_t ZRBPropertyFile::HashOfPath(const CADUnicodeString& fullPath) {
  std::string_view path = fullPath.view();
  auto slash = path.rfind('/');
  return HashKey(slash == std::string_view::npos ? path : path.substr(slash + 1));
}
