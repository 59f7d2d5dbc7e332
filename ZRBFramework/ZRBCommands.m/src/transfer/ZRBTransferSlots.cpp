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

std::string ZRBTransferSlots::AsListItem(std::string_view text) {
  text = text.substr(0, text.find('}'));
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return std::string(text);
}
