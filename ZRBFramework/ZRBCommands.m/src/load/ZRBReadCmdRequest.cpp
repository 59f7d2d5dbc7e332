// The read itself: the request to the PDM, the checks of its answer and the build of the structure.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>

#include "CADISysCacheSettingAtt.h"
#include "CADInstantiateComponent.h"
#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBAnswerArchives.h"
#include "ZRBCacheFileUtil.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBObjectReadObserver.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadCmd.h"
#include "ZRBReadSessionActions.h"
#include "ZRBStaleFileGuard.h"
#include "ZRBStaleFiles.h"
#include "ZRBTrace.h"

namespace {

CADISysCacheSettingAtt_var CacheSettingController() {
  void* raw = nullptr;
  if (FAILED(CADInstantiateComponent("CADSysCacheSettingCtrl", CADISysCacheSettingAtt::ClassId(), &raw)) || !raw)
    return nullptr;
  return CADISysCacheSettingAtt_var::Adopt(static_cast<CADISysCacheSettingAtt*>(raw));
}

// Notices a reader that stopped before the end of the file.
class StopObserver : public ZRBObjectReadObserver {
 public:
  bool WantsSlots() const override { return false; }
  void OnStop(long line, std::string_view) override { stoppedAt = line; }
  long stoppedAt = 0;
};

// 1 when the file's last byte is a line end: the PDM writes whole lines, so anything else was cut off.
int EndsWithLineEnd(const CADUnicodeString& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  int last = EOF;
  if (std::fseek(file, -1, SEEK_END) == 0) last = std::fgetc(file);
  std::fclose(file);
  return last == '\n' ? 1 : 0;
}

}  // namespace

// ---------------------------------------------------------------- the whole read

int ZRBReadCmd::CreateProductStructure() {
  ZRB_TRACE("ZRBReadCmd::CreateProductStructure");
  CADUnicodeString xmap;
  if (!ZRBAfx::GetXMap(xmap)) {
    // Without an exchange map the request and its stale files would land in the temporary directory.
    ZRB_DEBUG("ZRB: ZRBXMAP not set, the read is refused");
    ShowMessage("ZRBAfx", "ConnectFailed", kFailureStyle);
    return 0;
  }
  const CADUnicodeString answerPath = ZRBAfx::MakePath(xmap, GetAnswerFileName());
  const bool plainRequest = state_.subMode == 1 && !state_.AnyReadFlag();

  // Restores the stale files on every way out from here on, once they were moved aside.
  std::optional<ZRBStaleFileGuard> staleFiles;
  if (plainRequest) {
    if (!RemoveOldAnswer(answerPath)) return 0;
    staleFiles.emplace();
    if (!SendRequest(xmap, answerPath, *staleFiles)) return 0;
  } else if (state_.subMode == 2) {
    if (!SendImportRequest(xmap)) return 0;
  } else if (state_.AnyReadFlag()) {
    ZRB_DEBUG("ZRB: Using AddTemp Option");
  }

  ZRBObjectManager answer;
  if (!ReadAnswer(answerPath, answer)) return 0;
  // The PDM may declare a cached copy valid in any answer, not only in one to this command's own request.
  if (staleFiles)
    staleFiles->ProcessCachedFiles(answer);
  else
    ZRBStaleFiles::ProcessCachedFilesInXmap(answer, xmap);
  ZRBAnswerArchives::ProcessAllArchives(*this, answer, state_.addTempRead, CADUnicodeString());
  state_.cachedFilesToRefresh.RemoveAll();
  ZRBCacheFileUtil::ManageFilesForCache(answer, state_.cachedFilesToRefresh);

  ZRBObject* root = answer.GetObject("ROOT");
  if (state_.subMode == 3) {
    if (answer.GetObject("MARKED_EZRB")) {
      ZRB_DEBUG("ZRB: Read Marked Items.");
      state_.readMarked = 1;
    }
    const bool componentModel = root && root->GetSlotValue("CMPONENTDATAMODEL") == "1";
    ZRBInfoUtil::SetDataModelValue(componentModel ? "CMPONENT_DATA_MODEL" : "LEGACY_DATA_MODEL");
  }
  if (!root) {
    if (staleFiles) staleFiles->Restore();
    ZRB_DEBUG("ZRB: Read xfile failed, perhaps PDM has traced");
    GetWarnings().Append(BuildMessage("ZRBReadCmd", "NoRootInAnswer"));
    return 0;
  }
  const int checked = CheckAnswerRoot(answer, *root);
  if (checked != 2) return checked;

  CADIProduct_var workbench;
  if (!BuildStructure(answer, *root, workbench)) return 0;
  // Add-temporary archives stay out of the session's archive state.
  if (!state_.addTempRead) ZRBAnswerArchives::MarkArchiveRoots(*this, answer);

  ZRBFileUtil::DeleteTemporaryFiles(state_.cachedFilesToRefresh);
  if (!state_.AnyReadFlag()) {
    ZRBReadSessionActions::SetShowNoShowStatesToSession(answer);
    if (state_.AnyHighlight()) ZRBReadSessionActions::HighlightProductsForUserAction(state_);
    RedrawAllModelNodes();
  }
  if (state_.subMode != 3) {
    if (staleFiles) {
      staleFiles->Restore();
    } else {
      // Backups an earlier run left behind get their names back.
      ZRBStaleFiles::RestoreStaleFilesInExchangeMap(xmap.ConvertToString());
    }
  }
  if (state_.writeBackAnswer[0] || state_.writeBackAnswer[1]) {
    if (!answer.Write(answerPath)) ZRB_DEBUG("ZRB: could not write the answer back to %s", answerPath.c_str());
    state_.writeBackAnswer[0] = state_.writeBackAnswer[1] = 0;
  }
  GiveWorkbenchItsPartNumber(workbench);
  ZRB_TRACE_OK();
  return 1;
}

