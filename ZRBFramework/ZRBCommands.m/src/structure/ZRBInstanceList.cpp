#include "ZRBInstanceList.h"

#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {
constexpr const char* kInstanceSlots[] = {"PARENT_OBID", "PARENT_DB_NAME",  "REL_OBID",  "REL_DB_NAME", "OBID",
                                          "DB_NAME",     "CHILD_CLASSNAME", "OPERATION", "MATRIX_INDEX"};
constexpr const char* kTopSlots[] = {"OBID", "DB_NAME", "CLASSNAME"};
}  // namespace

void ZRBInstanceList::Append(const CADUnicodeString& parentObid, const CADUnicodeString& parentDbName,
                             const CADUnicodeString& relObid, const CADUnicodeString& relDbName,
                             const CADUnicodeString& obid, const CADUnicodeString& dbName,
                             const CADUnicodeString& className, const CADUnicodeString& operation,
                             const CADUnicodeString& matrixIndex) {
  if (parentObid == "ROOT") {
    top_[0].Append(obid);
    top_[1].Append(dbName);
    top_[2].Append(className);
    return;
  }
  const CADUnicodeString* values[kInstanceFields] = {&parentObid, &parentDbName, &relObid,   &relDbName,  &obid,
                                                     &dbName,     &className,    &operation, &matrixIndex};
  for (int i = 0; i < kInstanceFields; ++i) lists_[i].Append(*values[i]);
}

void ZRBInstanceList::AppendTopLevel(const CADIProduct_var& product) {
  if (!product) return;
  if (GlobPropertyManager.IsArchiveRoot(product)) {
    const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(product);
    Append("ROOT", "", "", "", GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_OBID"),
           GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_DB_NAME"),
           GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_CLASSNAME"), "", "");
    return;
  }
  Append("ROOT", "", "", "", GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID"),
         GlobPropertyManager.GetReferenceProperty(product, "ZRB_DB_NAME"),
         GlobPropertyManager.GetReferenceProperty(product, "ZRB_CLASSNAME"), "", "");
}

int ZRBInstanceList::BuildObjMgrForUpdateWB(ZRBObjectManager& request) const {
  ZRBObject* previous = request.CreateObject("ROOT");
  if (!previous) return 0;
  ZRBObject* root = previous;
  for (int i = lists_[0].Size(); i >= 1; --i) {
    ZRBObject* object = request.CreateObject("");
    if (!object) return 0;
    for (int field = 0; field < kInstanceFields; ++field)
      object->SetSlotValue(kInstanceSlots[field], lists_[field][i].ConvertToString());
    previous->SetSlotValue("NEXT_OP", object->GetKey());
    previous = object;
  }
  for (int i = 1; i <= top_[0].Size(); ++i) {
    ZRBObject* object = request.CreateObject("");
    if (!object) return 0;
    for (int field = 0; field < 3; ++field) object->SetSlotValue(kTopSlots[field], top_[field][i].ConvertToString());
    root->SlotAppend("TOP_LEVEL", object->GetKey());
  }
  return 1;
}

void ZRBInstanceList::Dump() const {
  for (int i = 1; i <= lists_[0].Size(); ++i)
    ZRB_DEBUG("ZRB: instance %s under %s (%s)", lists_[4][i].c_str(), lists_[0][i].c_str(), lists_[7][i].c_str());
  for (int i = 1; i <= top_[0].Size(); ++i) ZRB_DEBUG("ZRB: top level %s", top_[0][i].c_str());
}
