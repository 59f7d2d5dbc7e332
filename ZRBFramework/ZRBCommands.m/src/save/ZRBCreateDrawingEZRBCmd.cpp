#include "ZRBCreateDrawingEZRBCmd.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBStructureFileUpdate.h"
#include "ZRBTextBoxDialog.h"
#include "ZRBTrace.h"

ZRBCreateDrawingEZRBCmd* fctCreateZRBCreateDrawingEZRBCmd() { return new ZRBCreateDrawingEZRBCmd(); }

namespace {

const CADClassDictionary::Registration g_registration("ZRBCreateDrawingEZRBCmd", &fctCreateZRBCreateDrawingEZRBCmd);

constexpr const char* kRequestFile = "ifile.zrb";

// One plain file name the exchange format can carry: the drawing's file is named after it.
bool IsDrawingName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.size() > 200) return false;
  for (const unsigned char c : name)
    if (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == '{' || c == '}') return false;
  return name.front() != ' ' && name.back() != ' ';
}

// The entry itself: an old request may be a symbolic link, and the link is what goes.
bool EntryExists(const CADUnicodeString& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path.str(), error));
}

}  // namespace

ZRBCreateDrawingEZRBCmd::~ZRBCreateDrawingEZRBCmd() { CloseDialog(); }

void ZRBCreateDrawingEZRBCmd::Refuse(const char* catalog, const char* key, const CADUnicodeString& parameter) {
  CADUnicodeString value = parameter;
  GetWarnings().Append(BuildMessage(catalog, key, parameter.IsEmpty() ? nullptr : &value, parameter.IsEmpty() ? 0 : 1));
}

ZRBOneStepCommand::Outcome ZRBCreateDrawingEZRBCmd::Work() {
  ZRB_TRACE("ZRBCreateDrawingEZRBCmd::Activate");
  // The structure file this drawing joins is what a structure-file read left behind.
  if (ZRBInfoUtil::GetDataModelValue().IsEmpty()) {
    Refuse("ZRBUpdateCmd", "NoUpdateWithoutRead");
    return Outcome::Failed;
  }
  CADFrmEditor* editor = GetEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  if (!document || !(document->GetType() == "CADDrawing")) {
    ZRB_DEBUG("ZRB: the active document is no drawing");
    Refuse("ZRBCreateCmd", "NoDrawingWindow");
    return Outcome::Failed;
  }
  drawingPath_ = document->StorageName();
  dialog_ = new ZRBTextBoxDialog(editor);
  dialog_->Build();
  dialog_->SetTitle(BuildMessage("ZRBTextBoxDialog", "CreateDrawingTitle"));
  dialog_->SetLabel(BuildMessage("ZRBTextBoxDialog", "CreateDrawingLabel"));
  dialog_->Connect(
      CADDlgEvent::OK, [this](CADDialog&) { OnZRBTextBoxDialogDiaOKNotification(); }, this);
  dialog_->Connect(
      CADDlgEvent::Cancel, [this](CADDialog&) { OnZRBTextBoxDialogDiaCANCELNotification(); }, this);
  dialog_->Connect(
      CADDlgEvent::WindowClose, [this](CADDialog&) { OnZRBTextBoxDialogWindCloseNotification(); }, this);
  dialog_->SetVisibility(CADDlgShow);
  ZRB_TRACE_OK();
  return Outcome::Continues;
}

void ZRBCreateDrawingEZRBCmd::CloseDialog() {
  if (!dialog_) return;
  dialog_->DisconnectSubscriber(this);
  dialog_->RequestDelayedDestruction();
  dialog_ = nullptr;
}

void ZRBCreateDrawingEZRBCmd::OnZRBTextBoxDialogDiaOKNotification() {
  ZRB_TRACE("ZRBCreateDrawingEZRBCmd::OnZRBTextBoxDialogDiaOKNotification");
  const CADUnicodeString name = dialog_ ? dialog_->GetText() : CADUnicodeString();
  CloseDialog();
  ApplyClientMode();
  CADDocument* document = CADDocumentServices::GetDocumentInSession(drawingPath_);
  const int done = document ? CreateStructureFileDrawing(document, name) : 0;
  if (!document) ZRB_DEBUG("ZRB: the drawing %s left the session", drawingPath_.c_str());
  ShowOutcome(done);
  End();
}

