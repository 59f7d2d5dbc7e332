#include "ZRBInfoUtil.h"

namespace {
CADString& UseDesignTables() {
  static CADString value;
  return value;
}
}  // namespace

int ZRBInfoUtil::SetUseDesigTables(const int flag) {
  UseDesignTables() = flag ? "ON" : "OFF";
  return 1;
}

const CADString& ZRBInfoUtil::GetUseDesignTables() { return UseDesignTables(); }

void ZRBInfoUtil::ResetForTests() { UseDesignTables() = CADString(); }
