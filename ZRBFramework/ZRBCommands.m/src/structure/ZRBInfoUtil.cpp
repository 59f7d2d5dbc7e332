#include "ZRBInfoUtil.h"

namespace {
CADString& UseDesignTables() {
  static CADString value;
  return value;
}
CADString& DataModel() {
  static CADString value;
  return value;
}
}  // namespace

int ZRBInfoUtil::SetUseDesigTables(const int flag) {
  UseDesignTables() = flag ? "ON" : "OFF";
  return 1;
}

const CADString& ZRBInfoUtil::GetUseDesignTables() { return UseDesignTables(); }

void ZRBInfoUtil::SetDataModelValue(const CADString& value) { DataModel() = value; }

const CADString& ZRBInfoUtil::GetDataModelValue() { return DataModel(); }

void ZRBInfoUtil::ResetForTests() {
  UseDesignTables() = CADString();
  DataModel() = CADString();
}
