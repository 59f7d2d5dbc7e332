#include "ZRBHighlightCmd.h"

#include <memory>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "ZRBAfx.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBHighlightCmd* fctCreateZRBHighlightCmd(const CADString& parameter) { return new ZRBHighlightCmd(parameter); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBHighlightCmd", &fctCreateZRBHighlightCmd);

bool Contains(const CADListValCADString& ids, const CADUnicodeString& id) {
  if (id.IsEmpty()) return false;
  for (const CADString& item : ids)
    if (CADUnicodeString(item) == id) return true;
  return false;
}

bool HasObid(const CADIProduct_var& product, const CADString& obid) {
  const CADUnicodeString own = GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID");
  return !own.IsEmpty() && own == CADUnicodeString(obid);
}

CADPathElement StartAt(const CADIProduct_var& product, const CADPathElement* above) {
  if (!above) return CADPathElement{CADBaseUnknown_var(product)};
  CADPathElement path = *above;
  path.AddChildElement(CADBaseUnknown_var(product));
  return path;
}

CADIProduct_var RootOf(CADFrmWindow* window) {
  CADIProduct_var root;
  if (!window || !window->GetEditor() || !window->GetDocument()) return root;
  if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(window->GetDocument(), &root))) root = CADIProduct_var();
  return root;
}
}  // namespace

ZRBHighlightCmd::ZRBHighlightCmd(const CADString& parameter)
    : ZRBOneStepCommand("ZRBHighlightCmd"), parameter_(parameter) {
  // Only the last component counts: the PDM's file lives in the exchange map, and an argument such as
  // "../../etc/x" must not lead anywhere else.
  const CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(CADUnicodeString(parameter));
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  if (!name.IsEmpty() && !(name == "..") && !(name == ".")) highlightFile_ = xmap + name;
}

ZRBOneStepCommand::Outcome ZRBHighlightCmd::Work() {
  ZRBAfx::SetShowMsg(1);
  ZRBAfx::SetCadWindowTop();
  if (!HighlightObjectsFromFile() && ZRBAfx::MustShowMsg())
    ShowMessage("ZRBHighlightCmd", "HighlightFailed", kFailureStyle);
  return Outcome::Stopped;
}

int ZRBHighlightCmd::HighlightObjectsFromFile() {
  ZRB_TRACE("ZRBHighlightCmd::HighlightObjectsFromFile");
  ZRBObjectManager objects;
  if (highlightFile_.IsEmpty() || !objects.Read(highlightFile_)) {
    ZRBAfx::SetShowMsg(0);
    ZRB_DEBUG("ZRB: ZRB exchangefile not found");
    CADUnicodeString parameters[1] = {highlightFile_};
    ShowMessage("ZRBHighlightCmd", "NoFileAccess", kFailureStyle, parameters, 1);
    return 0;
  }
  ZRBObject* root = objects.GetObject("ROOT");
  if (!UnHighlightZRBProducts()) {
    ZRB_DEBUG("ZRB: UnHighlight failed");
    return 0;
  }
  if (!HighlightObject(root)) return 0;
  for (const CADString& key : root->GetSlotValueList("ITEMLIST"))
    if (!HighlightObject(objects.GetObject(key))) return 0;
  ZRB_TRACE_OK();
  return 1;
}

int ZRBHighlightCmd::UnHighlightZRBProducts() {
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList()) {
    const CADIProduct_var root = RootOf(window);
    if (root && !GlobPropertyManager.GetReferenceProperty(root, "ZRB_OBID").IsEmpty())
      window->GetEditor()->GetCSO()->Empty();
  }
  return 1;
}

int ZRBHighlightCmd::HighlightObject(ZRBObject* object) {
  if (!object) {
    ZRB_DEBUG("ZRB: the ZRBObject is NULL");
    return 0;
  }
  const CADString edescId = object->GetSlotValue("EDESC_ID");
  const CADListValCADString ids = object->GetSlotValueList("ID");
  if (edescId == "ROOT") return HighlightModelOnTop(ids);
  return HighlightObjectsWithPath(edescId, ids, object->GetSlotValueList("NHA_ID_LIST"),
                                  object->GetSlotValue("HL_PRODUCT"), object->GetSlotValue("HL_MODELS"));
}

