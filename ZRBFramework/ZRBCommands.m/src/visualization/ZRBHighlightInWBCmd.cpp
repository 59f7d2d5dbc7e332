#include "ZRBHighlightInWBCmd.h"

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBCommandStates.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBHighlightInWBCmd* fctCreateZRBHighlightInWBCmd() { return new ZRBHighlightInWBCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBHighlightInWBCmd", &fctCreateZRBHighlightInWBCmd);

constexpr const char* kRequestFile = "HighlightInWB.zrb";

CADUnicodeString Ref(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(product, name);
}

void Fail(const char* trace) {
  ZRB_DEBUG("%s", trace);
  ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBHighlightInWBCmd", "ZRBHighlightInWBCmd.HighlightInWBFailed"), 0x8000200);
}
}  // namespace

ZRBOneStepCommand::Outcome ZRBHighlightInWBCmd::Work() {
  if (!GetEditor()) {
    Fail("ZRBHighlightInWBCmd::Activate -> ERROR: m_pEditor == NULL");
    return Outcome::Stopped;
  }
  CADListValCADBaseUnknown_var parts, products;
  CADUnicodeString processPath;
  int messageShown = 0;
  if (FAILED(GetSelectedTreeNodes(parts, products, processPath, &messageShown))) {
    if (messageShown) {
      ZRB_DEBUG("ZRBHighlightInWBCmd::Activate -> ERROR: GetSelectedTreeNodes FAILED");
    } else {
      Fail("ZRBHighlightInWBCmd::Activate -> ERROR: GetSelectedTreeNodes FAILED");
    }
    return Outcome::Stopped;
  }
  if (parts.Size() == 0 && products.Size() == 0 && processPath.IsEmpty()) return Outcome::Stopped;
  ZRBObjectManager objects;
  if (FAILED(CreateObjectManagerStructure(parts, products, processPath, &objects))) {
    Fail("ZRBHighlightInWBCmd::Activate -> ERROR: CreateObjectManagerStructure FAILED");
    return Outcome::Stopped;
  }
  CADUnicodeString xmap;
  if (!ZRBAfx::GetXMap(xmap) || FAILED(SendShowRequestToPdm(xmap, objects))) {
    Fail("ZRBHighlightInWBCmd::Activate -> ERROR: SendShowRequestToPdm FAILED");
    return Outcome::Stopped;
  }
  ZRBAfx::SetWorkBenchWindowTop();
  return Outcome::Stopped;
}

HRESULT ZRBHighlightInWBCmd::GetSelectedTreeNodes(CADListValCADBaseUnknown_var& parts,
                                                  CADListValCADBaseUnknown_var& products,
                                                  CADUnicodeString& processDocumentPath, int* messageShown) {
  CADFrmEditor* editor = GetEditor();
  CADCSO* cso = editor ? editor->GetCSO() : nullptr;
  if (!cso || !editor->GetDocument()) return E_FAIL;
  auto refuse = [messageShown](const char* key) {
    ShowMessage("ZRBHighlightInWBCmd", key, kFailureStyle);
    if (messageShown) *messageShown = 1;
    return E_FAIL;
  };
  if (editor->GetDocument()->GetType() == "CADProcess") {
    ZRB_DEBUG("ZRB: Found CADProcess");
    if (cso->GetSize() == 0) return refuse("SelectAtLeastOnePartOrProduct");
    processDocumentPath = editor->GetDocument()->StorageName();
    return S_OK;
  }
  if (cso->GetSize() == 0) return refuse("SelectAtLeastOnePartOrProduct");
  for (int i = 1; i <= cso->GetSize(); ++i) {
    CADIProduct_var product;
    if (FAILED(cso->GetElement(i)->GetLeafProduct(product))) continue;
    const CADUnicodeString type = GlobPropertyManager.GetProductType(product);
    if (Ref(product, "ZRB_OBID").IsEmpty()) return refuse("PartsMustBeFromPdm");
    if (type == "CADProduct") {
      products.Append(CADBaseUnknown_var(product));
    } else if (ZRBCommandStates::IsPartLikeType(type)) {
      // An embedded component part has no document of its own in the PDM.
      if (Ref(product, "ZRB_ISCOMPONENT") == "1") return refuse("BBPartsCannotBeHighlighted");
      parts.Append(CADBaseUnknown_var(product));
    } else {
      ZRB_DEBUG("Unsupported Type %s", type.c_str());
    }
  }
  if (parts.Size() == 0 && products.Size() == 0) return refuse("SelectAtLeastOnePartOrProduct");
  return S_OK;
}

