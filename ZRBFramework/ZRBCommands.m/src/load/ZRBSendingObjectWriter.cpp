#include "ZRBSendingObjectWriter.h"

#include "ZRBAnswerLocation.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBObject.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadContext.h"
#include "ZRBTrace.h"

namespace {
CADUnicodeString Slot(const ZRBObject& object, const char* name) { return CADUnicodeString(object.GetSlotValue(name)); }
}  // namespace

void ZRBSendingObjectWriter::Apply(ZRBReadContext& context, const CADIProduct_var& product, const ZRBObject& node) {
  const CADListValCADString keys = node.GetSlotValueList("SENDING_LIST");
  if (keys.Size() == 0) return;
  ZRB_TRACE("ZRBSendingObjectWriter::Apply");
  ZRBPropertyManager& properties = GlobPropertyManager;
  if (product) {
    properties.SetReferenceProperty(product, "ZRB_IS_SENDING_PRODUCT", "1");
    ZRBDocPropertyTransfer::SetReferencePropertyToAllChildren(product, "ZRB_IS_SENDING_PRODUCT", "1");
    properties.SetPathToRootProperty(product, "ZRB_FROMWB", "1");
    ZRBDocPropertyTransfer::SetPathToRootPropertyToAllChildren(product, "ZRB_FROMWB", "1");
  }
  for (const CADString& key : keys) {
    const ZRBObject* object = context.Lookup(key, "SENDING_LIST");
    if (!object) continue;
    CADUnicodeString path;
    if (!ZRBAnswerLocation::Resolve(object->GetSlotValue("EXTERNAL_LOCATION"), path)) continue;
    properties.SetFileProperty(path, "ZRB_SENDING_OBJECT", "1");
    properties.SetFileProperty(path, "ZRB_OBID", Slot(*object, "ID"));
    properties.SetFileProperty(path, "ZRB_VIS_LOCATION", Slot(*object, "VIS_LOCATION"));
    properties.SetFileProperty(path, "ZRB_DB_NAME", Slot(*object, "DB_NAME"));
    properties.SetFileProperty(path, "ZRB_CHANGEABLE", "0");
    properties.SetFileProperty(path, "ZRB_CLASSNAME", Slot(*object, "CLASSNAME"));
  }
  ZRB_TRACE_OK();
}