// ---------------------------------------------------------------- request

int ZRBReadCmd::RemoveOldAnswer(const CADUnicodeString& answerPath) {
  // The PDM must not answer on the previous run's file, nor its old result pass for this one's.
  if (SUCCEEDED(CADFileAccess(answerPath, CADFileRead | CADFileWrite))) {
    if (SUCCEEDED(CADDeleteFile(answerPath))) return 1;
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", answerPath.c_str());
  } else if (SUCCEEDED(CADFileAccess(answerPath, CADFileExists))) {
    ZRB_DEBUG("ZRB: No access to file: [%s] failed", answerPath.c_str());
  } else {
    return 1;
  }
  CADUnicodeString parameter = answerPath;
  ShowMessage("ZRBReadCmd", "NoFileAccess", kFailureStyle, &parameter, 1);
  return 0;
}

CADString ZRBReadCmd::TimeStampCheckForRequest() {
  int check = 0;
  ZRBAfx::GetCheckTimestamps(check);
  // The host's own check is switched off for the request whatever the PDM is told: with it on, the host would
  // refuse the cached copies the PDM declares valid.
  if (check && g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_CACHE_TS_ON_SUPPORT", "ON", 1)) {
    CADISysCacheSettingAtt_var controller = CacheSettingController();
    int hostCheck = 0;
    if (controller && SUCCEEDED(controller->GetTimeStampCheck(hostCheck)) && hostCheck &&
        SUCCEEDED(controller->SetTimeStampCheck(0))) {
      state_.timestampCheckSwitchedOff = 1;
    }
  }
  if (g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_CACHE_CHECK_TIMESTAMP", "ON", 1)) return "IGNORE";
  return check && !state_.timestampCheckSwitchedOff ? CADString("ON") : CADString();
}

int ZRBReadCmd::SendRequest(const CADUnicodeString& xmap, const CADUnicodeString& answerPath,
                            ZRBStaleFileGuard& staleFiles) {
  ZRB_TRACE("ZRBReadCmd::SendRequest");
  const CADString checkTimeStamp = TimeStampCheckForRequest();
  CADUnicodeString releasedXmap;
  int cacheActivated = 0;
  ZRBAfx::GetReleasedCacheXmapDir(releasedXmap, cacheActivated);
  DeleteNotLoadedVisFromReleasedCache(xmap, releasedXmap);

  ZRBObjectManager request;
  ZRBObject* command = ZRBPdmRequest::AddCommand(request, "REQUEST_READ", xmap);
  if (!staleFiles.GetListPath().IsEmpty())
    command->SetSlotValue("XMAPCONTENT", staleFiles.GetListPath().ConvertToString());
  if (cacheActivated && !releasedXmap.IsEmpty()) command->SetSlotValue("RELEASEMAP", releasedXmap.ConvertToString());
  if (state_.readMarked) command->SetSlotValue("MARKEDFLAG", "ON");
  if (!checkTimeStamp.IsEmpty()) command->SetSlotValue("CHECKTIMESTAMP", checkTimeStamp);
  int treeGraphOnly = -1;
  if (SUCCEEDED(CADSettingRepository::ReadSetting("VisuCustomize", "TreeGraphOnly", &treeGraphOnly)) &&
      treeGraphOnly == 0)
    command->SetSlotValue("NODEFAULTSHAPE", "ON");
  command->SetSlotValue("WORKWITHCACHE", cacheActivated ? "ON" : "OFF");
  if (!request.Write(answerPath)) {
    ZRB_DEBUG("ZRB: could not write the request %s", answerPath.c_str());
    RestoreTimeStampInReleasedCacheFiles();
    CADUnicodeString parameter = answerPath;
    ShowMessage("ZRBReadCmd", "NoFileAccess", kFailureStyle, &parameter, 1);
    return 0;
  }

  ZRBAfx::SetWorkBenchWindowTop();
  const int result = ZRBAfx::ConnectPdm(ZRBPdmAction::Line(ZRBPdmAction::WriteZRBFile, answerPath), 0);
  const int error = errno;
  ZRBAfx::SetCadWindowTop();
  if (!staleFiles.GetListPath().IsEmpty()) CADDeleteFile(staleFiles.GetListPath());
  RestoreTimeStampInReleasedCacheFiles();
  if (result < 0) {
    ZRB_DEBUG("SYSTEM ConnectPdm  x3WriteZRBFilefailed with %d errno: %d", result, error);
    ShowMessage("ZRBAfx", "ConnectFailed", kFailureStyle);
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBReadCmd::SendImportRequest(const CADUnicodeString& xmap) {
  ZRBAfx::SetWorkBenchWindowTop();
  const int result = RunPdmAction(ZRBPdmAction::CopysZRBFiles, ZRBPdmAction::Line(ZRBPdmAction::CopysZRBFiles, xmap));
  ZRBAfx::SetCadWindowTop();
  return result < 0 ? 0 : 1;
}

// ---------------------------------------------------------------- answer

int ZRBReadCmd::ReadAnswer(const CADUnicodeString& answerPath, ZRBObjectManager& answer) {
  StopObserver observer;
  if (!answer.Read(answerPath, observer)) {
    ZRB_DEBUG("ZRB: ZRB exchangefile not found");
    if (state_.subMode == 2 || state_.subMode == 3) {
      CADUnicodeString parameter = answerPath;
      GetWarnings().Append(BuildMessage("ZRBReadCmd", "NoFileAccessSZRB", &parameter, 1));
    } else {
      ShowMessage("ZRBAfx", "ConnectFailed", kFailureStyle);
    }
    return 0;
  }
  if (observer.stoppedAt || (answer.GetObjectCount() > 0 && !EndsWithLineEnd(answerPath))) {
    // Half an answer would build half a structure and pass it for the whole one.
    ZRB_DEBUG("ZRB: the answer %s is incomplete (line %ld)", answerPath.c_str(), observer.stoppedAt);
    CADUnicodeString parameter = answerPath;
    GetWarnings().Append(BuildMessage("ZRBReadCmd", "AnswerIncomplete", &parameter, 1));
    return 0;
  }
  return 1;
}

// 2 go on, 1 end as a success, 0 end as a failure.
int ZRBReadCmd::CheckAnswerRoot(ZRBObjectManager&, ZRBObject& root) {
  if (root.GetSlotValue("SEND_MODELS") == "0") state_.sendModels = 0;
  if (state_.addTempRead && root.GetSlotValue("ZRBARCHIVE_IGNORED") == "1") {
    state_.warningState = 1;
    GetWarnings().Append(BuildMessage("ZRBReadCmd", "ZRBArchiveNotSupportedForAddTemp"));
  }
  ZRBPdmRequest::AddStats(root, GetWarnings());
  if (state_.subMode != 1) return 2;
  switch (ZRBPdmRequest::ReadResult(&root, ZRBPdmStep::OneStep)) {
    case ZRBPdmResult::Succeeded:
      return 2;
    case ZRBPdmResult::SucceededWithRemarks:
      state_.warningState = 1;
      return 2;
    case ZRBPdmResult::CancelledByUser:
      state_.warningState = 1;
      GetInformations().Append(BuildMessage("ZRBReadCmd", "ReadCanceled"));
      return 1;
    default:
      ZRB_DEBUG("ZRB: ReadCommand in PDM failed!");
      return 0;
  }
}

// ---------------------------------------------------------------- structure

int ZRBReadCmd::BuildStructure(ZRBObjectManager& answer, ZRBObject& root, CADIProduct_var& workbench) {
  ZRB_TRACE("ZRBReadCmd::BuildStructure");
  int useVirtualProduct = 0;
  int useRootAsVirtualProduct = 0;
  if (FAILED(CADSettingRepository::ReadSetting("ZRBOptions", "UseVP", &useVirtualProduct)))
    ZRB_DEBUG("Could not get Setting for UseVirtualProduct");
  if (FAILED(CADSettingRepository::ReadSetting("ZRBOptions", "UseRPasVP", &useRootAsVirtualProduct)))
    ZRB_DEBUG("Could not get Setting for UseRootProdAsVirtualProduct");
  CADIProduct_var parent;
  if (useVirtualProduct == 1 || state_.addCommand) {
    if (!ZRBReadSessionActions::CreateZRBWorkbenchProduct(useRootAsVirtualProduct == 1 ? 1 : 0, answer, &root,
                                                          workbench) ||
        !workbench) {
      ZRB_DEBUG("ZRB: no workbench product");
      return 0;
    }
    parent = workbench;
  }
  if (state_.usePdmStructureRead) {
    if (!structureParent_) {
      GetWarnings().Append(BuildMessage("ZRBUsePdmStructureCmd", "NoPartSelected"));
      return 0;
    }
    parent = structureParent_;
  }
  if (ZRBTrace::IsOn()) answer.Dump();
  ZRBReadSessionActions::SetKeepAsNewStateToSession(answer);
  if (root.GetSlotValue("CMPONENTDATAMODEL") == "1") state_.componentDataModel = 1;

  CADIProduct* parentNode = parent ? parent.get() : nullptr;
  const int built = ReadProductStructure(parentNode, nullptr, answer, &root);
  if (!built) {
    ZRB_DEBUG("ZRB: the structure could not be built completely");
    if (state_.usePdmStructureRead) return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

void ZRBReadCmd::GiveWorkbenchItsPartNumber(const CADIProduct_var& workbench) {
  if (!workbench) return;
  if (GlobPropertyManager.GetPartNumber(workbench, 0) == ZRBPSNTreeUtil::kWorkbenchPartNumber) return;
  if (!GlobPropertyManager.SetPartNumber(workbench, ZRBPSNTreeUtil::kWorkbenchPartNumber, 0, 1))
    ZRB_DEBUG("ZRB: GlobPropertyManager.SetPartNumber failed");
}

// ---------------------------------------------------------------- time-stamp check

HRESULT ZRBReadCmd::ReSetTimestampSetting() {
  if (!state_.timestampCheckSwitchedOff) return S_OK;
  CADISysCacheSettingAtt_var controller = CacheSettingController();
  if (!controller || FAILED(controller->SetTimeStampCheck(1))) return E_FAIL;
  state_.timestampCheckSwitchedOff = 0;
  return S_OK;
}
