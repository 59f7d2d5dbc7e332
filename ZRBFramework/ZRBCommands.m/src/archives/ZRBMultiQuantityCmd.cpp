#include "ZRBMultiQuantityCmd.h"

#include "CADClassDictionary.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBMultiQuantityCmd* fctCreateZRBMultiQuantityCmd() { return new ZRBMultiQuantityCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBMultiQuantityCmd", &fctCreateZRBMultiQuantityCmd);

constexpr const char* kCatalog = "ZRBMultiQuantityCmd";

CADUnicodeString Inst(const CADIProduct_var& father, const CADIProduct_var& child, const char* name) {
  return GlobPropertyManager.GetInstanceProperty(father, child, name);
}

CADUnicodeString InstanceName(const CADIProduct_var& product) {
  CADUnicodeString name;
  product->GetPrdInstanceName(name);
  return name;
}
}  // namespace

ZRBOneStepCommand::Outcome ZRBMultiQuantityCmd::Work() {
  CADListValCADBaseUnknown_var nodes;
  int invalid = 0;
  if (FAILED(GetAndFilterSelectedTreeNodes(nodes, &invalid))) return Outcome::Stopped;
  if (invalid) GetWarnings().Append(BuildMessage(kCatalog, "OnlyApplyingToValidNodes"));
  int marked = 0;
  for (const CADBaseUnknown_var& node : nodes) SetNewSiblingsToMultiQuantity(CADIProduct_var(node), marked);
  return marked > 0 ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBMultiQuantityCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage(kCatalog, "MultiQuantityOK"),
                       BuildMessage(kCatalog, "MultiQuantityFailed"), 0);
}

HRESULT ZRBMultiQuantityCmd::GetAndFilterSelectedTreeNodes(CADListValCADBaseUnknown_var& nodes, int* invalid) {
  CADFrmEditor* editor = GetEditor();
  CADCSO* cso = editor ? editor->GetCSO() : nullptr;
  if (!cso || cso->GetSize() == 0) {
    ShowMessage(kCatalog, "SelectAtLeastOne", kFailureStyle);
    return E_FAIL;
  }
  for (int i = 1; i <= cso->GetSize(); ++i) {
    CADIProduct_var product;
    int valid = 0;
    if (SUCCEEDED(cso->GetElement(i)->GetLeafProduct(product))) TreeNodeIsValid(product, &valid);
    if (!valid) {
      ZRB_DEBUG("A CSO element is NOT valid");
      if (invalid) ++*invalid;
      continue;
    }
    nodes.Append(CADBaseUnknown_var(product));
  }
  return S_OK;
}

HRESULT ZRBMultiQuantityCmd::TreeNodeIsValid(const CADIProduct_var& product, int* valid) {
  if (!valid) return E_FAIL;
  *valid = 0;
  if (!product) return E_FAIL;
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  if (!father || !GetRealParent(father) || IsWorkbenchProduct(father)) {
    ZRB_DEBUG("ZRB: No Real Father found");
    return S_OK;
  }
  const CADUnicodeString type = GlobPropertyManager.GetProductType(product);
  if (!(type == "CADProduct") && !(type == "CADPart") && !(type == "model")) return S_OK;
  if (!Inst(father, product, "ZRB_RELATION").IsEmpty()) ZRB_DEBUG("ZRB: ZRB_RELATION Exists");
  // Only a usage the PDM holds can be counted several times; a new instance has no usage yet.
  *valid = Inst(father, product, "ZRB_INSTANCE_IN_ZRB") == "1" ? 1 : 0;
  return S_OK;
}

HRESULT ZRBMultiQuantityCmd::SetNewSiblingsToMultiQuantity(const CADIProduct_var& product, int& marked) {
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  if (!father) return E_FAIL;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(product, 0);
  CADUnicodeString index = Inst(father, product, "ZRB_MATRIX_INDEX");
  bool indexGiven = false;
  for (const CADBaseUnknown_var& item : father->GetChildren()) {
    CADIProduct_var sibling(item);
    if (!sibling || sibling.get() == product.get() || Inst(father, sibling, "ZRB_INSTANCE_IN_ZRB") == "1" ||
        !(GlobPropertyManager.GetPartNumber(sibling, 0) == partNumber))
      continue;
    if (index.IsEmpty()) {
      // The first quantity: the usage had a single one so far.
      index = "1";
      indexGiven = true;
    }
    GlobPropertyManager.SetInstanceProperty(father, sibling, "ZRB_MATRIX_INDEX", index);
    AddProductToOutputList(sibling, product, index);
    ++marked;
  }
  if (indexGiven) GlobPropertyManager.SetInstanceProperty(father, product, "ZRB_MATRIX_INDEX", index);
  return S_OK;
}

void ZRBMultiQuantityCmd::AddProductToOutputList(const CADIProduct_var& sibling, const CADIProduct_var& chosen,
                                                 const CADUnicodeString& index) {
  CADUnicodeString parameters[4] = {InstanceName(sibling), GlobPropertyManager.GetPartNumber(sibling, 0),
                                    InstanceName(chosen), index};
  GetInformations().Append(BuildMessage(kCatalog, "MarkedForMQ", parameters, 4));
}
