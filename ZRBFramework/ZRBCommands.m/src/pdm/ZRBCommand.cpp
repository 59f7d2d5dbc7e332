#include "ZRBCommand.h"

#include <cerrno>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADInstantiateComponent.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBGlobalProperties.h"
#include "ZRBIModComm.h"
#include "ZRBInfoUtil.h"
#include "ZRBMessageCenter.h"
#include "ZRBPdmAction.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBTwoStepCommand.h"

// --- lifecycle

ZRBCommand::ZRBCommand(const char* name) : ZRBCommand(name, 1, 1) {}

ZRBCommand::ZRBCommand(const char* name, int requestChange, CADCommandMsg message) : CADCommand(name) {
  ZRB_TRACE("ZRBCommand::ZRBCommand");
  // The PDM settings that could not be asked in an earlier command may be asked again.
  ZRBInfoUtil::StartOfCommand();
  // The command constructed last decides the client of everything that runs after it.
  clientMode_.Apply();
  if (requestChange) RequestStatusChange(message);
  editor_ = CADFrmEditor::GetCurrentEditor();
  ReadConfigurationFlags();
  ZRB_TRACE_OK();
}

ZRBCommand::~ZRBCommand() {
  editor_ = nullptr;
  behaviorManager_ = nullptr;
  // What the command put into the exchange map is on record before the next command looks.
  GlobZRBCache.Write();
  // A destroyed command must not stay registered as the waiting one; the kind stays, so the next integrity
  // check still cancels the PDM's dialog.
  ZRBGlobalProperties::Process().GetRunningCommandRegistry().ClearIfCurrent(this);
}

void ZRBCommand::ReadConfigurationFlags() {
  configurableNodeBehavior_ = g_ZRBConfig.CompareEnvVar("ZRB_CONFIGURABLE_NODE_BEHAVIOR", "ON", 1) ? 1 : 0;
  behaviorManager_ = configurableNodeBehavior_ ? g_ZRBConfig.GetConfigBehaviorManager() : nullptr;
  ignoreNonZrbRootChildren_ = g_ZRBConfig.CompareEnvVar("ZRB_IGNORE_NONZRB_ROOT_CHILDREN", "ON", 1) ? 1 : 0;
}

// --- client mode

void ZRBCommand::UseClientMode(const ZRBClientMode& mode) {
  clientMode_ = mode;
  clientMode_.Apply();
  ReadConfigurationFlags();
}

void ZRBCommand::ApplyClientMode() const { clientMode_.Apply(); }

// --- saving documents

int ZRBCommand::SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString&,
                       unsigned char flag) {
  ZRB_TRACE("ZRBCommand::SaveAs");
  int equal = 0;
  ZRBAfx::CompareFullPath(document.StorageName(), path, equal);
  if (equal) {
    ZRB_DEBUG("File names equal %s == %s", document.StorageName().c_str(), path.c_str());
    return Save(&document, flag);
  }
  if (FAILED(CADDocumentServices::SaveAs(&document, path))) return 0;
  ZRB_TRACE_OK();
  return 1;
}

int ZRBCommand::Save(CADDocument* document, unsigned char) {
  ZRB_TRACE("ZRBCommand::Save");
  if (!document || FAILED(CADDocumentServices::Save(document))) return 0;
  ZRB_TRACE_OK();
  return 1;
}

// --- messages

CADUnicodeString ZRBCommand::BuildMessage(std::string_view catalog, std::string_view name, CADUnicodeString* parameters,
                                          int count) {
  CADString key(catalog);
  key += ".";
  key += name;
  return ZRBAfx::BuildMessage(CADString(catalog), key, parameters, count);
}

int ZRBCommand::ShowMessage(std::string_view catalog, std::string_view name, unsigned long style,
                            CADUnicodeString* parameters, int count) {
  return ZRBAfx::MsgBox(BuildMessage(catalog, name, parameters, count), style);
}

void ZRBCommand::DisplayMessageCenter(const int& success, const int& successVariant,
                                      const CADUnicodeString& successText, const CADUnicodeString& failureText,
                                      int failureVariant) {
  ZRBMessageCenter::Display(success, successVariant, successText, failureText, failureVariant, warnings_,
                            informations_);
}

// --- start of a command

void ZRBCommand::CheckIntegrity(int mode) {
  ZRBTwoStepCommand::AbandonWaitingCommand();
  GlobPropertyManager.CheckIntegrity(mode);
}

CADStatusChangeRC ZRBCommand::ReportNotAvailable(std::string_view detail) {
  ZRB_TRACE("ZRBCommand::ReportNotAvailable");
  ApplyClientMode();
  CheckIntegrity(0);
  const std::string name = GetName().str();
  ZRB_DEBUG("ZRB: %s%s%.*s is not available yet", name.c_str(), detail.empty() ? "" : " ",
            static_cast<int>(detail.size()), detail.data());
  RequestDelayedDestruction();
  ZRB_TRACE_OK();
  return CADStatusChangeRCCompleted;
}

// --- PDM round trip

int ZRBCommand::RunPdmAction(std::string_view word, const CADUnicodeString& argument, int keepDisplayAlive) {
  int result = ZRBAfx::ConnectPdm(argument, keepDisplayAlive);
  if (result < 0) {
    const int error = errno;
    ZRB_DEBUG("SYSTEM ConnectPdm %.*s failed with %d errno: %d", static_cast<int>(word.size()), word.data(), result,
              error);
    ShowMessage("ZRBAfx", "ConnectFailed", kFailureStyle);
  }
  return result;
}

namespace {

ZRBIModComm_var CreateModComm() {
  void* raw = nullptr;
  if (FAILED(CADInstantiateComponent("ZRBModComm", ZRBIModComm::ClassId(), &raw)) || !raw) return nullptr;
  return ZRBIModComm_var::Adopt(static_cast<ZRBIModComm*>(raw));
}

}  // namespace

int ZRBCommand::SetModCommStatus(const CADString& status) {
  ZRBIModComm_var component = CreateModComm();
  if (!component) return 0;
  return component->SetStatus(status);
}

int ZRBCommand::GetModCommStatus(CADString& status) {
  ZRBIModComm_var component = CreateModComm();
  if (!component) return 0;
  return component->GetStatus(status);
}
