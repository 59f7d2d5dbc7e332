#include "ZRBDocumentOpener.h"

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "ZRBAfx.h"
#include "ZRBCommandContext.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr const char* kRefetchRequestName = "GetOrigGeoForVis.zrb";

void AddLoadFailed(ZRBCommandContext& context, const CADUnicodeString& path) {
  CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(path);
  context.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBReadCmd", "ZRBReadCmd.LoadDocumentFailed", &name, 1));
}

// The request that asks the PDM to deliver one object's file again, with the object's identity.
int WriteRefetchRequest(const ZRBObject& object, const CADUnicodeString& path, const CADUnicodeString& request) {
  ZRBObjectManager manager;
  CADString key = object.GetSlotValue("OBID");
  if (key.IsEmpty()) key = object.GetSlotValue("ID");
  if (key.IsEmpty() || key == "ROOT") return 0;
  ZRBObject* root = ZRBPdmRequest::AddRoot(manager);
  if (!root) return 0;
  CADListValCADString items;
  items.Append(key);
  root->SetSlotValueList("ITEMLIST", items);
  ZRBObject* item = manager.CreateObject(key);
  item->SetSlotValue("ID", key);
  item->SetSlotValue("DB_NAME", object.GetSlotValue("DB_NAME"));
  item->SetSlotValue("CLASSNAME", object.GetSlotValue("CLASSNAME"));
  item->SetSlotValue("EXTERNAL_LOCATION", path.ConvertToString());
  return manager.Write(request);
}

// 1 when the answer says the item was delivered and its file is there again.
int RefetchSucceeded(const CADUnicodeString& request, const CADUnicodeString& path) {
  ZRBObjectManager answer;
  if (!answer.Read(request)) return 0;
  ZRBObject* root = answer.GetObject("ROOT");
  if (!root) return 0;
  for (const CADString& key : root->GetSlotValueList("ITEMLIST")) {
    ZRBObject* item = answer.GetObject(key);
    if (ZRBPdmRequest::ReadResult(item, ZRBPdmStep::OneStep) == ZRBPdmResult::Succeeded && ZRBAfx::FileExist(path))
      return 1;
  }
  return 0;
}

// The window showing `document`, or a new one.
int ShowInWindow(CADDocument* document) {
  CADFrmLayout& layout = CADFrmLayout::GetCurrentLayout();
  std::vector<CADFrmWindow*> windows = layout.GetWindowsOf(document);
  if (!windows.empty()) return SUCCEEDED(layout.SetCurrentWindow(windows.front())) ? 1 : 0;
  CADFrmWindow* window = nullptr;
  return SUCCEEDED(layout.OpenWindow(document, window)) && window ? 1 : 0;
}

void ApplyPartNumber(CADDocument* document, const CADUnicodeString& partNumber) {
  if (partNumber.IsEmpty()) return;
  CADIProduct_var root = document->GetRootProduct();
  if (!root || root->GetPartNumber() == partNumber) return;
  const int readOnly = document->IsReadOnly();
  document->SetReadOnly(0);
  if (!GlobPropertyManager.SetPartNumber(root, partNumber, 0, 0))
    ZRB_DEBUG("ZRB: could not give '%s' the part number '%s'", document->StorageName().c_str(), partNumber.c_str());
  document->SetReadOnly(readOnly);
}

}  // namespace

int ZRBDocumentOpener::OpenDocument(ZRBCommandContext& context, CADDocument*& document, const CADUnicodeString& path,
                                    unsigned char readOnly, CADListValCADUnicodeString& refresh, ZRBObject* object) {
  ZRB_TRACE("ZRBDocumentOpener::OpenDocument");
  document = nullptr;
  int listed = 0;
  ZRBAfx::SearchPathInList(refresh, path, listed);
  if (listed) {
    // The stale copy is only dropped once the PDM can be asked for a new one: without the object's identity it
    // would be lost for good.
    if (!object) {
      ZRB_DEBUG("pObject = NULL");
      AddLoadFailed(context, path);
      return 0;
    }
    CADUnicodeString xmap;
    ZRBAfx::GetXMap(xmap);
    const CADUnicodeString request = ZRBAfx::MakePath(xmap, CADUnicodeString(kRefetchRequestName));
    if (!WriteRefetchRequest(*object, path, request)) {
      ZRB_DEBUG("ZRB: Failed to get '%s' from PDM", path.c_str());
      AddLoadFailed(context, path);
      return 0;
    }
    ZRBFileUtil::DeleteTemporaryFile(path);
    ZRBAfx::RemovePathFromList(refresh, path);
    const int result =
        ZRBPdmRequest::Run(ZRBPdmAction::GetOrigGeoForVis, ZRBPdmAction::Line(ZRBPdmAction::GetOrigGeoForVis, request));
    const int fetched = result >= 0 && RefetchSucceeded(request, path);
    ZRBFileUtil::DeleteTemporaryFile(request);
    if (!fetched) {
      ZRB_DEBUG("ZRB: Failed to get '%s' from PDM", path.c_str());
      AddLoadFailed(context, path);
      return 0;
    }
  }
  if (FAILED(CADDocumentServices::OpenDocument(path, document, readOnly ? 1 : 0)) || !document) {
    ZRB_DEBUG("faild to open Document '%s': %s", path.c_str(), CADDocumentServices::GetLastError().c_str());
    document = nullptr;
    AddLoadFailed(context, path);
    return 0;
  }
  if (readOnly) document->SetReadOnly(1);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocumentOpener::OpenWithWindow(ZRBCommandContext& context, CADDocument*& document, const CADUnicodeString& path,
                                      const CADUnicodeString& partNumber, int readOnly,
                                      CADListValCADUnicodeString& refresh, ZRBObject* object) {
  document = CADDocumentServices::GetDocumentInSession(path);
  if (!document || CADFrmLayout::GetCurrentLayout().GetWindowsOf(document).empty()) {
    if (!OpenDocument(context, document, path, static_cast<unsigned char>(readOnly ? 1 : 0), refresh, object)) return 0;
  }
  if (!ShowInWindow(document)) {
    ZRB_DEBUG("ZRB: no window for '%s'", path.c_str());
    return 0;
  }
  ApplyPartNumber(document, partNumber);
  document->SetReadOnly(readOnly ? 1 : 0);
  return 1;
}
