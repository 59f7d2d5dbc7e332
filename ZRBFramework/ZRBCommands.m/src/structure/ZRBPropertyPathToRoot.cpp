#include "ZRBPropertyPathToRoot.h"

#include "ZRBPropertyRecordIndex.h"

void ZRBPropertyPathToRoot::SetPathToRoot(const CADUnicodeString& path) {
  ZRBPropertyRecordIndex::KeyChange change(*this, StoreIndex());
  path_ = path;
  hash_ = HashKey(path.view());
}
