// The instance links of a structure whose entries in the PDM workbench must be brought up to date, and the
// top-level items shown there; turned into the workbench update request ("UpdWbfile.zrb").
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBObjectManager;

class ZRBInstanceList {
 public:
  // One child instance; a parent OBID of "ROOT" records a top-level item (OBID, database name, class name).
  void Append(const CADUnicodeString& parentObid, const CADUnicodeString& parentDbName, const CADUnicodeString& relObid,
              const CADUnicodeString& relDbName, const CADUnicodeString& obid, const CADUnicodeString& dbName,
              const CADUnicodeString& className, const CADUnicodeString& operation,
              const CADUnicodeString& matrixIndex);
  // A top-level product: an archive root by its file's identity, otherwise by its reference's.
  void AppendTopLevel(const CADIProduct_var& product);
  int Empty() const { return lists_[0].Size() == 0 && top_[0].Size() == 0 ? 1 : 0; }
  int Size() const { return lists_[0].Size(); }
  // "ROOT", then one object per instance from the last to the first chained by "NEXT_OP", then one object per
  // top-level item listed in "ROOT"'s "TOP_LEVEL". 1 done.
  int BuildObjMgrForUpdateWB(ZRBObjectManager& request) const;
  void Dump() const;

 private:
  static constexpr int kInstanceFields = 9;
  CADListValCADUnicodeString lists_[kInstanceFields];
  CADListValCADUnicodeString top_[3];
};
