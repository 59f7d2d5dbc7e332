// Products the PDM now holds differently from the session: a child document with the wrong identity, and an
// embedded product the PDM now keeps as a document of its own.
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBAfxBase.h"
#include "ZRBCommandContext.h"
#include "ZRBCommandStates.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr unsigned long kQuestionStyle = 0x800200;
constexpr int kAnswerYes = 3;

bool On(const char* name) { return g_ZRBConfig.CompareEnvVar(name, "ON", 1) != 0; }

int Ask(const char* key, const CADUnicodeString& first, const CADUnicodeString& second = CADUnicodeString()) {
  CADUnicodeString parameters[2] = {first, second};
  const int count = second.IsEmpty() ? 1 : 2;
  return ZRBAfxBase::MsgBox(ZRBAfxBase::BuildMessage("ZRBReadCmd", CADString("ZRBReadCmd.") + key, parameters, count),
                            kQuestionStyle);
}

CADUnicodeString Obid(const CADIProduct_var& product) {
  return GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID");
}

bool IsEmbedded(const CADIProduct_var& product) {
  return GlobPropertyManager.GetReferenceProperty(product, "ZRB_USE_EMBEDDED_PRODUCT") == "1";
}

// The document a product is the root of, or null for an embedded product (it lives in its real parent's file).
CADDocument* OwnDocument(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document)) || !document) return nullptr;
  const CADIProduct_var root = document->GetRootProduct();
  return root && root->GetReferenceProduct() == product->GetReferenceProduct() ? document : nullptr;
}

void CollectEmbedded(const CADIProduct_var& node, const CADUnicodeString& obid, CADListValCADBaseUnknown_var& out) {
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    if (IsEmbedded(child) && (obid.IsEmpty() || Obid(child) == obid)) out.Append(child);
    CollectEmbedded(child, obid, out);
  }
}

}  // namespace

void ZRBCommandStates::AddStateMessage(const char* key, const CADUnicodeString& parameter) {
  auto* context = dynamic_cast<ZRBCommandContext*>(this);
  if (!context) return;  // a bare state checker has no message centre
  CADUnicodeString parameters[1] = {parameter};
  context->GetInformations().Append(
      ZRBAfxBase::BuildMessage("ZRBReadCmd", CADString("ZRBReadCmd.") + key, parameters, 1));
}

