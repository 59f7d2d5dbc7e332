#include "ZRBModelInfoTransfer.h"

#include <array>

#include "CADDocument.h"
#include "CADRawCollPV.h"
#include "ZRBCadApi.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBFileUtil.h"
#include "ZRBModelBoxSource.h"
#include "ZRBNumberText.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBTransferSlots.h"

namespace {

bool On(const char* variable) { return g_ZRBConfig.CompareEnvVar(variable, "ON", 1) == 1; }

ZRBObject* NewInfoObject(ZRBObjectManager& manager, ZRBObject& model) {
  ZRBObject* info = manager.CreateObject("");
  model.SetSlotValue("MODEL_INFO", info->GetKey());
  return info;
}

// "UUID": the identifier the document file carries, so that the PDM can
// recognise the document when another file is copied over it.
void WriteIdentifier(ZRBObject& info, const CADUnicodeString& path) {
  if (!On("ZRB_READ_UUID")) return;
  CADString identifier;
  if (SUCCEEDED(GlobZRBCadApi.GetUuid(path, identifier)))
    info.SetSlotValue("UUID", identifier.str());
  else
    ZRB_DEBUG("ZRB: no identifier for %s", path.c_str());
}

// "QCK_SEAL_UPTODATE" and the seal list. The host keeps no check seals of its own, so the list stays empty.
void WriteCheckSeals(ZRBObject& info, const CADUnicodeString& path) {
  if (!On("ZRB_READ_QCKSEAL")) return;
  if (On("ZRB_QCK_TIMESTAMP"))
    info.SetSlotValue("QCK_SEAL_UPTODATE", GlobPropertyManager.GetFileProperty(path, "ZRB_QCKFILE_UPTODATE").str());
  info.SetSlotValueList("QCK_SEALS", {});
}

void WritePointedDocuments(ZRBObject& info, const CADDocument& document) {
  info.SetSlotValue("EXTERNALDOC", "0");
  CADListValCADUnicodeString paths;
  for (const CADDocument* pointed : document.GetPointedDocuments())
    if (pointed) paths.Append(pointed->StorageName());
  ZRBTransferSlots::SetList(info, "EXTERNALDOCS", paths);
}

void WriteDesignTables(ZRBObject& info, const CADIProduct_var& product) {
  CADRawCollPV* tables = ZRBDesignTable::GetTables(product, 0);
  if (!tables) return;
  CADListValCADUnicodeString files, activated, names;
  for (int i = 1; i <= tables->Size(); ++i) {
    auto* table = static_cast<ZRBDesignTable*>((*tables)[i]);
    CADUnicodeString path, name;
    unsigned char active = 0;
    table->GetFullPath(path);
    table->GetName(name);
    table->IsActivated(&active);
    files.Append(ZRBFileUtil::GetFileNameFromPath(path));
    activated.Append(active ? "1" : "0");
    names.Append(name);
  }
  ZRBDesignTable::DestroyList(tables);
  ZRBTransferSlots::SetList(info, "DT", files);
  ZRBTransferSlots::SetList(info, "DT_ACTIVATE", activated);
  ZRBTransferSlots::SetList(info, "DT_NAME", names);
}

}  // namespace

int ZRBModelInfoTransfer::ForProduct(ZRBObjectManager& manager, const CADIProduct_var& product, ZRBObject* model,
                                     CADDocument* document, CADFrmWindow* window) {
  ZRB_TRACE("ZRBModelInfoTransfer::ForProduct");
  if (!product || !model || !document) return 0;
  ZRBObject* info = NewInfoObject(manager, *model);
  const CADUnicodeString& path = document->StorageName();
  if (On("ZRB_CALC_BBOX")) {
    double low[3], high[3];
    if (ZRBModelBoxSource::Current().GetBox(product, document, window, low, high)) {
      static constexpr std::array<const char*, 3> kLow = {"D3D_BEX1", "D3D_BEY1", "D3D_BEZ1"};
      static constexpr std::array<const char*, 3> kHigh = {"D3D_BEX2", "D3D_BEY2", "D3D_BEZ2"};
      for (int k = 0; k < 3; ++k) {
        info->SetSlotValue(kLow[k], ZRBNumberText::Scientific(low[k]));
        info->SetSlotValue(kHigh[k], ZRBNumberText::Scientific(high[k]));
      }
    } else {
      ZRB_DEBUG("ZRB: no bounding box for %s", path.c_str());
    }
  }
  char category[256] = {0};
  const CADUnicodeString fileName = ZRBFileUtil::GetFileNameFromPath(path);
  if (g_ZRBConfig.GetFileCategory(document->GetType().c_str(), fileName.c_str(), category, sizeof category, nullptr) &&
      category[0])
    info->SetSlotValue("CATEGORY", category);
  WriteCheckSeals(*info, path);
  WriteIdentifier(*info, path);
  if (On("ZRB_READ_UPTODATE")) {
    const bool upToDate = !document->IsDirty();
    ZRB_DEBUG(upToDate ? "ZRB: Object is UpToDate" : "ZRB: Object is not UpToDate");
    info->SetSlotValue("UPTODATE", upToDate ? "1" : "0");
  }
  if (const char* content = g_ZRBConfig.GetEnvVar("ZRB_ARCHIVE_CONTENT_FILE_NAME", 1); content && *content)
    info->SetSlotValue("ARCHIVE_CONTENT_FILE", content);
  if (On("ZRB_GETPOINTEDDOCUMENTS")) WritePointedDocuments(*info, *document);
  WriteDesignTables(*info, product);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBModelInfoTransfer::ForDrawing(ZRBObjectManager& manager, const CADIDrawing_var& drawing, ZRBObject* model,
                                     CADDocument* document) {
  ZRB_TRACE("ZRBModelInfoTransfer::ForDrawing");
  if (!drawing || !model || !document) return 0;
  const char* rootAttribute = g_ZRBConfig.GetEnvVar("ZRB_READ_DRAW_ROOTFEATUREATTR", 1);
  const bool sheets = On("ZRB_CALC_SHEET"), pointed = On("ZRB_REFERENCE_OF_DRAWING"), seals = On("ZRB_READ_QCKSEAL");
  const bool attribute = rootAttribute && *rootAttribute, identifier = On("ZRB_READ_UUID");
  if (!sheets && !pointed && !seals && !attribute && !identifier) {
    ZRB_TRACE_OK();
    return 1;
  }
  ZRBObject* info = NewInfoObject(manager, *model);
  if (sheets) {
    CADListValCADUnicodeString names;
    for (int i = 1; i <= drawing->GetSheetCount(); ++i) {
      CADUnicodeString name;
      if (SUCCEEDED(drawing->GetSheetName(i, name))) names.Append(name);
    }
    ZRBTransferSlots::SetList(*info, "SHEETS", names);
  }
  if (pointed) WritePointedDocuments(*info, *document);
  WriteCheckSeals(*info, document->StorageName());
  WriteIdentifier(*info, document->StorageName());
  // The drawing's root feature attributes are its parameters.
  if (attribute) {
    for (int i = 1; i <= drawing->GetParameterCount(); ++i) {
      CADUnicodeString name, type, value;
      if (SUCCEEDED(drawing->GetParameter(i, name, type, value)) && name == rootAttribute) {
        info->SetSlotValue(rootAttribute, value.str());
        break;
      }
    }
  }
  ZRB_TRACE_OK();
  return 1;
}