int ZRBHighlightCmd::HighlightModelOnTop(const CADListValCADString& ids) {
  if (ids.Size() == 0) {
    ZRB_DEBUG("ZRB: No MODEL OBID's found");
    return 0;
  }
  for (const CADString& id : ids) {
    ZRB_DEBUG("ZRB: Processing OBID: '%s'", id.c_str());
    if (CADFrmEditor* editor = FindTopLevelProductEditor(CADUnicodeString(id))) {
      ZRB_DEBUG("ZRB: Highlighting CADPart");
      editor->GetCSO()->AddElement(editor->GetActivePath());
      continue;
    }
    CADIProduct_var workbench;
    if (!GetWorkbenchProduct(workbench) || !workbench) continue;
    CADDocument* document = nullptr;
    ZRBFileUtil::GetRefDocFromCADIProduct(workbench, &document);
    if (!document) continue;
    CADFrmEditor* editor = nullptr;
    for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowsOf(document))
      if (window && window->GetEditor()) editor = window->GetEditor();
    if (!editor) {
      ZRB_DEBUG("QueryInterface(IID_CADIEditor,...) failed!");
      return 0;
    }
    HighlightModelUnderPart(editor, workbench, CADPathElement{CADBaseUnknown_var(workbench)}, ids);
  }
  return 1;
}

int ZRBHighlightCmd::HighlightObjectsWithPath(const CADString& edescId, const CADListValCADString& ids,
                                              const CADListValCADString& nhaIds, const CADString& hlProduct,
                                              const CADString& hlModels) {
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList()) {
    const CADIProduct_var root = RootOf(window);
    if (!root) continue;
    CADFrmEditor* editor = window->GetEditor();
    ZRB_DEBUG("ZRB: Searching Document: '%s'", window->GetDocument()->StorageName().c_str());
    ZRBNodeList tops;
    const bool workbench = IsWorkbenchProduct(root);
    if (workbench) {
      tops = *ZRBPSNTreeUtil::GetChildren(root, 0);
    } else {
      tops.Append(CADBaseUnknown_var(root));
    }
    // The workbench's children are searched as tops, but what is selected is still a path from the window's root.
    const CADPathElement workbenchPath{CADBaseUnknown_var(root)};
    const CADPathElement* above = workbench ? &workbenchPath : nullptr;
    for (const CADBaseUnknown_var& item : tops) {
      CADIProduct_var top(item);
      if (!top) continue;
      if (hlModels == "1") HighlightModelsForProduct(top, editor, edescId, ids, nhaIds, above);
      if (hlProduct == "1") HighlightProduct(top, editor, edescId, nhaIds, above);
    }
  }
  return 1;
}

int ZRBHighlightCmd::HighlightModelsForProduct(const CADIProduct_var& root, CADFrmEditor* editor,
                                               const CADString& edescId, const CADListValCADString& ids,
                                               const CADListValCADString& nhaIds, const CADPathElement* above) {
  CADPathElement path = StartAt(root, above);
  if (nhaIds.Size() > 0) {
    CADIProduct_var found;
    if (GetPartWithPath(root, edescId, nhaIds, found, path, 0)) HighlightModelUnderPart(editor, found, path, ids);
  } else if (HasObid(root, edescId)) {
    HighlightModelUnderPart(editor, root, path, ids);
  }
  return 1;
}

int ZRBHighlightCmd::HighlightProduct(const CADIProduct_var& root, CADFrmEditor* editor, const CADString& edescId,
                                      const CADListValCADString& nhaIds, const CADPathElement* above) {
  CADPathElement path = StartAt(root, above);
  if (nhaIds.Size() > 0) {
    CADIProduct_var found;
    if (GetPartWithPath(root, edescId, nhaIds, found, path, 0)) editor->GetCSO()->AddElement(path);
  } else if (HasObid(root, edescId)) {
    editor->GetCSO()->AddElement(path);
  }
  return 1;
}

int ZRBHighlightCmd::HighlightModelUnderPart(CADFrmEditor* editor, const CADIProduct_var& part,
                                             const CADPathElement& path, const CADListValCADString& ids) {
  if (!editor || !part) return 1;
  const std::unique_ptr<ZRBNodeList> children = ZRBPSNTreeUtil::GetChildren(part, 0);
  for (const CADBaseUnknown_var& item : *children) {
    CADIProduct_var child(item);
    if (!child) continue;
    const CADUnicodeString obid =
        GlobPropertyManager.IsArchiveRoot(child)
            ? GlobPropertyManager.GetFileProperty(GlobPropertyManager.GetProductFullPath(child), "ZRB_ARCHIVE_OBID")
            : GlobPropertyManager.GetReferenceProperty(child, "ZRB_OBID");
    if (!Contains(ids, obid)) continue;
    CADPathElement childPath = path;
    childPath.AddChildElement(CADBaseUnknown_var(child));
    CADUnicodeString name;
    child->GetPrdInstanceName(name);
    ZRB_DEBUG("ZRB: Adding Childelement: '%s'", name.c_str());
    editor->GetCSO()->AddElement(childPath);
  }
  if (GlobPropertyManager.GetReferenceProperty(part, "ZRB_ISCOMPONENT") == "1" &&
      Contains(ids, GlobPropertyManager.GetReferenceProperty(part, "ZRB_PRODUCT_OBID")))
    editor->GetCSO()->AddElement(path);
  return 1;
}
