#include "ZRBReadCmd.h"

#include <algorithm>
#include <vector>

#include "CADApplicationFrame.h"
#include "CADClassDictionary.h"
#include "CADDlgFile.h"
#include "CADSettingRepository.h"
#include "ZRBAfx.h"
#include "ZRBCommandFactory.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBStructureReader.h"
#include "ZRBTrace.h"

ZRBReadCmd* fctCreateZRBReadCmd(int mode) { return new ZRBReadCmd(mode); }

namespace {
// Created by name without an argument, the command gets its default mode.
const CADClassDictionary::Registration g_registration("ZRBReadCmd",
                                                      ZRBCommandFactory::WithDefaultMode(&fctCreateZRBReadCmd, 1));

// The start values the mode and the configuration give the read.
void Configure(ZRBReadState& state, int mode) {
  state.disableLoadStdCadParts = g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_LOAD_STDCADPARTS", "ON", 1);
  state.modelsInAssembly = g_ZRBConfig.CompareEnvVar("ZRB_MODELSINASM", "ON", 1);
  state.pdmManagedStdCadParts = g_ZRBConfig.CompareEnvVar("ZRB_PDM_MANAGED_STDCADPARTS", "ON", 1);
  state.mode = mode;
  state.subMode = 1;
  if (mode == 2) state.subMode = 2;
  if (mode == 3) state.subMode = 3;
  if (mode == 4) {
    state.afterUpdate = 1;
    state.subMode = 3;
  }
  if (mode == 5) state.addCommand = 1;
}

// An integer setting; a missing repository or setting gives `fallback`.
int ReadIntSetting(const char* repository, const char* name, int fallback) {
  int value = fallback;
  return SUCCEEDED(CADSettingRepository::ReadSetting(repository, name, &value)) ? value : fallback;
}

constexpr unsigned long kDirectoryDialogStyle = 0x10004200;
}  // namespace

// ---------------------------------------------------------------- lifecycle

ZRBReadCmd::ZRBReadCmd(int mode, const char* name) : ZRBOneStepCommand(name) {
  ZRB_TRACE("ZRBReadCmd::ZRBReadCmd");
  Configure(state_, mode);
  ZRB_TRACE_OK();
}

ZRBReadCmd::ZRBReadCmd(int mode, int requestChange, CADCommandMsg message, const char* name)
    : ZRBOneStepCommand(name, requestChange, message) {
  ZRB_TRACE("ZRBReadCmd::ZRBReadCmd");
  Configure(state_, mode);
  ZRB_TRACE_OK();
}

void ZRBReadCmd::ReadConfiguration() { Configure(state_, state_.mode); }

ZRBReadCmd::~ZRBReadCmd() {
  // A check switched off for a request must not stay off because the command ended early.
  ReSetTimestampSetting();
  CloseDirectoryDialog();
}

void ZRBReadCmd::ReadStartSettings() {
  ZRB_DEBUG("ZRB: ZRBReadCmd (mode %d)", state_.mode);
  loadLinkStatus_ = ReadIntSetting("SymbolicLinks", "LoadLinkStatus", 0);
  state_.cacheActivation = ReadIntSetting("CADCache", "CacheActivation", -1);
  state_.singlePartMode = ReadIntSetting("ZRBOptions", "SinglePartModus", 0) == 1 ? 1 : 0;
  state_.nativeProductTrafo = ReadIntSetting("ZRBOptions", "UseNativeProductTrafo", 0) == 1 ? 1 : 0;
}

// ---------------------------------------------------------------- host command

ZRBOneStepCommand::Outcome ZRBReadCmd::Work() {
  ZRB_TRACE("ZRBReadCmd::Work");
  if (loadLinkStatus_ == 0) {
    // Without referenced documents the structure could not be built as the PDM describes it.
    ShowMessage("ZRBReadCmd", "LoadReferenceOption", kFailureStyle);
    return Outcome::Stopped;
  }
  if (state_.subMode == 3) {
    OpenDirectoryDialog();
    ZRB_TRACE_OK();
    return Outcome::Continues;
  }
  const int ok = CreateProductStructure();
  ReSetTimestampSetting();
  ZRB_TRACE_OK();
  return ok ? Outcome::Succeeded : Outcome::Failed;
}

CADStatusChangeRC ZRBReadCmd::Desactivate(CADCommand*, CADNotification*) { return CADStatusChangeRCCompleted; }

CADStatusChangeRC ZRBReadCmd::Cancel(CADCommand*, CADNotification*) {
  ZRB_TRACE("ZRBReadCmd::Cancel");
  CloseDirectoryDialog();
  End();
  ZRB_TRACE_OK();
  return CADStatusChangeRCCompleted;
}

