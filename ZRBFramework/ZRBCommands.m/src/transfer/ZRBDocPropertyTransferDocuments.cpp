// Whole documents: the description a part or drawing document gets in a request, and the PDM's answer applied
// to the document (its attributes, then its name in the exchange map and its file properties).
#include <string_view>

#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "ZRBAfx.h"
#include "ZRBCommandContext.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBRepresentationFormats.h"
#include "ZRBTrace.h"
#include "ZRBTransferSlots.h"
#include "ZRBXmapDocuments.h"

namespace {

using Slots = ZRBTransferSlots;

CADIProduct_var RootProductOf(CADDocument& document) {
  const CADListValCADBaseUnknown_var roots = document.GiveDocRoots();
  if (roots.Size() < 1) {
    ZRB_DEBUG("QueryInterface(IID_CADIDocRoots,...) failed!");
    return nullptr;
  }
  CADIProduct_var product(roots[1]);
  if (!product) ZRB_DEBUG("QueryInterface(IID_CADIProduct,...) failed!");
  return product;
}

CADIDrawing_var DrawingOf(CADDocument& document) {
  CADIDrawing_var drawing(&document);
  if (!drawing) ZRB_DEBUG("QueryInterface(IID_CADIDftDocumentServices,...) failed!");
  return drawing;
}

// The first node below `root` (pre-order, all levels) whose part number is `partNumber`.
CADIProduct_var FindByPartNumber(const CADIProduct_var& root, const CADUnicodeString& partNumber) {
  const CADListValCADBaseUnknown_var children = root->GetChildren();
  for (int i = 1; i <= children.Size(); ++i) {
    CADIProduct_var child(children[i]);
    if (!child) continue;
    if (GlobPropertyManager.GetPartNumber(child, 0) == partNumber) return child;
    if (CADIProduct_var below = FindByPartNumber(child, partNumber)) return below;
  }
  return nullptr;
}

}  // namespace

bool ZRBDocPropertyTransfer::StaysInsideExchangeMap(std::string_view relative) {
  if (relative.empty() || relative.front() == '/' || relative.front() == '\\') return false;
  if (relative.size() >= 2 && relative[1] == ':') return false;  // a drive letter
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t end = relative.find_first_of("/\\", start);
    const std::string_view part = relative.substr(start, end == std::string_view::npos ? end : end - start);
    if (part.empty() || part == "." || part == "..") return false;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return true;
}

namespace {

CADFrmEditor* EditorOf(CADDocument* document) {
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowsOf(document))
    if (window && window->GetEditor()) return window->GetEditor();
  return nullptr;
}

// Step of the rename for representation-like files: the product's default shape follows the new file.
void RenameDefaultShape(const CADIProduct_var& product, const CADUnicodeString& newName, const CADUnicodeString& path,
                        const CADUnicodeString& type) {
  if (newName.IsEmpty()) return;
  CADListValCADUnicodeString shapes;
  if (FAILED(product->GetAllShapesNames(shapes, 0)) || shapes.Size() < 1 || shapes[1].IsEmpty() || shapes[1] == newName)
    return;
  ZRB_DEBUG("Set Shape new shape name: %s", newName.c_str());
  if (FAILED(product->ReplaceDefaultShape(type, path))) ZRB_DEBUG("Failed to remove shape %s", shapes[1].c_str());
}

}  // namespace

int ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject(ZRBCommandContext& command, ZRBObjectManager& manager,
                                                        CADDocument* document, ZRBObject* documentObject,
                                                        CADString& modelKey) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject");
  if (!document) {
    ZRB_DEBUG("pDocument = NULL");
    return 0;
  }
  if (!documentObject) {
    ZRB_DEBUG("pObject = NULL");
    return 0;
  }
  const CADUnicodeString kind = Slots::Text(*documentObject, "CADCLASSNAME");
  CADIProduct_var product;
  CADIDrawing_var drawing;
  if (kind == "CADPart") {
    if (!(product = RootProductOf(*document))) return 0;
  } else if (kind == "CADDrawing") {
    if (!(drawing = DrawingOf(*document))) return 0;
  } else {
    return 0;
  }
  ZRBObject* model = manager.CreateObject("");
  modelKey = model->GetKey();
  const CADUnicodeString& path = document->StorageName();
  model->SetSlotValue("PATH", path.str());
  model->SetSlotValue("EXTERNAL_LOCATION", path.str());
  if (product) {
    const CADUnicodeString obid = GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID");
    model->SetSlotValue("ORIG_LOCATION", GlobPropertyManager.GetFileProperty(path, "SAM_ORIG_LOCATION").str());
    model->SetSlotValue("ID", obid.str());
    model->SetSlotValue("OBID", obid.str());
    model->SetSlotValue("DB_NAME", GlobPropertyManager.GetReferenceProperty(product, "ZRB_DB_NAME").str());
  } else {
    const CADUnicodeString obid = GlobPropertyManager.GetFileProperty(path, "ZRB_OBID");
    model->SetSlotValue("ID", obid.str());
    model->SetSlotValue("OBID", obid.str());
    model->SetSlotValue("DB_NAME", GlobPropertyManager.GetFileProperty(path, "ZRB_DB_NAME").str());
    model->SetSlotValue("ORIG_LOCATION", GlobPropertyManager.GetFileProperty(path, "SAM_ORIG_LOCATION").str());
  }
  documentObject->SetSlotValueList("SUBASSEMBLIES", {modelKey});
  documentObject->SetSlotValueList("DOCCOMS", {});

  if (drawing) {
    const int result = SetDrawingPropertiesToZRBObject(manager, drawing, model);
    if (result) ZRB_TRACE_OK();
    return result;
  }
  if (!SetPartPropertiesToZRBObject(manager, product, model)) return 0;
  // In an assembly the bounding box is taken where the part stands: at its first instance.
  CADIProduct_var infoOf = product;
  CADFrmWindow* window = nullptr;
  CADFrmEditor* editor = command.GetEditor();
  CADDocument* edited = editor ? editor->GetDocument() : nullptr;
  if (edited && !(edited->GetType() == "CADPart")) {
    if (CADIProduct_var root = edited->GetRootProduct())
      if (CADIProduct_var instance = FindByPartNumber(root, GlobPropertyManager.GetPartNumber(product, 0))) {
        infoOf = instance;
        window = editor->GetWindow();
      }
  }
  if (!SetModelInfoToZRBObject(manager, infoOf, model, document, window)) ZRB_DEBUG("SetModelInfoToZRBObject failed ");
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocPropertyTransfer::SetDocPropertiesFromZRBObject(ZRBCommandContext& command, ZRBObjectManager& manager,
                                                          CADDocument* document, const CADString& key) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetDocPropertiesFromZRBObject");
  const ZRBObject* root = manager.GetObject("ROOT");
  if (!root) {
    ZRB_DEBUG("pRootObject = NULL");
    return 0;
  }
  ZRBObject* object = manager.GetObject(key);
  if (!object) {
    ZRB_DEBUG("pNewObject = NULL");
    return 0;
  }
  if (!document) {
    ZRB_DEBUG("pDocument = NULL");
    return 0;
  }
  const CADUnicodeString kind = Slots::Text(*root, "CADCLASSNAME");
  int applied = 0;
  if (kind == "CADPart") {
    if (CADIProduct_var product = RootProductOf(*document)) applied = SetPartPropertiesFromZRBObject(product, object);
  } else if (kind == "CADDrawing") {
    if (CADIDrawing_var drawing = DrawingOf(*document))
      applied = SetDrawingPropertiesFromZRBObject(drawing, document, object);
  }
  if (!applied) return 0;
  const int result = SetFilePropertiesFromZRBObject(command, *object, document, 1, nullptr);
  if (result) ZRB_TRACE_OK();
  return result;
}

