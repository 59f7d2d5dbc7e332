#include "ZRBAddTempCmd.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "CADClassDictionary.h"
#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBGlobalProperties.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBAddTempCmd* fctCreateZRBAddTempCmd() { return new ZRBAddTempCmd(); }

namespace {

const CADClassDictionary::Registration g_registration("ZRBAddTempCmd", &fctCreateZRBAddTempCmd);

// The entry itself, not what a symbolic link points at: an old request file may be a link, and the link is what
// goes.
bool EntryExists(const CADUnicodeString& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path.str(), error));
}

}  // namespace

// --- lifecycle

ZRBAddTempCmd::ZRBAddTempCmd() : ZRBAddTempCmd("ZRBAddTempCmd") {}

ZRBAddTempCmd::ZRBAddTempCmd(const char* name) : ZRBTwoStepCommand(name, ZRBRunningCommandKind::AddTemp) {}

// --- start

void ZRBAddTempCmd::ReadStartSettings() {
  ZRB_TRACE("ZRBAddTempCmd::ReadStartSettings");
  int value = 0;
  if (SUCCEEDED(CADSettingRepository::ReadSetting("CADCache", "CacheActivation", &value))) {
    cacheActivation_ = value;
    ZRB_DEBUG("CacheActivation is : '%d'", value);
  } else {
    cacheActivation_ = -1;
    ZRB_DEBUG("Could not get CacheActivation");
  }
  value = 0;
  if (SUCCEEDED(CADSettingRepository::ReadSetting("ZRBOptions", "SinglePartModus", &value))) {
    singlePartMode_ = value == 1 ? 1 : 0;
    ZRB_DEBUG(singlePartMode_ ? "SinglePartModus is on" : "SinglePartModus is off");
  } else {
    singlePartMode_ = 0;
    ZRB_DEBUG("Could not get Setting for SinglePartModus");
  }
  ZRB_TRACE_OK();
}

