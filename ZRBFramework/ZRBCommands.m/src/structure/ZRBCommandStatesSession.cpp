// Checks and finders over the whole session: drawings showing modified products, cycles against a PDM
// structure, documents not up to date, products by part number, path or PDM identity.
#include <set>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIDrawing.h"
#include "ZRBAfxBase.h"
#include "ZRBCommandStates.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBListText.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr unsigned long kErrorStyle = 0x8000200;
constexpr unsigned long kQuestionStyle = 0x2800200;
constexpr int kAnswerStop = 4;

int Show(const char* catalog, const char* name, unsigned long style) {
  CADString key(catalog);
  key += ".";
  key += name;
  return ZRBAfxBase::MsgBox(ZRBAfxBase::BuildMessage(CADString(catalog), key), style);
}

void AllNodes(const CADIProduct_var& product, std::vector<CADIProduct_var>& nodes) {
  nodes.push_back(product);
  for (const CADBaseUnknown_var& item : product->GetChildren()) AllNodes(CADIProduct_var(item), nodes);
}

CADIProduct_var RootOf(const CADBaseUnknown_var& entry) {
  CADDocument_var document(entry);
  return document ? document->GetRootProduct() : CADIProduct_var();
}

}  // namespace

int ZRBCommandStates::CheckIfReferenceOfDrawingIsDirty(CADIDrawing* drawing) {
  if (!drawing || !g_ZRBConfig.CompareEnvVar("ZRB_DRAWING_CHECKUPDATEOFASSEMBLY", "ON", 1)) return 0;
  for (int sheet = 1; sheet <= drawing->GetSheetCount(); ++sheet) {
    ZRB_DEBUG("Sheet no %d", sheet);
    ZRB_DEBUG("No of views : %d", drawing->GetViewCount(sheet));
    for (int view = 1; view <= drawing->GetViewCount(sheet); ++view) {
      CADUnicodeString name;
      drawing->GetViewName(sheet, view, name);
      ZRB_DEBUG("Name of view %s", name.c_str());
      CADDocument* shown = nullptr;
      if (FAILED(drawing->GetViewDocument(sheet, view, shown)) || !shown || !shown->GetRootProduct()) continue;
      std::vector<CADIProduct_var> nodes;
      if (shown->GetType() == "CADProduct")
        AllNodes(shown->GetRootProduct(), nodes);
      else
        nodes.push_back(shown->GetRootProduct());
      for (const CADIProduct_var& node : nodes) {
        unsigned char dirty = 0;
        GetDirtyFlagForProduct(dirty, node.get(), 0, 0);
        if (dirty && GlobPropertyManager.GetReferenceProperty(node, "ZRB_TEMPL_PRODUCT") != "1") return 1;
      }
    }
  }
  return 0;
}

int ZRBCommandStates::GetAllUsedPartNumbers(ZRBObjectManager& answer, ZRBObject* root,
                                            CADListValCADUnicodeString& partNumbers) {
  if (!root) return 0;
  // Each object once: a cyclic answer must not recurse forever.
  std::set<const ZRBObject*> seen{root};
  std::vector<ZRBObject*> todo{root};
  while (!todo.empty()) {
    ZRBObject* object = todo.back();
    todo.pop_back();
    for (const CADString& key : object->GetSlotValueList("SUBASSRELATIONS")) {
      ZRBObject* relation = answer.GetObject(key);
      ZRBObject* child = relation ? answer.GetObject(relation->GetSlotValue("ASS_ITEM_ID")) : nullptr;
      if (!child || !seen.insert(child).second) continue;
      const CADUnicodeString number(child->GetSlotValue("DESCRIPTION"));
      if (!number.IsEmpty() && !partNumbers.Locate(number)) partNumbers.Append(number);
      todo.push_back(child);
    }
  }
  return 1;
}

int ZRBCommandStates::CheckForProductCycle(ZRBObjectManager& answer) {
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  if (!editor || !editor->GetDocument()) {
    ZRB_DEBUG("ZRB: UsePdmStructure: *** cannot get Document ***");
    Show("ZRBUsePdmStructureCmd", "NoEditor", kErrorStyle);
    return 0;
  }
  CADCSO* selection = editor->GetCSO();
  if (!selection || selection->GetSize() != 1) {
    ZRB_DEBUG("ZRB: UsePdmStructure: *** wrong number of elements ***");
    Show("ZRBUsePdmStructureCmd", "OnlyOneProduct", kErrorStyle);
    return 0;
  }
  CADIProduct_var product(selection->GetElement(1)->GetLeaf());
  if (!product) {
    ZRB_DEBUG("ZRB: GetDocumentFromSelectedPart: *** selected elemant is not a Product ***");
    Show("ZRBUsePdmStructureCmd", "NoPartObject", kErrorStyle);
    return 0;
  }
  if (product->GetPartNumber().IsEmpty()) {
    ZRB_DEBUG("ZRB: UsePdmStructure: *** no PartNumber ***");
    Show("ZRBUsePdmStructureCmd", "NoPartObject", kErrorStyle);
    return 0;
  }
  CADListValCADUnicodeString used;
  GetAllUsedPartNumbers(answer, answer.GetObject("ROOT"), used);
  for (CADIProduct_var node = product; node; node = ZRBPSNTreeUtil::GetFatherProduct(node)) {
    const CADUnicodeString number = node->GetPartNumber();
    ZRB_DEBUG("New Cycle Test for: '%s'", number.c_str());
    if (used.Locate(number)) {
      ZRB_DEBUG("Cycle detected for: '%s'", number.c_str());
      Show("ZRBUsePdmStructureCmd", "CycleDetected", kErrorStyle);
      return 0;
    }
  }
  return 1;
}

