#include "ZRBUsePdmStructureCmd.h"

#include <filesystem>
#include <system_error>

#include "CADCSO.h"
#include "CADClassDictionary.h"
#include "CADDocId.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBDummyCmd.h"
#include "ZRBGlobalProperties.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadCmd.h"
#include "ZRBStaleFileGuard.h"
#include "ZRBTrace.h"

ZRBUsePdmStructureCmd* fctCreateZRBUsePdmStructureCmd() { return new ZRBUsePdmStructureCmd(); }

namespace {

const CADClassDictionary::Registration g_registration("ZRBUsePdmStructureCmd", &fctCreateZRBUsePdmStructureCmd);

constexpr const char* kCatalog = "ZRBUsePdmStructureCmd";

// The entry itself, not what a symbolic link points at: an old answer may be a link, and the link is what goes.
bool EntryExists(const CADUnicodeString& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path.str(), error));
}

}  // namespace

// --- lifecycle

ZRBUsePdmStructureCmd::ZRBUsePdmStructureCmd()
    : ZRBTwoStepCommand("ZRBUsePdmStructureCmd", ZRBRunningCommandKind::UsePdmStructure) {}

// Whichever way the command ends (cancel, abandonment, a failed step), the backups get their names back.
ZRBUsePdmStructureCmd::~ZRBUsePdmStructureCmd() = default;

void ZRBUsePdmStructureCmd::ReadStartSettings() {
  int value = 0;
  cacheActivation_ = SUCCEEDED(CADSettingRepository::ReadSetting("CADCache", "CacheActivation", &value)) ? value : -1;
}

void ZRBUsePdmStructureCmd::RestoreStaleFiles() {
  if (staleFiles_) staleFiles_->Restore();
  staleFiles_.reset();
}

// --- selection

int ZRBUsePdmStructureCmd::CheckForSelectedProducts(CADIProduct_var& product, CADUnicodeString& type) {
  ZRB_TRACE("ZRBUsePdmStructureCmd::CheckForSelectedProducts");
  product = nullptr;
  const auto refuse = [](const char* trace, const char* key) {
    if (trace) ZRB_DEBUG("%s", trace);
    ShowMessage(kCatalog, key, kFailureStyle);
    return 0;
  };
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  if (!document) return refuse("ZRB: UsePdmStructure: *** cannot get Document ***", "NoEditor");

  CADDocId id;
  if (FAILED(document->GetDocId(id))) {
    // Without a type nothing says a selection is not needed: the product checks below decide.
    ZRB_DEBUG("pDocument->GetDocId() Failed");
    type = CADUnicodeString("CADProduct");
  } else if (FAILED(id.GetType(type))) {
    ZRB_DEBUG("oDocId->GetType(usType) Failed");
  }
  if (type != "CADProduct") return 1;

  CADCSO* selection = editor->GetCSO();
  if (!selection) return refuse(nullptr, "NoPartSelected");
  if (selection->GetSize() != 1)
    return refuse("ZRB: UsePdmStructure: *** wrong number of elements ***", "OnlyOneProduct");
  const CADPathElement* element = selection->GetElement(1);
  if (!element) return refuse("ZRB: UsePdmStructure: *** unexspected error ***", "NoPartObject");
  CADIProduct_var selected(element->GetLeaf());
  if (!selected) return refuse("ZRB: UsePdmStructure: *** selected elemant is not a Product ***", "NoPartSelected");

  type = GlobPropertyManager.GetProductType(selected);
  ZRB_DEBUG("ZRB: Found '%s' Type", type.c_str());
  if (type != "CADProduct")
    return refuse("ZRB: UsePdmStructure: selected Item is not a CADProduct,", "NoProductSelected");
  if (GlobPropertyManager.IsArchiveContent(selected)) return refuse(nullptr, "ArchiveNotAllowed");
  product = selected;
  ZRB_TRACE_OK();
  return 1;
}

// --- first step

int ZRBUsePdmStructureCmd::StartUsePdmStructure() {
  ZRB_TRACE("ZRBUsePdmStructureCmd::StartUsePdmStructure");
  CADIProduct_var product;
  CADUnicodeString type;
  if (!CheckForSelectedProducts(product, type)) return 0;

  // Without an exchange map the request would land where no PDM looks for it.
  CADUnicodeString xmap;
  if (!ZRBAfx::GetXMap(xmap)) {
    ZRB_DEBUG("ZRB: ZRBXMAP is not set; the use-PDM-structure request is not written");
    ShowMessage(kCatalog, "NoExchangeMap", kFailureStyle);
    return 0;
  }
  staleFiles_ = std::make_unique<ZRBStaleFileGuard>();
  // A start that fails leaves no file aside: no end step will come to put it back.
  const int waiting = HandOver(xmap);
  if (!waiting) RestoreStaleFiles();
  ZRB_TRACE_OK();
  return waiting;
}

