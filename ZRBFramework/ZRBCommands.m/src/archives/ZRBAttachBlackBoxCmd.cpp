#include "ZRBAttachBlackBoxCmd.h"

#include "CADAutoProduct.h"
#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBListBoxDialog.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBAttachBlackBoxCmd* fctCreateZRBAttachBlackBoxCmd() { return new ZRBAttachBlackBoxCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBAttachBlackBoxCmd", &fctCreateZRBAttachBlackBoxCmd);

constexpr const char* kCatalog = "ZRBAttachBlackBoxCmd";

void StepFailed(const char* step) {
  ZRB_DEBUG("ZRBAttachBlackBoxCmd::Activate -> ERROR: %s FAILED", step);
  ZRBAfx::MsgBox(ZRBAfx::BuildMessage(kCatalog, "ZRBAttachBlackBoxCmd.AttachBlackBoxFailed"), 0x8000200);
}

std::vector<CADIProduct_var> Nodes(const ZRBBlackBoxContent& content) {
  std::vector<CADIProduct_var> nodes;
  for (const auto* list : {&content.roots, &content.items})
    for (const ZRBBlackBoxNode& node : *list) nodes.push_back(node.node);
  return nodes;
}
}  // namespace

ZRBOneStepCommand::Outcome ZRBAttachBlackBoxCmd::Work() {
  CADIProduct_var father;
  int messageShown = 0;
  if (FAILED(GetAndFilterSelectedTreeNodes(father, &messageShown))) {
    if (!messageShown) StepFailed("GetAndFilterSelectedTreeNodes");
    return Outcome::Stopped;
  }
  std::vector<CADIProduct_var> illegal;
  ZRBBlackBoxUtil::GetAllIllegalChildren(father, illegal);
  if (!illegal.empty()) {
    ZRB_DEBUG("ERROR: Black box contains new objects already in PDM system");
    CADUnicodeString parameter = GlobPropertyManager.GetPartNumber(illegal.front(), 0);
    ShowMessage(kCatalog, "AlreadyInZRB", kFailureStyle, &parameter, 1);
    return Outcome::Stopped;
  }
  const std::vector<CADIProduct_var> visu = BlackBoxFilesInVisuMode(father);
  if (!visu.empty()) {
    ZRB_DEBUG("ZRBAttachBlackBoxCmd::Activate -> BlackBox Files are in Visu Mode");
    auto* list = new ZRBListBoxDialog();
    list->Build();
    list->SetTitle(ZRBAfx::BuildMessage("ZRBListBoxDialog", "ZRBListBoxDialog.BlackBoxVisoModeTitle"));
    list->SetLabel(ZRBAfx::BuildMessage("ZRBListBoxDialog", "ZRBListBoxDialog.BlackBoxVisoModeLabel"));
    for (const CADIProduct_var& node : visu) list->AddListItem(GlobPropertyManager.GetPartNumber(node, 0));
    list->SetVisibility(CADDlgShow);
    return Outcome::Stopped;
  }
  int dirty = 0;
  if (FAILED(BlackBoxDocsAreDirty(father, &dirty)) || dirty) {
    ShowMessage(kCatalog, "PleaseUpdatePdm", kFailureStyle);
    return Outcome::Stopped;
  }
  CADUnicodeString xmap;
  if (!ZRBAfx::GetXMapWithEndingSlash(xmap)) {
    StepFailed("GetXMapWithEndingSlash");
    return Outcome::Stopped;
  }
  // The nodes as they are sent: the answer is matched against these, not against a tree changed meanwhile.
  const ZRBBlackBoxContent content = ZRBBlackBoxUtil::GetContent(father);
  ZRBObjectManager request;
  ZRBObject* box = nullptr;
  if (FAILED(CreateObjectManagerStructure(father, xmap, &request, &box))) {
    StepFailed("CreateObjectManagerStructure");
    return Outcome::Stopped;
  }
  ZRBObjectManager answer;
  if (FAILED(SendAttachRequestToPdm(xmap, request, answer))) return Outcome::Stopped;
  if (!DisplayResult(answer)) return Outcome::Failed;

  const ZRBObject* root = answer.GetObject("ROOT");
  const ZRBObject* answered = answer.GetObject(root->GetSlotValue("BLACKBOX"));
  int result = ZRBBlackBoxUtil::SetBlackBoxRootProperties(*this, father, content, answer, answered);
  result = ZRBBlackBoxUtil::SetBlackBoxItemProperties(*this, father, content, answer, answered) && result;
  // The user-defined attributes just written are the PDM's, not the designer's: the documents still equal the
  // files the PDM took (they were all unmodified before), so a later attach or update need not send them again.
  for (const CADIProduct_var& node : Nodes(content))
    if (CADDocument* document = CADDocumentServices::GetDocumentInSession(GlobPropertyManager.GetProductFullPath(node)))
      document->SetDirty(0);
  CheckIntegrity(0);
  if (!content.roots.empty()) {
    CADUnicodeString name;
    if (SUCCEEDED(content.roots.front().node->GetPrdInstanceName(name)))
      ZRBPSNTreeUtil::SelectInstanceInActWindow(name, 1);
  }
  return result ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBAttachBlackBoxCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage(kCatalog, "AttachBlackBoxOk"),
                       BuildMessage(kCatalog, "AttachBlackBoxFailed"), 0);
}