int ZRBCommandStates::ReplaceChildWithWrongData(CADIProduct* parent, CADIProduct*& child, const CADUnicodeString& path,
                                                int* replaced) {
  ZRB_TRACE("ZRBCommand::ReplaceChildWithWrongData");
  if (On("ZRB_DISABLE_REPLACE_WRONG_PRD")) {
    ZRB_TRACE_OK();
    return 1;
  }
  if (!replaced) {
    ZRB_DEBUG("(pbReplaceSucceeded == NULL)");
    return 0;
  }
  *replaced = 0;
  if (!parent) {
    ZRB_DEBUG("(piParentProduct == NULL)");
    return 0;
  }
  if (!child) {
    ZRB_DEBUG("(piChildProduct == NULL)");
    return 0;
  }
  const CADIProduct_var father(parent);
  const CADIProduct_var old(child);
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(old, 0);
  if (!On("ZRB_REPLACE_WRONG_PRD_AUTO") && Ask("ReplaceProductWithWrongUUID", partNumber, path) != kAnswerYes) {
    ZRB_TRACE_OK();
    return 1;
  }
  // The right document: one already open under that path, else opened now. One that cannot be had leaves the
  // child as it is.
  CADDocument* document = CADDocumentServices::GetDocumentInSession(path);
  if (!document && FAILED(CADDocumentServices::OpenDocument(path, document))) document = nullptr;
  if (!document || !document->GetRootProduct()) {
    ZRB_DEBUG("ZRB: cannot open '%s' to replace %s", path.c_str(), partNumber.c_str());
    return 0;
  }
  CADIProduct_var fresh;
  if (FAILED(father->ReplaceComponent(old, document, fresh))) {
    ZRB_DEBUG("ZRB: ReplaceProduct failed for %s", partNumber.c_str());
    return 0;
  }
  if (!fresh) fresh = FindCachedProductInSession(GlobPropertyManager.GetPartNumber(document->GetRootProduct(), 0));
  if (!fresh) return 0;
  *replaced = 1;
  SetDirtyFlagForProduct(1, fresh);
  GlobPropertyManager.DeleteInstanceProperty(father, fresh, "ZRB_KEEP_AS_NEW");
  child = fresh.get();
  AddStateMessage("ReplacedWrongUUID", partNumber);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBCommandStates::SearchEmbChildren(const CADIProduct_var& root, const CADUnicodeString& obid,
                                        CADListValCADBaseUnknown_var& embedded) {
  embedded.RemoveAll();
  if (!root) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  CollectEmbedded(root, obid, embedded);
  return 1;
}

int ZRBCommandStates::ReplaceEmbeddedBy(const CADIProduct_var& root, const CADIProduct_var& separate, int& replaced) {
  const CADUnicodeString obid = Obid(separate);
  CADDocument* document = OwnDocument(separate);
  if (obid.IsEmpty() || !document || IsEmbedded(separate)) return 0;
  CADListValCADBaseUnknown_var embedded;
  SearchEmbChildren(root, obid, embedded);
  if (embedded.Size() == 0) return 0;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(separate, 0);
  if (Ask("ReplaceProductEmbNonEmb", partNumber) != kAnswerYes) return 0;
  int count = 0;
  for (const CADBaseUnknown_var& item : embedded) {
    CADIProduct_var node(item);
    CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(node);
    CADIProduct_var fresh;
    if (!father || FAILED(father->ReplaceComponent(node, document, fresh))) {
      ZRB_DEBUG("ZRB: ReplaceProduct failed for embedded %s", partNumber.c_str());
      continue;
    }
    // The real parent's file lost the embedded product: it must be saved again.
    SetDirtyFlagForProduct(1, father);
    ++count;
  }
  if (count > 0) {
    replaced += count;
    AddStateMessage("ReplacedEmbNonEmb", partNumber);
  }
  return count;
}

int ZRBCommandStates::RemoveEmbChildren(const CADIProduct_var& root, int& replaced) {
  replaced = 0;
  if (!root) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  // The separate documents of the structure, each once: every one replaces the embedded products of its identity.
  std::vector<CADIProduct_var> nodes{root};
  std::vector<CADIProduct_var> separate;
  std::vector<CADUnicodeString> seen;
  while (!nodes.empty()) {
    CADIProduct_var node = nodes.back();
    nodes.pop_back();
    for (const CADBaseUnknown_var& item : node->GetChildren()) nodes.emplace_back(item);
    const CADUnicodeString obid = Obid(node);
    if (obid.IsEmpty() || IsEmbedded(node) || !OwnDocument(node)) continue;
    if (std::find(seen.begin(), seen.end(), obid) != seen.end()) continue;
    seen.push_back(obid);
    separate.push_back(node);
  }
  for (const CADIProduct_var& node : separate) ReplaceEmbeddedBy(root, node, replaced);
  return 1;
}

int ZRBCommandStates::RemoveEmbChildrenFromTopLevel(const CADIProduct_var& root, CADListValCADBaseUnknown_var& topLevel,
                                                    int& replaced) {
  replaced = 0;
  if (!root) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  // From the back, so the numbers of the items still to visit stay valid.
  for (int index = topLevel.Size(); index >= 1; --index) {
    const CADIProduct_var product(topLevel[index]);
    if (!product || ReplaceEmbeddedBy(root, product, replaced) == 0) continue;
    ZRB_DEBUG("RemoveEmbChildrenFromTopLevel %d from List", index);
    topLevel.RemovePosition(index);
  }
  return 1;
}