int ZRBUsePdmStructureCmd::HandOver(const CADUnicodeString& xmap) {
  const CADUnicodeString requestPath = ZRBAfx::MakePath(xmap, CADUnicodeString(kRequestFileName));
  if (!WriteRequest(xmap, requestPath)) return 0;

  ZRBAfx::SetWorkBenchWindowTop();
  if (RunPdmAction(ZRBPdmAction::UsePdmStructure, ZRBPdmAction::Line(ZRBPdmAction::UsePdmStructure, requestPath)) < 0) {
    ZRBAfx::SetCadWindowTop();
    return 0;
  }
  if (!AnnounceHandOver()) return 0;

  ZRBObjectManager answer;
  ZRBObject* root = answer.Read(requestPath) ? answer.GetObject("ROOT") : nullptr;
  if (ZRBPdmRequest::ReadResult(root, ZRBPdmStep::FirstOfTwo) != ZRBPdmResult::FirstStepDone) {
    ZRBAfx::SetCadWindowTop();
    ZRB_DEBUG("ZRB: UsePdmStructure Step 1 in PDM failed!");
    ShowMessage(kCatalog, "NoWorkbench", kInformationStyle);
    return 0;
  }
  return 1;
}

int ZRBUsePdmStructureCmd::WriteRequest(const CADUnicodeString& xmap, const CADUnicodeString& requestPath) {
  // An old answer left in place would be taken for the PDM's, and its "2" would pass the first step.
  if (EntryExists(requestPath) && FAILED(CADDeleteFile(requestPath))) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", requestPath.c_str());
    ShowMessage(kCatalog, "NoFileAccess", kFailureStyle);
    return 0;
  }
  ZRBObjectManager request;
  ZRBObject* command = ZRBPdmRequest::AddRoot(request) ? ZRBPdmRequest::AddCommand(request, {}, xmap) : nullptr;
  if (command) command->SetSlotValue("TMP_PRAEFIX", GlobPropertyManager.GetNewTmpId().ConvertToString());
  if (!command || !request.Write(requestPath)) {
    ZRB_DEBUG("ZRB: writing %s failed", requestPath.c_str());
    ShowMessage(kCatalog, "NoFileAccess", kFailureStyle);
    return 0;
  }
  return 1;
}

// --- end step

int ZRBUsePdmStructureCmd::EndUsePdmStructureCmd(const CADString& status) {
  ZRB_TRACE("ZRBUsePdmStructureCmd::EndUsePdmStructureCmd");
  // The end step runs once: a second ready status or call must not load the structure twice. The registry goes
  // first, so that the read started below does not abandon this command.
  if (endStepDone_) return 0;
  endStepDone_ = 1;
  ZRBRunningCommandRegistry& registry = ZRBGlobalProperties::Process().GetRunningCommandRegistry();
  if (registry.GetCommand() == this) registry.Clear();
  ZRB_DEBUG("ZRB: Metaphse ready with UsePdmStructure");
  ZRBAfx::SetCadWindowTop();

  if (status == "PDM_CANCEL") {
    RestoreStaleFiles();
    ShowMessage(kCatalog, "UsePdmStructureCanceled", kInformationStyle);
    return 1;
  }
  CADUnicodeString xmap;
  ZRBObjectManager answer;
  ZRBObject* root = nullptr;
  if (ZRBAfx::GetXMap(xmap) && answer.Read(ZRBAfx::MakePath(xmap, CADUnicodeString(kRequestFileName))))
    root = answer.GetObject("ROOT");
  const ZRBPdmResult result = ZRBPdmRequest::ReadResult(root, ZRBPdmStep::SecondOfTwo);
  if (!ZRBPdmRequest::IsSuccess(result)) {
    RestoreStaleFiles();
    ZRB_DEBUG("ZRB: UsePdmStructure Step 2 in PDM failed!");
    ShowMessage(kCatalog, "UsePdmStructureFailed", kFailureStyle);
    return 0;
  }
  ZRB_DEBUG("ZRB: UsePdmStructure Step 2 in PDM success!");

  // Minutes may have passed: the selection the structure goes below is the one of now, and it must still pass.
  CADIProduct_var product;
  CADUnicodeString type;
  if (!CheckForSelectedProducts(product, type)) {
    RestoreStaleFiles();
    return 0;
  }
  const int loaded = LoadStructure(product, result == ZRBPdmResult::SucceededWithRemarks);
  ZRB_TRACE_OK();
  return loaded;
}

int ZRBUsePdmStructureCmd::LoadStructure(const CADIProduct_var& parent, int remarks) {
  auto* read = new ZRBReadCmd(1, 0, 100, "ZRBReadCmd");
  read->SetUsePdmStructureRead(1);
  read->SetCacheActivation(cacheActivation_);
  read->SetStructureParent(parent);

  int result = 0;
  {
    ZRBObjectManager answer;
    CADUnicodeString xmap;
    ZRBAfx::GetXMap(xmap);
    answer.Read(ZRBAfx::MakePath(xmap, CADUnicodeString(kRequestFileName)));
    if (CheckForProductCycle(answer)) {
      result = read->CreateProductStructure();
      read->ReSetTimestampSetting();
    }
  }
  RestoreStaleFiles();

  if (!result || read->GetWarnings().Size() > 0 || read->GetInformations().Size() > 0) {
    read->DisplayMessageCenter(result, read->GetWarningState(), BuildMessage(kCatalog, "UsePdmStructureOk"),
                               BuildMessage(kCatalog, "UsePdmStructureFailed"), remarks);
  }
  if (!result) SetResult(CADCommandResult::Failed);
  read->SetResult(CADCommandResult::None);
  read->RequestDelayedDestruction();
  (new ZRBDummyCmd())->RequestDelayedDestruction();
  return result;
}
