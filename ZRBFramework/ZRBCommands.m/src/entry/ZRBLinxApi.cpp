#include "ZRBLinxApi.h"

#include "CADClassDictionary.h"
#include "ZRBListText.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr long kOk = 0;
constexpr long kFail = static_cast<long>(0x80004005);

// Names and values as two lists; false when the lists do not pair up.
template <class Lookup>
bool ReadLists(Lookup lookup, CADListValCADString& names, CADListValCADString& values) {
  names.RemoveAll();
  values.RemoveAll();
  names = ZRBLinxApi::GetValuesOfList(lookup("ZRB_CUSTOM_ATTRS").ConvertToString());
  values = ZRBLinxApi::GetValuesOfList(lookup("ZRB_CUSTOM_VALS").ConvertToString());
  return names.Size() == values.Size();
}

long PickValue(const CADListValCADString& names, const CADListValCADString& values, const CADString& name,
               CADString& value) {
  const int at = names.Locate(name);
  value = at > 0 ? values[at] : CADString();
  return kOk;
}

}  // namespace

CADListValCADString ZRBLinxApi::GetValuesOfList(const CADString& text) {
  CADListValCADString entries;
  for (const CADUnicodeString& item : ZRBListText::Split(text.str())) entries.Append(item.ConvertToString());
  return entries;
}

long ZRBLinxApi::ZRBGetReferenceAttributes(CADIProduct* product, CADListValCADString* names,
                                           CADListValCADString* values) {
  if (!product || !names || !values) return kFail;
  const CADIProduct_var handle(product);
  auto lookup = [&](const char* n) { return GlobPropertyManager.GetReferenceProperty(handle, n); };
  return ReadLists(lookup, *names, *values) ? kOk : kFail;
}

long ZRBLinxApi::ZRBGetReferenceAttribute(CADIProduct* product, const CADString* name, CADString* value) {
  CADListValCADString names, values;
  if (!name || !value || ZRBGetReferenceAttributes(product, &names, &values) != kOk) {
    ZRB_DEBUG("ZRBLinxApi::ZRBGetReferenceAttribute failed");
    return kFail;
  }
  return PickValue(names, values, *name, *value);
}

long ZRBLinxApi::ZRBGetInstanceAttributes(CADIProduct* father, CADIProduct* instance, CADListValCADString* names,
                                          CADListValCADString* values) {
  if (!father || !instance || !names || !values) return kFail;
  const CADIProduct_var parent(father), child(instance);
  auto lookup = [&](const char* n) { return GlobPropertyManager.GetInstanceProperty(parent, child, n); };
  return ReadLists(lookup, *names, *values) ? kOk : kFail;
}

long ZRBLinxApi::ZRBGetInstanceAttribute(CADIProduct* father, CADIProduct* instance, const CADString* name,
                                         CADString* value) {
  CADListValCADString names, values;
  if (!name || !value || ZRBGetInstanceAttributes(father, instance, &names, &values) != kOk) {
    ZRB_DEBUG("ZRBLinxApi::ZRBGetInstanceAttribute failed");
    return kFail;
  }
  return PickValue(names, values, *name, *value);
}

ZRBLinxApi* fctCreateZRBLinxApi() { return new ZRBLinxApi(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBLinxApi", &fctCreateZRBLinxApi);
}  // namespace