int ZRBDocPropertyTransfer::SetFilePropertiesFromZRBObject(ZRBCommandContext& command, ZRBObject& object,
                                                           CADDocument* document, int setTitle,
                                                           const CADIProduct_var& product) {
  ZRB_TRACE("ZRBDocPropertyTransfer::SetFilePropertiesFromZRBObject");
  if (!document) {
    ZRB_DEBUG("pDocument = NULL");
    return 0;
  }
  CADUnicodeString xmap, xmapPath;
  if (!ZRBXmapDocuments::GetExmapFileFullPath(document->StorageName(), xmap, xmapPath)) return 0;
  CADDocId id;
  if (FAILED(document->GetDocId(id))) {
    ZRB_DEBUG("pDocument->GetDocId() Failed");
    return 0;
  }
  CADUnicodeString type;
  if (FAILED(id.GetType(type))) {
    ZRB_DEBUG("oDocId->GetType(sType) Failed");
    return 0;
  }
  const CADUnicodeString relative = Slots::Text(object, "RELATIVE_PATH");
  if (relative.IsEmpty()) {
    ZRB_DEBUG("ZRB: RELATIVE_PATH slot empty => not setting filename");
    ZRB_TRACE_OK();
    return 1;
  }
  if (!StaysInsideExchangeMap(relative.view())) {
    ZRB_DEBUG("ZRB ERROR: refusing RELATIVE_PATH '%s': it leads outside the exchange map", relative.c_str());
    CADUnicodeString parameter = relative;
    command.GetWarnings().Append(
        ZRBAfx::BuildMessage("ZRBUpdateCmd", "ZRBUpdateCmd.RelativePathRefused", &parameter, 1));
    return 0;
  }
  const CADUnicodeString oldPath = document->StorageName();
  const CADUnicodeString newPath = xmap + "/" + relative + "." + type;
  int equal = 0;
  ZRBAfx::CompareFullPath(oldPath, newPath, equal);
  if (!equal) {
    ZRB_DEBUG("ZRB: new document name is: '%s'", newPath.c_str());
    const int wasReadOnly = document->IsReadOnly();
    document->SetReadOnly(0);
    if (!command.SaveAs(*document, newPath, type, 0)) {
      document->SetReadOnly(wasReadOnly);  // the document stays as it was
      CADUnicodeString parameter = ZRBAfx::GetMessageDisplayFromPath(newPath);
      command.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBUpdateCmd", "ZRBUpdateCmd.FileSaveFailed", &parameter, 1));
      ZRB_DEBUG("ZRB ERROR: Cannot save '%s' as '%s'", oldPath.c_str(), newPath.c_str());
      return 0;
    }
    // What the session knows of the file (a drawing's PDM identity, stored just before) follows it.
    GlobPropertyManager.SetPropForSaveAs(oldPath, newPath);
    if (type == "CADProduct" || type == "CADPart" || type == "CADDrawing") document->SetDirty(1);
  }
  const bool representation = type == "model" || type == "vis" || ZRBRepresentationFormats::Contains(type);
  if (representation && product) RenameDefaultShape(product, Slots::Text(object, "DESCRIPTION"), newPath, type);

  // Without a window there is no title to set; the file properties below are still the document's.
  int result = 1;
  if (setTitle) {
    if (CADFrmEditor* editor = EditorOf(document)) {
      CADUnicodeString partNumber;
      ProcessPartNumber(partNumber, newPath);
      editor->SetTitle(CADUnicodeString("ZRB - ") + partNumber);
    } else {
      ZRB_DEBUG("ZRB: no editor for '%s': title not set", newPath.c_str());
      result = 0;
    }
  }
  CADUnicodeString seconds;
  if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(newPath, seconds)))
    GlobPropertyManager.SetFileProperty(newPath, "ZRB_LAST_KNOWN_MOD_TIME", seconds);
  const CADUnicodeString origin = Slots::Text(object, "ORIG_LOCATION");
  if (!origin.IsEmpty()) {
    ZRB_DEBUG("set SAM_ORIG_LOCATION %s", origin.c_str());
    GlobPropertyManager.SetFileProperty(newPath, "SAM_ORIG_LOCATION", origin);
  }
  if (CADIProduct_var node = product ? product : document->GetRootProduct())
    GlobPropertyManager.SetFullPath(node, newPath);
  if (result) ZRB_TRACE_OK();
  return result;
}