void ZRBReadCmd::ShowEndMessages(int ok) {
  if (ok && GetWarnings().IsEmpty() && GetInformations().IsEmpty() &&
      !g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_LOADOK_MESSAGE", "ON", 1)) {
    GetInformations().Append(BuildMessage("ZRBReadCmd", "LoadOk"));
  }
  if (!ok || !GetWarnings().IsEmpty() || !GetInformations().IsEmpty()) {
    const int success = ok && !state_.loadFailure ? 1 : 0;
    DisplayMessageCenter(success, state_.warningState, BuildMessage("ZRBReadCmd", "ReadOk"),
                         BuildMessage("ZRBReadCmd", state_.subMode == 3 ? "sZRBReadFailed" : "ReadFailed"), 0);
  }
  if (state_.replacedWarning) ShowMessage("ZRBReadCmd", "ReplacedWarning", kFailureStyle);
}

CADUnicodeString ZRBReadCmd::GetAnswerFileName() const {
  if (state_.subMode == 2 || state_.subMode == 3) return state_.afterUpdate ? "eZRBstructure" : "sZRBstructure";
  if (state_.addTempRead) return "atfile.zrb";
  if (state_.usePdmStructureRead) return "upsfile.zrb";
  if (state_.catalogRead || state_.catalogEditRead) return "catalog.zrb";
  return "xfile.zrb";
}

int ZRBReadCmd::ReadProductStructure(CADIProduct* parent, CADIProduct* existing, ZRBObjectManager& answer,
                                     ZRBObject* node) {
  return ZRBStructureReader(*this, state_, GetConfigurableNodeBehavior())
      .ReadProductStructure(parent, existing, answer, node);
}

// ---------------------------------------------------------------- the directory dialog

void ZRBReadCmd::OpenDirectoryDialog() {
  ZRB_TRACE("ZRBReadCmd::OpenDirectoryDialog");
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  directoryDialog_ =
      new CADDlgFile(frame ? frame->GetMainWindow() : nullptr, "ZRBReadCmdSelectDir", kDirectoryDialogStyle);
  directoryDialog_->SetTitle(BuildMessage("ZRBReadCmd", "sZRBSelectDir"));
  directoryDialog_->SetStatusText(BuildMessage("ZRBReadCmd", "sZRBSelectDirStatus"));
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  directoryDialog_->SetDirectory(xmap);
  directoryDialog_->Connect(
      CADDlgEvent::OK, [this](CADDialog&) { On_SZRB_OkNotification(); }, this);
  directoryDialog_->Connect(
      CADDlgEvent::Cancel, [this](CADDialog&) { On_SZRB_CancelNotification(); }, this);
  directoryDialog_->Connect(
      CADDlgEvent::WindowClose, [this](CADDialog&) { On_SZRB_CancelNotification(); }, this);
  directoryDialog_->SetVisibility(CADDlgShow);
  ZRB_TRACE_OK();
}

void ZRBReadCmd::CloseDirectoryDialog() {
  if (!directoryDialog_) return;
  // The host may have destroyed its windows first (the session ended while the dialog was open).
  const std::vector<CADDlgDialog*> windows = CADDlgDialog::GetAllWindows();
  if (std::find(windows.begin(), windows.end(), directoryDialog_) == windows.end()) {
    directoryDialog_ = nullptr;
    return;
  }
  directoryDialog_->DisconnectSubscriber(this);
  directoryDialog_->SetVisibility(CADDlgHide);
  directoryDialog_->RequestDelayedDestruction();
  directoryDialog_ = nullptr;
}

void ZRBReadCmd::On_SZRB_OkNotification() {
  ZRB_TRACE("ZRBReadCmd::On_SZRB_OkNotification");
  if (!directoryDialog_) return;
  CADUnicodeString directory;
  directoryDialog_->GetSelection(directory);
  if (directory.IsEmpty()) directory = directoryDialog_->GetDirectory();
  ApplyClientMode();
  // The structure file and its documents lie there: the exchange map follows for the rest of the process.
  g_ZRBConfig.ChangeEnvVar("ZRBXMAP", directory.c_str(), 1);
  CloseDirectoryDialog();
  const int ok = CreateProductStructure();
  ReSetTimestampSetting();
  if (!state_.afterUpdate) {
    if (!ok) ShowMessage("ZRBReadCmd", "sZRBReadFailed", kFailureStyle);
  } else if (!ok || !GetWarnings().IsEmpty() || !GetInformations().IsEmpty()) {
    DisplayMessageCenter(ok && !state_.loadFailure ? 1 : 0, state_.warningState, BuildMessage("ZRBReadCmd", "ReadOk"),
                         BuildMessage("ZRBReadCmd", "sZRBReadFailed"), 0);
  }
  End();
  ZRB_TRACE_OK();
}

void ZRBReadCmd::On_SZRB_CancelNotification() {
  ZRB_TRACE("ZRBReadCmd::On_SZRB_CancelNotification");
  CloseDirectoryDialog();
  End();
  ZRB_TRACE_OK();
}