void ZRBCreateDrawingEZRBCmd::OnZRBTextBoxDialogDiaCANCELNotification() {
  CloseDialog();
  End();
}

void ZRBCreateDrawingEZRBCmd::OnZRBTextBoxDialogWindCloseNotification() {
  CloseDialog();
  End();
}

int ZRBCreateDrawingEZRBCmd::CreateStructureFileDrawing(CADDocument* document, const CADUnicodeString& name) {
  ZRB_TRACE("ZRBCreateDrawingEZRBCmd::CreateStructureFileDrawing");
  if (!document) return 0;
  if (!IsDrawingName(name.view())) {
    ZRB_DEBUG("ZRB: refusing the drawing name '%s'", name.c_str());
    Refuse("ZRBCreateCmd", "InvalidDrawingName", name);
    return 0;
  }
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  const CADUnicodeString path = xmap + name + ".CADDrawing";
  const CADUnicodeString requestPath = xmap + kRequestFile;
  // Another document's file is never replaced by this one.
  if (!(path == document->StorageName()) && EntryExists(path)) {
    Refuse("ZRBCreateCmd", "NoFileAccess", path);
    return 0;
  }
  if (!SaveAs(*document, path, "CADDrawing", 0)) {
    Refuse("ZRBCreateCmd", "NoFileAccess", path);
    return 0;
  }
  ZRBObjectManager request;
  ZRBObject* root = request.CreateObject("ROOT");
  ZRBObject* drawing = root ? request.CreateObject("") : nullptr;
  if (!drawing) return 0;
  root->SetSlotValue("CREATING_SYSTEM", "CADHOST");
  root->SetSlotValue("FILEVERSION", "1");
  root->SetSlotValueList("SUBASSEMBLIES", {drawing->GetKey()});
  drawing->SetSlotValue("OBID", ZRBStructureFileUpdate::kNewDrawingObid);
  drawing->SetSlotValue("CLASSNAME", "x0CadDrw");
  drawing->SetSlotValue("PATH", path.ConvertToString());
  drawing->SetSlotValue("CHANGEABLE", "1");
  drawing->SetSlotValue("UPD_GEOMETRY", "1");
  drawing->SetSlotValue("EXTERNAL_LOCATION", path.ConvertToString());
  drawing->SetSlotValue("PARTNUMBER", name.ConvertToString());
  ZRBStructureFileUpdate::DescribeDrawing(*document, *drawing);
  if ((EntryExists(requestPath) && FAILED(CADDeleteFile(requestPath))) || !request.Write(requestPath)) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", requestPath.c_str());
    Refuse("ZRBCreateCmd", "NoFileAccess", requestPath);
    return 0;
  }
  ZRBStructureFileUpdate merge(true, GetWarnings());
  if (!merge.UpdateSZRBStructure(request)) {
    ZRB_DEBUG("ZRB: UpdateSZRBStructure failed");
    return 0;
  }
  ZRB_DEBUG("ZRB: UpdateSZRBStructure succeded");
  // The identity only once the file holds the drawing: a failed merge leaves no placeholder behind.
  GlobPropertyManager.SetFileProperty(path, "ZRB_CHANGEABLE", "1");
  GlobPropertyManager.SetFileProperty(path, "ZRB_CLASSNAME", "x0CadDrw");
  GlobPropertyManager.SetFileProperty(path, "ZRB_OBID", CADUnicodeString(merge.AssignedObid(drawing->GetKey())));
  ZRB_TRACE_OK();
  return 1;
}

void ZRBCreateDrawingEZRBCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage("ZRBUpdateCmd", "UpdateOk"),
                       BuildMessage("ZRBUpdateCmd", "UpdateFailed"), 0);
}