int ZRBAddTempCmd::StartAddTemp() {
  ZRB_TRACE("ZRBAddTempCmd::StartAddTemp");
  CADUnicodeString xmap;
  // Without an exchange map the request would land in the temporary directory, where no PDM looks for it and
  // whose "temp.zrb" the end step would empty.
  if (!ZRBAfx::GetXMap(xmap)) {
    ZRB_DEBUG("ZRB: ZRBXMAP is not set; the add-temporary request is not written");
    ShowMessage("ZRBAddTempCmd", "NoExchangeMap", kFailureStyle);
    return 0;
  }
  const CADUnicodeString requestPath = ZRBAfx::MakePath(xmap, CADUnicodeString(kRequestFileName));
  if (!WriteRequest(xmap, requestPath)) return 0;

  ZRBAfx::SetWorkBenchWindowTop();
  if (RunPdmAction(ZRBPdmAction::AddTempCad, ZRBPdmAction::Line(ZRBPdmAction::AddTempCad, requestPath)) < 0) return 0;
  if (!AnnounceHandOver()) return 0;

  ZRBObjectManager answer;
  ZRBObject* root = answer.Read(requestPath) ? answer.GetObject("ROOT") : nullptr;
  if (!root) {
    ZRB_DEBUG("Failed to get ROOT object");
    return 0;
  }
  if (ZRBPdmRequest::ReadResult(root, ZRBPdmStep::FirstOfTwo) != ZRBPdmResult::FirstStepDone) {
    ZRBAfx::SetCadWindowTop();
    ZRB_DEBUG("ZRB: AddTemp Step 1 in PDM failed!");
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBAddTempCmd::WriteRequest(const CADUnicodeString& xmap, const CADUnicodeString& requestPath) {
  // The PDM reads whatever file it finds under this name: an old one left in place would be answered in this
  // command's stead, and its old "2" would pass the first step.
  if (EntryExists(requestPath) && FAILED(CADDeleteFile(requestPath))) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", requestPath.c_str());
    CADUnicodeString parameter = requestPath;
    ShowMessage("ZRBAddTempCmd", "NoFileAccess", kFailureStyle, &parameter, 1);
    return 0;
  }

  ZRBObjectManager request;
  if (!ZRBPdmRequest::AddRoot(request)) {
    ZRB_DEBUG("Failed to create pObject");
    return 0;
  }
  ZRBObject* command = ZRBPdmRequest::AddCommand(request, {}, xmap);
  if (!command) {
    ZRB_DEBUG("Failed to create COMMANDZRBObject");
    return 0;
  }
  command->SetSlotValue("TMP_PRAEFIX", GlobPropertyManager.GetNewTmpId().ConvertToString());

  if (!request.Write(requestPath)) {
    const int error = errno;
    ZRB_DEBUG("ZRB: writing %s failed, errno: %d", requestPath.c_str(), error);
    CADUnicodeString parameter = requestPath;
    ShowMessage("ZRBAddTempCmd", "NoFileAccess", kFailureStyle, &parameter, 1);
    return 0;
  }
  return 1;
}

// --- end

void ZRBAddTempCmd::EndAddTempCmd(const CADString& status) {
  ZRB_TRACE("ZRBAddTempCmd::EndAddTempCmd");
  ZRB_DEBUG("ZRB: Metaphse ready with AddTemp");
  ZRBAfx::SetCadWindowTop();
  CADUnicodeString xmap;
  const int xmapSet = ZRBAfx::GetXMap(xmap);

  if (status == "PDM_CANCEL") {
    ShowMessage("ZRBAddTempCmd", "AddTempCanceled", kInformationStyle);
  } else if (!xmapSet) {
    // The exchange map went away while the PDM's dialog was up: whatever lies in the temporary directory is no
    // answer to this request.
    ZRB_DEBUG("ZRB: ZRBXMAP is no longer set; the add-temporary answer cannot be found");
    ShowMessage("ZRBAddTempCmd", "AddTempFailed", kFailureStyle);
  } else {
    ZRBObjectManager answer;
    const CADUnicodeString answerPath = ZRBAfx::MakePath(xmap, CADUnicodeString(kRequestFileName));
    ZRBObject* root = answer.Read(answerPath) ? answer.GetObject("ROOT") : nullptr;
    const ZRBPdmResult result = ZRBPdmRequest::ReadResult(root, ZRBPdmStep::SecondOfTwo);
    if (!root) {
      // After a ready status the user expects to see something happen.
      ZRB_DEBUG("Failed To get ROOT Object");
      ShowMessage("ZRBAddTempCmd", "AddTempFailed", kFailureStyle);
    } else if (!ZRBPdmRequest::IsSuccess(result)) {
      ZRB_DEBUG("ZRB: AddTemp Step 2 in PDM failed!");
      ShowRefusal(*root);
    } else {
      ZRB_DEBUG("ZRB: AddTemp Step 2 in PDM success!");
      BuildAnswer(result);
      // The PDM side's backups belong to an answer that was built; after a refusal they may still be wanted.
      RemoveBackupDirectory(xmap);
    }
  }
  ZRB_TRACE_OK();
}

void ZRBAddTempCmd::ShowRefusal(const ZRBObject& root) {
  // The PDM's own reason says more than any fixed text: it goes to the message centre, as in a read.
  const CADListValCADString reasons = root.GetSlotValueList("STATS");
  if (reasons.Size() == 0) {
    ShowMessage("ZRBAddTempCmd", "AddTempFailed", kFailureStyle);
    return;
  }
  for (const CADString& line : reasons) GetWarnings().Append(CADUnicodeString(line));
  DisplayMessageCenter(0, 0, BuildMessage("ZRBAddTempCmd", "AddTempOk"), BuildMessage("ZRBAddTempCmd", "AddTempFailed"),
                       0);
}
