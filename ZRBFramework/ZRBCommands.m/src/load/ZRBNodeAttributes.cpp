#include "ZRBNodeAttributes.h"

#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

int ZRBNodeAttributes::SetDescriptionsToNode(const CADIProduct_var& product, const ZRBObject* node) {
  if (!product || !node) return 0;
  const CADString description = node->GetSlotValue("REFERENCE_DESCRIPTION");
  if (!description.IsEmpty()) GlobPropertyManager.SetDescription(product, CADUnicodeString(description));
  return 1;
}

int ZRBNodeAttributes::SetCustomAttrsToNode(const CADIProduct_var& product, const ZRBObject* node) {
  if (!product || !node) return 0;
  const CADString names = node->GetSlotValue("CUSTOM_ATTRS");
  const CADString values = node->GetSlotValue("CUSTOM_VALS");
  if (names.IsEmpty() && values.IsEmpty()) return 1;
  if (node->GetSlotValueList("CUSTOM_ATTRS").Size() != node->GetSlotValueList("CUSTOM_VALS").Size()) {
    ZRB_DEBUG("ZRB: CUSTOM_ATTRS and CUSTOM_VALS differ in length, not stored");
    return 0;
  }
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_CUSTOM_ATTRS", CADUnicodeString(names));
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_CUSTOM_VALS", CADUnicodeString(values));
  return 1;
}

void ZRBNodeAttributes::SetIdentityToNode(const CADIProduct_var& product, const ZRBObject* node,
                                          ZRBObjectManager& answer) {
  if (!product || !node) return;
  const CADString obid = node->GetSlotValue("OBID");
  if (obid.IsEmpty()) return;
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_OBID", CADUnicodeString(obid));
  const CADString productKey = node->GetSlotValue("PRODUCT");
  if (const ZRBObject* productObject = productKey.IsEmpty() ? nullptr : answer.GetObject(productKey))
    GlobPropertyManager.SetReferenceProperty(product, "ZRB_PRODUCT_OBID",
                                             CADUnicodeString(productObject->GetSlotValue("OBID")));
  if (node->GetSlotValue("PRODUCT_IGNORE_AT_UPDATE") == "1")
    GlobPropertyManager.SetReferenceProperty(product, "ZRB_PRODUCT_IGNORE_AT_UPDATE", "1");
}