int ZRBCommandStates::CheckStructureIsUpToDate(const CADIProduct_var& product, int* stop) {
  if (!stop) return 0;
  *stop = 0;
  if (!product || !g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_CHECKISUPTODATE", "ON", 1)) return 1;
  std::vector<CADIProduct_var> nodes;
  AllNodes(product, nodes);
  for (const CADIProduct_var& node : nodes) {
    CADDocument* document = nullptr;
    if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(node, &document)) || !document || document->IsUpToDate()) continue;
    ZRB_DEBUG("At least one file is not up to date");
    if (Show("ZRBUpdateCmd", "NotUpToDate", kQuestionStyle) == kAnswerStop) *stop = 1;
    break;
  }
  return 1;
}

// ---------------------------------------------------------------- finders

CADFrmEditor* ZRBCommandStates::FindTopLevelProductEditor(const CADUnicodeString& obid) {
  ZRB_DEBUG("ZRB: Searching Document: '%s'", obid.c_str());
  if (obid.IsEmpty()) return nullptr;
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList()) {
    CADDocument* document = window ? window->GetDocument() : nullptr;
    CADIProduct_var root = document ? document->GetRootProduct() : CADIProduct_var();
    if (root && GlobPropertyManager.GetReferenceProperty(root, "ZRB_OBID") == obid) return window->GetEditor();
  }
  return nullptr;
}

CADIProduct_var ZRBCommandStates::FindProductInSession(const CADUnicodeString& partNumber, CADDocument** document) {
  if (partNumber.IsEmpty()) return nullptr;
  for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments()) {
    CADIProduct_var root = RootOf(entry);
    if (!root || root->GetPartNumber() != partNumber) continue;
    if (document) *document = CADDocument_var(entry).get();
    return root;
  }
  return nullptr;
}

CADIProduct_var ZRBCommandStates::FindReferenceProductInSession(const CADUnicodeString& path, CADDocument*& document) {
  document = CADDocumentServices::GetDocumentInSession(path);
  return document ? document->GetRootProduct() : CADIProduct_var();
}

CADIProduct_var ZRBCommandStates::FindCachedProductInSession(const CADUnicodeString& partNumber) {
  for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments()) {
    CADIProduct_var root = RootOf(entry);
    if (!root || root->GetFatherProduct()) continue;
    std::vector<CADIProduct_var> nodes;
    AllNodes(root, nodes);
    for (const CADIProduct_var& node : nodes)
      if (GlobPropertyManager.IsCachedPart(node) && GlobPropertyManager.GetPartNumber(node, 0) == partNumber)
        return node;
  }
  return nullptr;
}

int ZRBCommandStates::InstancePartForParentExists(const CADIProduct_var& parent, const CADUnicodeString& partNumber) {
  if (!parent) return 0;
  for (const CADBaseUnknown_var& item : parent->GetChildren())
    if (GlobPropertyManager.GetPartNumber(CADIProduct_var(item), 0) == partNumber) return 1;
  return 0;
}

// ---------------------------------------------------------------- parent information, other forms

int ZRBCommandStates::StoreParentInfoForAttrApi(CADFrmEditor* editor, const CADUnicodeString& obid,
                                                const CADUnicodeString& dbName, const CADUnicodeString& className) {
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  return document ? StoreParentInfoForAttrApi(CADIProduct_var(), document, obid, dbName, className) : 0;
}

int ZRBCommandStates::GetParentInfoForAttrApi(const CADUnicodeString& obidText, const CADUnicodeString& dbNameText,
                                              const CADUnicodeString& classNameText, CADListValCADUnicodeString& obids,
                                              CADListValCADUnicodeString& dbNames,
                                              CADListValCADUnicodeString& classNames) {
  const CADListValCADUnicodeString o = ZRBListText::Split(obidText.view());
  const CADListValCADUnicodeString d = ZRBListText::Split(dbNameText.view());
  const CADListValCADUnicodeString c = ZRBListText::Split(classNameText.view());
  if (o.Size() < 1 || o.Size() != d.Size() || o.Size() != c.Size()) return 0;
  obids.Append(o);
  dbNames.Append(d);
  classNames.Append(c);
  return 1;
}
