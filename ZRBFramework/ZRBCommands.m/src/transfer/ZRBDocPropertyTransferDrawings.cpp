// Drawings and processes: their identity lives in file properties of the document, not on a product.
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBTransferSlots.h"

namespace {

using Slots = ZRBTransferSlots;

}  // namespace

int ZRBDocPropertyTransfer::SetDrawingPropertiesToZRBObject(ZRBObjectManager&, const CADIDrawing_var& drawing,
                                                            ZRBObject* model) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetDrawingPropertiesToZRBObject");
  if (!drawing) {
    ZRB_DEBUG("piDrawing = NULL");
    return 0;
  }
  if (!model) {
    ZRB_DEBUG("pObject = NULL");
    return 0;
  }
  CADUnicodeString name, comment, responsible;
  if (FAILED(drawing->GetName(name))) {
    ZRB_DEBUG("QueryInterface(IID_CADISpecObject,...) failed!");
    return 0;
  }
  drawing->GetComment(comment);
  drawing->GetResponsible(responsible);
  model->SetSlotValue("COMPONENTNAME", name.str());
  model->SetSlotValue("COMMENT", comment.str());
  model->SetSlotValue("RESPONSIBLE", responsible.str());
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocPropertyTransfer::SetDrawingPropertiesFromZRBObject(const CADIDrawing_var& drawing, CADDocument* document,
                                                              const ZRBObject* object) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetDrawingPropertiesFromZRBObject");
  if (!drawing) {
    ZRB_DEBUG("piDrawing = NULL");
    return 0;
  }
  if (!document) {
    ZRB_DEBUG("pDocument = NULL");
    return 0;
  }
  if (!object) {
    ZRB_DEBUG("pObject = NULL");
    return 0;
  }
  const ZRBObject& o = *object;
  const CADUnicodeString description = Slots::Text(o, "DESCRIPTION");
  // An answer without a description keeps the drawing's own name rather than blanking it.
  if (!description.IsEmpty() && FAILED(drawing->SetName(description))) {
    ZRB_DEBUG("QueryInterface(IID_CADISpecObject,...) failed!");
    return 0;
  }
  const CADUnicodeString& path = document->StorageName();
  const auto set = [&](const char* name, const CADUnicodeString& value) {
    GlobPropertyManager.SetFileProperty(path, name, value);
  };
  set("ZRB_OBID", Slots::Text(o, "OBID"));
  set("ZRB_CLASSNAME", Slots::Text(o, "CLASSNAME"));
  set("ZRB_CHANGEABLE", Slots::Text(o, "CHANGEABLE"));
  set("ZRB_PARTNUMBER", description);
  const CADUnicodeString origin = Slots::Text(o, "ORIG_LOCATION");
  if (!origin.IsEmpty()) set("SAM_ORIG_LOCATION", origin);
  set("ZRB_DB_NAME", Slots::Text(o, "DB_NAME"));
  const CADListValCADUnicodeString names = Slots::List(o, "STANDARD_ATTRS");
  const CADListValCADUnicodeString values = Slots::List(o, "STANDARD_VALS");
  if (names.Size() != values.Size()) {
    ZRB_DEBUG("Error: sStdAttrList.Size() != sStdValueList.Size() ");
  } else {
    for (int i = 1; i <= names.Size(); ++i)
      if (names[i] == "CADRevision") set("ZRB_REVISION", values[i]);
  }
  SetParameterFromZrbObject(*document, object);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocPropertyTransfer::SetParameterFromZrbObject(CADDocument& document, const ZRBObject* object) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetParameterFromZrbObject");
  if (!object) {
    ZRB_DEBUG("pObject = NULL");
    return 0;
  }
  const CADListValCADUnicodeString names = Slots::List(*object, "PARAM_ATTRS");
  const CADListValCADUnicodeString values = Slots::List(*object, "PARAM_VALS");
  if (names.Size() != values.Size()) {
    // Which value belongs to which parameter cannot be told: none is changed.
    ZRB_DEBUG("Error: sParamAttrList.Size() == sParamValueList.Size() ");
    return 0;
  }
  if (document.GetType() == "CADDrawing") SetParameterToDrawing(document, names, values);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocPropertyTransfer::SetParameterToDrawing(CADDocument& document, const CADListValCADUnicodeString& names,
                                                  const CADListValCADUnicodeString& values) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetParameterToDrawing");
  CADIDrawing_var drawing(&document);
  if (!drawing || names.Size() != values.Size()) return 0;
  int changed = 0;
  const int count = drawing->GetParameterCount();
  for (int i = 1; i <= count; ++i) {
    CADUnicodeString name, type, current;
    if (FAILED(drawing->GetParameter(i, name, type, current))) continue;
    const int at = names.Locate(name);
    if (at == 0 || !(type == "String") || current == values[at]) continue;
    if (SUCCEEDED(drawing->SetParameterValue(name, values[at]))) {
      ZRB_DEBUG("Value Set to: %s", values[at].c_str());
      changed = 1;
    }
  }
  if (changed) document.SetDirty(1);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocPropertyTransfer::SetProcessPropertiesFromZRBObject(ZRBObjectManager& manager, const ZRBObject* object) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetProcessPropertiesFromZRBObject");
  if (!object) {
    ZRB_DEBUG("pObject = NULL");
    return 0;
  }
  const ZRBObject& o = *object;
  const ZRBObject* process = manager.GetObject(o.GetSlotValue("CADPROCESS"));
  if (!process) {
    ZRB_DEBUG("pProcessObject == NULL");
    return 0;
  }
  const CADUnicodeString file = Slots::Text(*process, "EXTERNAL_LOCATION");
  ZRB_DEBUG("ZRB: Process File name is %s", file.c_str());
  if (file.IsEmpty()) {
    // Properties keyed by no file would be found by no document.
    ZRB_DEBUG("ZRB ERROR: the process object names no file");
    return 0;
  }
  const auto set = [&](const char* name, const CADUnicodeString& value) {
    GlobPropertyManager.SetFileProperty(file, name, value);
  };
  set("ZRB_OBID", Slots::Text(o, "EDESC_ID"));
  set("ZRB_CHANGEABLE", Slots::Text(o, "CHANGEABLE"));
  set("ZRB_PARTNUMBER", Slots::Text(o, "DESCRIPTION"));
  set("ZRB_CLASSNAME", Slots::Text(o, "CLASSNAME"));
  set("ZRB_DB_NAME", Slots::Text(o, "DB_NAME"));
  const CADUnicodeString processChangeable = Slots::Text(*process, "CHANGEABLE");
  set("ZRB_PROCESS_OBID", Slots::Text(*process, "ID"));
  set("ZRB_PROCESS_CHANGEABLE", processChangeable);
  set("ZRB_PROCESS_CLASSNAME", Slots::Text(*process, "CLASSNAME"));
  set("ZRB_PROCESS_DB_NAME", Slots::Text(*process, "DB_NAME"));
  const CADListValCADUnicodeString names = Slots::List(o, "STANDARD_ATTRS");
  const CADListValCADUnicodeString values = Slots::List(o, "STANDARD_VALS");
  if (names.Size() != values.Size()) {
    ZRB_DEBUG("Get Standard Attributes: sStdAttrList.Size() != sStdValueList.Size() ");
  } else {
    static constexpr const char* kNames[4] = {"CADRevision", "CADNomenclature", "CADDefinition", "CADDescription"};
    static constexpr const char* kProps[4] = {"ZRB_REVISION", "ZRB_NOMENCLATURE", "ZRB_DEFINITION", "ZRB_DESCRIPTION"};
    for (int i = 1; i <= names.Size(); ++i)
      for (int k = 0; k < 4; ++k)
        if (names[i] == kNames[k]) set(kProps[k], values[i]);
  }
  if (CADDocument* open = CADDocumentServices::GetDocumentInSession(file); open && !(processChangeable == "1"))
    open->SetReadOnly(1);
  if (!GlobPropertyManager.IsFilePropertySet(file, "ZRB_LAST_KNOWN_MOD_TIME")) {
    CADUnicodeString seconds;
    if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(file, seconds))) set("ZRB_LAST_KNOWN_MOD_TIME", seconds);
  }
  ZRB_TRACE_OK();
  return 1;
}