HRESULT ZRBAttachBlackBoxCmd::GetAndFilterSelectedTreeNodes(CADIProduct_var& father, int* messageShown) {
  CADFrmEditor* editor = GetEditor();
  CADCSO* cso = editor ? editor->GetCSO() : nullptr;
  if (!cso) return E_FAIL;
  auto refuse = [messageShown](const char* key) {
    ShowMessage(kCatalog, key, kFailureStyle);
    if (messageShown) *messageShown = 1;
    return E_FAIL;
  };
  if (cso->GetSize() != 1) return refuse("SelectExactlyOneZRBProduct");
  CADIProduct_var product;
  if (FAILED(cso->GetElement(1)->GetLeafProduct(product)) || !product) return refuse("SelectExactlyOneZRBProduct");
  if (IsWorkbenchProduct(product)) return refuse("NotOnVirtualRoot");
  int valid = 0;
  TreeNodeIsValid(product, &valid);
  ZRB_DEBUG(valid ? "CSO element is VALID" : "CSO element is NOT valid");
  if (!valid) return refuse("SelectExactlyOneZRBProduct");
  father = product;
  return S_OK;
}

HRESULT ZRBAttachBlackBoxCmd::TreeNodeIsValid(const CADIProduct_var& product, int* valid) {
  if (!valid) return E_FAIL;
  *valid = 0;
  if (!product) return E_FAIL;
  CADIProduct_var node = product;
  int fromPdm = 0, blackBox = 0;
  if (FAILED(ZRBInfoUtil::WasLoadedFromPdm(node, &fromPdm)) || FAILED(ZRBInfoUtil::IsBlackBoxNode(node, &blackBox)))
    return E_FAIL;
  // The PDM keeps the black box under an item: the node must carry that item's identity.
  *valid = fromPdm && !blackBox && !GlobPropertyManager.IsArchiveContent(node) &&
                   !GlobPropertyManager.GetReferenceProperty(node, "ZRB_OBID").IsEmpty()
               ? 1
               : 0;
  return S_OK;
}

HRESULT ZRBAttachBlackBoxCmd::BlackBoxDocsAreDirty(const CADIProduct_var& product, int* dirty) {
  if (!product || !dirty) return E_FAIL;
  *dirty = 0;
  for (const CADIProduct_var& node : Nodes(ZRBBlackBoxUtil::GetContent(product))) {
    CADDocument* document = CADDocumentServices::GetDocumentInSession(GlobPropertyManager.GetProductFullPath(node));
    if (document && document->IsDirty()) {
      ZRB_DEBUG("%s is dirty", document->StorageName().c_str());
      *dirty = 1;
    }
  }
  return S_OK;
}