HRESULT ZRBHighlightInWBCmd::RetrieveNeededProductAttributes(const CADIProduct_var& product, CADString* edescId,
                                                             CADListValCADString* relationPath) {
  if (!product || !edescId || !relationPath) return E_FAIL;
  const CADUnicodeString obid = Ref(product, "ZRB_OBID");
  if (obid.IsEmpty()) return E_FAIL;
  *edescId = CADString(obid.str());
  CADIProduct_var node = product;
  for (CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(node); father;
       node = father, father = ZRBPSNTreeUtil::GetFatherProduct(node)) {
    // An item placed on the workbench is a top of the PDM's structure: the workbench holds it by no PDM relation.
    if (Ref(node, "ZRB_CLASSNAME") == "x0CDRtIt" || IsWorkbenchProduct(father)) break;
    const CADUnicodeString relation = GlobPropertyManager.GetInstanceProperty(father, node, "ZRB_RELATION");
    if (GlobPropertyManager.GetInstanceProperty(father, node, "ZRB_IS_PROCESS_ROOT") == "1") {
      const CADUnicodeString processClass =
          GlobPropertyManager.GetFileProperty(GlobPropertyManager.GetProductFullPath(father), "ZRB_CLASSNAME");
      if (!processClass.IsEmpty() && !relation.IsEmpty()) relationPath->Append(CADString(relation.str()));
      break;
    }
    if (Ref(node, "ZRB_CLASSNAME").IsEmpty() || relation.IsEmpty()) return E_FAIL;
    relationPath->Append(CADString(relation.str()));
  }
  return S_OK;
}

HRESULT ZRBHighlightInWBCmd::RetrieveNeededPartAttributes(const CADIProduct_var& product, CADString* edescId,
                                                          CADString* docrelId, CADListValCADString* relationPath) {
  if (!docrelId || FAILED(RetrieveNeededProductAttributes(product, edescId, relationPath))) return E_FAIL;
  *docrelId = CADString(Ref(product, "ZRB_DOCREL_ID").str());
  return S_OK;
}

HRESULT ZRBHighlightInWBCmd::CreateObjectManagerStructure(const CADListValCADBaseUnknown_var& parts,
                                                          const CADListValCADBaseUnknown_var& products,
                                                          const CADUnicodeString& processDocumentPath,
                                                          ZRBObjectManager* objects) {
  if (!objects) return E_FAIL;
  CADListValCADString partKeys, productKeys;
  int next = 0;
  auto add = [&](const CADString& edescId, const CADListValCADString& path, const CADString* docrelId) -> ZRBObject* {
    ZRBObject* object = objects->CreateObject(CADString("HL_" + std::to_string(++next)));
    if (!object || !object->SetSlotValue("EDESC_ID", edescId) || !object->SetSlotValueList("NHA_ID_LIST", path))
      return nullptr;
    if (docrelId && !object->SetSlotValue("DOCREL_ID", *docrelId)) return nullptr;
    return object;
  };
  for (const CADBaseUnknown_var& item : parts) {
    CADString edescId, docrelId;
    CADListValCADString path;
    if (FAILED(RetrieveNeededPartAttributes(CADIProduct_var(item), &edescId, &docrelId, &path))) return E_FAIL;
    ZRBObject* object = add(edescId, path, &docrelId);
    if (!object) return E_FAIL;
    partKeys.Append(object->GetKey());
  }
  for (const CADBaseUnknown_var& item : products) {
    CADString edescId;
    CADListValCADString path;
    if (FAILED(RetrieveNeededProductAttributes(CADIProduct_var(item), &edescId, &path))) return E_FAIL;
    ZRBObject* object = add(edescId, path, nullptr);
    if (!object) return E_FAIL;
    productKeys.Append(object->GetKey());
  }
  if (!processDocumentPath.IsEmpty()) {
    const CADUnicodeString obid = GlobPropertyManager.GetFileProperty(processDocumentPath, "ZRB_OBID");
    if (obid.IsEmpty()) return E_FAIL;
    ZRBObject* object = objects->CreateObject(CADString("HL_" + std::to_string(++next)));
    if (!object || !object->SetSlotValue("EDESC_ID", CADString(obid.str())) ||
        !object->SetSlotValue("NHA_ID_LIST", CADString()))
      return E_FAIL;
    // The process document is a part of the PDM's view, so it goes with the parts.
    partKeys.Append(object->GetKey());
  }
  ZRBObject* root = objects->CreateObject("ROOT");
  ZRBObject* command = objects->CreateObject("COMMAND");
  if (!root || !command || !root->SetSlotValue("ZRBVER", "V4_4.0.8") || !root->SetSlotValueList("ITEMLIST", partKeys) ||
      !root->SetSlotValueList("PRODUCT_ITEMLIST", productKeys) ||
      !command->SetSlotValue("COMMAND", "REQUEST_MODEL_SHOW"))
    return E_FAIL;
  return S_OK;
}

HRESULT ZRBHighlightInWBCmd::SendShowRequestToPdm(const CADUnicodeString& directory, ZRBObjectManager& objects) {
  const CADUnicodeString path = ZRBAfx::MakePath(directory, kRequestFile);
  if (!objects.Write(path)) return E_FAIL;
  ApplyClientMode();
  return RunPdmAction(ZRBPdmAction::HighlightInWB, ZRBPdmAction::Line(ZRBPdmAction::HighlightInWB, path)) < 0 ? E_FAIL
                                                                                                              : S_OK;
}
