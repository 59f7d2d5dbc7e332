#include "ZRBPropertyInstance.h"

#include "ZRBPropertyRecordIndex.h"

void ZRBPropertyInstance::SetParentId(int id) {
  ZRBPropertyRecordIndex::KeyChange change(*this, StoreIndex());
  parentId_ = id;
}

void ZRBPropertyInstance::SetChildInstanceName(const CADUnicodeString& name) {
  ZRBPropertyRecordIndex::KeyChange change(*this, StoreIndex());
  childInstanceName_ = name;
  nameHash_ = HashKey(name.view());
}

void ZRBPropertyInstance::SetChildId(int id) {
  ZRBPropertyRecordIndex::KeyChange change(*this, StoreIndex());
  childId_ = id;
}