std::vector<CADIProduct_var> ZRBAttachBlackBoxCmd::BlackBoxFilesInVisuMode(const CADIProduct_var& product) {
  std::vector<CADIProduct_var> visu;
  for (const CADIProduct_var& node : Nodes(ZRBBlackBoxUtil::GetContent(product))) {
    int mode = 0;
    CADAutoProduct_var automation(node);
    // A part kept unloaded has no geometry the PDM could take over.
    if (GlobPropertyManager.IsCachedPart(node) ||
        (automation && SUCCEEDED(automation->GetWorkMode(mode)) && mode == CADAutoProduct::kVisualizationMode))
      visu.push_back(node);
  }
  return visu;
}

HRESULT ZRBAttachBlackBoxCmd::CreateObjectManagerStructure(const CADIProduct_var& product, const CADUnicodeString& xmap,
                                                           ZRBObjectManager* request, ZRBObject** box) {
  if (!request || !box) return E_FAIL;
  ZRBObject* root = request->CreateObject("ROOT");
  ZRBObject* command = root ? ZRBPdmRequest::AddCommand(*request, "REQUEST_ATTACH_BLACKBOX", xmap) : nullptr;
  if (!command || FAILED(ZRBBlackBoxUtil::CreateBlackBoxZRBObj(product, request, box)) || !*box) {
    ZRB_DEBUG("ZRBAttachBlackBoxCmd::Activate -> ERROR: CreateBlackBoxZRBObj FAILED");
    return E_FAIL;
  }
  if (!root->SetSlotValue("ZRBVER", "V8.4") || !root->SetSlotValue("BLACKBOX", (*box)->GetKey())) return E_FAIL;
  // The PDM takes the documents it is to add from the exchange map.
  const ZRBBlackBoxContent content = ZRBBlackBoxUtil::GetContent(product);
  for (const auto* list : {&content.roots, &content.items}) {
    for (const ZRBBlackBoxNode& node : *list) {
      const CADUnicodeString target = xmap + node.fileName;
      if (node.fullPath == target) continue;
      if (FAILED(ZRBFileUtil::CopyFile(node.fullPath, target))) {
        ZRB_DEBUG("ZRB: could not copy %s into the exchange map", node.fullPath.c_str());
        return E_FAIL;
      }
    }
  }
  return S_OK;
}

HRESULT ZRBAttachBlackBoxCmd::SendAttachRequestToPdm(const CADUnicodeString& xmap, ZRBObjectManager& request,
                                                     ZRBObjectManager& answer) {
  const CADUnicodeString path = xmap + kRequestFile;
  if (!request.Write(path)) {
    StepFailed("SendAttachRequestToPdm");
    return E_FAIL;
  }
  ApplyClientMode();
  ZRBAfx::SetWorkBenchWindowTop();
  const int status =
      RunPdmAction(ZRBPdmAction::AttachBlackBoxCmd, ZRBPdmAction::Line(ZRBPdmAction::AttachBlackBoxCmd, path));
  ZRBAfx::SetCadWindowTop();
  if (status < 0) return E_FAIL;  // RunPdmAction showed "ZRBAfx.ConnectFailed"
  if (!ZRBPdmRequest::ReadWholeAnswer(path, answer)) {
    ZRB_DEBUG("ZRB: ZRB exchangefile not found");
    ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBAfx", "ZRBAfx.ConnectFailed"), kFailureStyle);
    return E_FAIL;
  }
  return S_OK;
}

int ZRBAttachBlackBoxCmd::DisplayResult(ZRBObjectManager& answer) {
  const ZRBObject* root = answer.GetObject("ROOT");
  if (!root) {
    ZRB_DEBUG("ZRB: Cannot read Root Obj from answer");
    GetWarnings().Append(BuildMessage(kCatalog, "NoAnswerFromPdm"));
    return 0;
  }
  ZRB_DEBUG("ZRB: Get STATS from object manager");
  ZRBPdmRequest::AddStats(*root, GetWarnings());
  if (root->GetSlotValue("ACTION_RESULT") == "SUCCESS") return 1;
  ZRB_DEBUG("An error occurred in PDM");
  return 0;
}
