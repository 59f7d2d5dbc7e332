#include "ZRBCommand.h"

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADInstantiateComponent.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDocumentOpener.h"
#include "ZRBGlobalProperties.h"
#include "ZRBIModComm.h"
#include "ZRBInfoUtil.h"
#include "ZRBMessageCenter.h"
#include "ZRBPdmRequest.h"
#include "ZRBProductBox.h"
#include "ZRBProductPositions.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBTwoStepKinds.h"

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
  // The summary is the command's result as the session sees it: success with warnings is a warning.
  SetResult(!success                                 ? CADCommandResult::Failed
            : successVariant || !warnings_.IsEmpty() ? CADCommandResult::Warning
                                                     : CADCommandResult::Succeeded);
  ZRBMessageCenter::Display(success, successVariant, successText, failureText, failureVariant, warnings_,
                            informations_);
}

// --- start of a command

void ZRBCommand::CheckIntegrity(int mode) {
  ZRBTwoStepKinds::AbandonWaitingCommand();
  GlobPropertyManager.CheckIntegrity(mode);
}

// --- PDM round trip

int ZRBCommand::RunPdmAction(std::string_view word, const CADUnicodeString& argument, int keepDisplayAlive) {
  return ZRBPdmRequest::Run(word, argument, keepDisplayAlive);
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

// --- forwarders to the services

int ZRBCommand::GetProductPosition(const CADIProduct_var& child, const CADIProduct_var& parent,
                                   double coefficients[12]) {
  return ZRBProductPositions::GetProductPosition(child, parent, coefficients);
}

int ZRBCommand::MoveProduct(const CADIProduct_var& child, const CADIProduct_var& parent,
                            const double coefficients[12]) {
  return ZRBProductPositions::MoveProduct(child, parent, coefficients);
}

int ZRBCommand::SetProductTrafoToZRBObject(ZRBObject* object, const CADIProduct_var& child,
                                           const CADIProduct_var& parent) {
  return ZRBProductPositions::SetProductTrafoToZRBObject(*this, object, child, parent);
}

void ZRBCommand::KeepPositionToSend(const CADIProduct_var& parent, const CADIProduct_var& child) {
  ZRBProductPositions::KeepPositionToSend(parent, child);
}

HRESULT ZRBCommand::DeleteNotLoadedVisFromReleasedCache(const CADUnicodeString& xmapDirectory,
                                                        const CADUnicodeString& releasedXmapDirectory) {
  return releasedCacheVisNames_.DeleteNotLoadedVisFromReleasedCache(xmapDirectory, releasedXmapDirectory);
}

HRESULT ZRBCommand::RestoreTimeStampInReleasedCacheFiles() {
  return releasedCacheVisNames_.RestoreTimeStampInReleasedCacheFiles();
}

void ZRBCommand::RedrawAllModelNodes() { ZRB_DEBUG("ZRB: redraw of the model nodes (nothing to draw)"); }

int ZRBCommand::OpenDocument(CADDocument*& document, const CADUnicodeString& path, unsigned char readOnly,
                             CADListValCADUnicodeString& refresh, ZRBObject* object) {
  return ZRBDocumentOpener::OpenDocument(*this, document, path, readOnly, refresh, object);
}

int ZRBCommand::OpenProductWithWindow(CADDocument*& document, const CADUnicodeString& path,
                                      const CADUnicodeString& partNumber, int readOnly,
                                      CADListValCADUnicodeString& refresh, ZRBObject* object) {
  ZRB_TRACE("ZRBCommand::OpenProductWithWindow");
  const int ok = ZRBDocumentOpener::OpenWithWindow(*this, document, path, partNumber, readOnly, refresh, object);
  if (ok) ZRB_TRACE_OK();
  return ok;
}

int ZRBCommand::OpenLegacyModelWithWindow(CADDocument*& document, const CADUnicodeString& path,
                                          const CADUnicodeString& partNumber, int readOnly,
                                          CADListValCADUnicodeString& refresh, ZRBObject* object) {
  ZRB_TRACE("ZRBCommand::OpenLegacyModelWithWindow");
  const int ok = ZRBDocumentOpener::OpenWithWindow(*this, document, path, partNumber, readOnly, refresh, object);
  if (ok) ZRB_TRACE_OK();
  return ok;
}

int ZRBCommand::OpenVisWithWindow(CADDocument*& document, const CADUnicodeString& path,
                                  const CADUnicodeString& partNumber, int readOnly, CADListValCADUnicodeString& refresh,
                                  ZRBObject* object) {
  ZRB_TRACE("ZRBCommand::OpenVisWithWindow");
  const int ok = ZRBDocumentOpener::OpenWithWindow(*this, document, path, partNumber, readOnly, refresh, object);
  if (ok) ZRB_TRACE_OK();
  return ok;
}

int ZRBCommand::OpenDrawingWithWindow(CADDocument*& document, const CADUnicodeString& path, int readOnly,
                                      CADListValCADUnicodeString& refresh, ZRBObject* object) {
  ZRB_TRACE("ZRBCommand::OpenDrawingWithWindow");
  const int ok =
      ZRBDocumentOpener::OpenWithWindow(*this, document, path, CADUnicodeString(), readOnly, refresh, object);
  if (ok) ZRB_TRACE_OK();
  return ok;
}

int ZRBCommand::GetPartBoundingBox(CADIProduct* product, CADMathBox* box, CADFrmWindow* window) {
  return ZRBProductBox::GetPartBoundingBox(editor_, product, box, window);
}

int ZRBCommand::GetProductBoundingBox(CADIProduct_var& product, CADMathBox& box,
                                      const CADMathTransformation& transformation, CADFrmWindow* window) {
  return ZRBProductBox::GetProductBoundingBox(editor_, product, box, transformation, window);
}
