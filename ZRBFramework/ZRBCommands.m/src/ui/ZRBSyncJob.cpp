#include "ZRBSyncJob.h"

#include <string>

#include "ZRBAfxBase.h"

CADUnicodeString ZRBSyncJobTexts::Text(const char* key) {
  return ZRBAfxBase::BuildMessage("ZRBUpdateCreateDialog", CADString(std::string("ZRBUpdateCreateDialog.") + key));
}

CADUnicodeString ZRBSyncJobTexts::Marker(ZRBSyncMarker marker) {
  switch (marker) {
    case ZRBSyncMarker::Next:
      return Text("NextOperation.Next");
    case ZRBSyncMarker::Done:
      return Text("NextOperation.Done");
    case ZRBSyncMarker::None:
      break;
  }
  return {};
}

CADUnicodeString ZRBSyncJobTexts::Execute(ZRBSyncExecute execute) {
  switch (execute) {
    case ZRBSyncExecute::Yes:
      return Text("ExecuteOp.Yes");
    case ZRBSyncExecute::No:
      return Text("ExecuteOp.No");
    case ZRBSyncExecute::Skip:
      return Text("ExecuteOp.Skip");
  }
  return {};
}

CADUnicodeString ZRBSyncJobTexts::Result(ZRBSyncResult result) {
  switch (result) {
    case ZRBSyncResult::None:
      return {};
    case ZRBSyncResult::InProgress:
      return Text("OperationResult.InProgress");
    case ZRBSyncResult::Skipped:
      return Text("OperationResult.Skipped");
    case ZRBSyncResult::Failed:
      return Text("OperationResult.Failed");
    case ZRBSyncResult::Succeeded:
      return Text("OperationResult.Succeeded");
    case ZRBSyncResult::Canceled:
      return Text("OperationResult.Canceled");
    case ZRBSyncResult::Warning:
      return Text("OperationResult.Warning");
    case ZRBSyncResult::DrawingNotSupported:
      return Text("OperationResult.DrawingNotSupported");
    case ZRBSyncResult::FailedStructRules:
      return Text("OperationResult.FailedStructRules");
  }
  return {};
}

CADUnicodeString ZRBSyncJobTexts::PartType(ZRBPartType type) {
  switch (type) {
    case ZRBPartType::NotSet:
      return Text("NotSetTypeAddText");
    case ZRBPartType::Bom:
      return Text("BomTypeAddText");
    case ZRBPartType::NoBom:
      return Text("NonBomTypeAddText");
    case ZRBPartType::None:
      break;
  }
  return {};
}

CADUnicodeString ZRBSyncJobTexts::Operation(const ZRBSyncJob& job) {
  std::string text;
  switch (job.operation) {
    case ZRBSyncMainOp::Create:
      text = Text("Operation.Create").str();
      break;
    case ZRBSyncMainOp::CreateDoc:
      text = Text("Operation.CreateDoc").str();
      break;
    case ZRBSyncMainOp::Use:
      text = Text("Operation.Use").str();
      break;
    case ZRBSyncMainOp::Update:
      text = Text("Operation.Update").str();
      break;
    case ZRBSyncMainOp::None:
      break;
  }
  if (job.dropChildren) text += Text("Operation.Separator").str() + Text("Operation.DropChild").str();
  if (job.addChildren) text += Text("Operation.Separator").str() + Text("Operation.AddChild").str();
  return CADUnicodeString(text);
}
