#include "ZRBTransferSlots.h"

#include "ZRBObject.h"

CADUnicodeString ZRBTransferSlots::Text(const ZRBObject& object, const char* name) {
  return CADUnicodeString(object.GetSlotValue(name).str());
}

CADListValCADUnicodeString ZRBTransferSlots::List(const ZRBObject& object, const char* name) {
  const CADListValCADString items = object.GetSlotValueList(name);
  CADListValCADUnicodeString out;
  for (int i = 1; i <= items.Size(); ++i) out.Append(CADUnicodeString(items[i].str()));
  return out;
}

void ZRBTransferSlots::SetList(ZRBObject& object, const char* name, const CADListValCADUnicodeString& items) {
  CADListValCADString out;
  for (int i = 1; i <= items.Size(); ++i) out.Append(CADString(items[i].str()));
  object.SetSlotValueList(name, out);
}
