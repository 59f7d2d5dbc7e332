#include "ZRBCreateCmd.h"

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBCreateRequest.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBUpdateCmd.h"

ZRBCreateCmd* fctCreateZRBCreateCmd() { return new ZRBCreateCmd(); }

namespace {

const CADClassDictionary::Registration g_registration("ZRBCreateCmd", &fctCreateZRBCreateCmd);

}  // namespace

// ---------------------------------------------------------------- lifecycle

ZRBOneStepCommand::Outcome ZRBCreateCmd::Work() {
  ZRB_TRACE("ZRBCreateCmd::Work");
  if (!GetEditor()) {
    ZRB_DEBUG("ZRB: GetCurrentEditor() failed");
    return Outcome::Failed;
  }
  int status = 0;
  const int done = CreateCADObject(&status);
  if (!done) ZRB_DEBUG("ZRBCreateCmd failed!");
  if (done) ZRB_TRACE_OK();
  return done ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBCreateCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage("ZRBCreateCmd", "CreateOk"),
                       BuildMessage("ZRBCreateCmd", "CreateFailed"), 0);
}

// ---------------------------------------------------------------- the create

int ZRBCreateCmd::CreateCADObject(int* status) {
  CADDocument* document = GetEditor() ? GetEditor()->GetDocument() : nullptr;
  if (!document) {
    ZRB_DEBUG("ZRB: GetDocument() failed");
    return 0;
  }
  const CADUnicodeString type = document->GetType();
  if (type == "CADPart") return CreateCADPart(*document, status);
  if (type == "CADDrawing") return CreateCADDrawing(*document, status);
  ZRB_DEBUG("ZRB: wrong type of document (not Part or Drawing)");
  return 0;
}

int ZRBCreateCmd::CreateCADPart(CADDocument& document, int* status) {
  ZRB_TRACE("ZRBCreateCmd::CreateCADPart");
  CADIProduct_var product = document.GetRootProduct();
  if (!product) return 0;
  int stop = 0;
  CheckStructureIsUpToDate(product, &stop);
  ZRBCreateRequest request(*this, "ZRBCreateCmd");
  if (stop || !request.CheckLinks(document, true)) return 0;
  if (!GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID").IsEmpty()) {
    // A second item for a part the PDM knows would split its history.
    GetWarnings().Append(BuildMessage("ZRBCreateCmd", "AlreadyInPdm"));
    return 0;
  }
  request.CheckQCheckerTimestamp(document);
  if (!request.AddRoot("CADPart") || !request.SaveIntoExchangeMap(document, "SaveAs")) return 0;
  if (!request.Describe(document, false)) return 0;
  request.AddDesignTables(document);
  const CADUnicodeString partType = request.AskForPartType("AskForPartTypeCreate");
  if (partType.IsEmpty()) {
    if (status) *status = -1;
    return 0;
  }
  if (!request.Write()) return 0;
  const int created = Send(request, document, ZRBPdmAction::CreateCADPartFrFile,
                           ZRBPdmAction::Line(ZRBPdmAction::CreateCADPartFrFile, request.DocumentPath(), partType),
                           "ZRB: CADPart creation in PDM failed!");
  if (!created) return 0;
  UpdateCreatedPart(document);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBCreateCmd::CreateCADDrawing(CADDocument& document, int* status) {
  ZRB_TRACE("ZRBCreateCmd::CreateCADDrawing");
  static_cast<void>(status);
  if (!GlobPropertyManager.GetFileProperty(document.StorageName(), "ZRB_OBID").IsEmpty()) {
    GetWarnings().Append(BuildMessage("ZRBCreateCmd", "AlreadyInPdm"));
    return 0;
  }
  ZRBCreateRequest request(*this, "ZRBCreateCmd");
  request.CheckQCheckerTimestamp(document);
  if (!request.AddRoot("CADDrawing") || !request.SaveIntoExchangeMap(document, "SaveAs")) return 0;
  if (!request.Describe(document, true) || !request.Write()) return 0;
  const int created = Send(request, document, ZRBPdmAction::CreateCADDrawFrFile,
                           ZRBPdmAction::Line(ZRBPdmAction::CreateCADDrawFrFile, request.DocumentPath()),
                           "ZRB: CADDrawing creation in PDM failed!");
  if (!created) return 0;
  UpdateCreatedPart(document);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBCreateCmd::Send(ZRBCreateRequest& request, CADDocument& document, std::string_view word,
                       const CADUnicodeString& argument, const char* failureTrace) {
  ZRBAfx::SetWorkBenchWindowTop();
  const int run = RunPdmAction(word, argument);
  ZRBAfx::SetCadWindowTop();
  if (run < 0) return 0;
  ZRBObjectManager answer;
  ZRBObject* root = request.ReadAnswer(answer);
  if (!root) {
    GetWarnings().Append(BuildMessage("ZRBCreateCmd", "NoAnswerFromPdm"));
    return 0;
  }
  const bool success = ZRBPdmRequest::IsSuccess(ZRBPdmRequest::ReadResult(root, ZRBPdmStep::OneStep));
  if (!success) ZRB_DEBUG("%s", failureTrace);
  ZRB_DEBUG("ZRB: Get STATS from object manager");
  ZRBPdmRequest::AddStats(*root, GetWarnings());
  if (!success) return 0;
  ZRBObject* created = ZRBCreateRequest::CreatedObject(answer);
  if (!created || !request.ApplyIdentity(answer, *created, document)) {
    GetWarnings().Append(BuildMessage("ZRBCreateCmd", "NoAnswerFromPdm"));
    return 0;
  }
  return 1;
}

// ---------------------------------------------------------------- the follow-on update

ZRBUpdateCmd* ZRBCreateCmd::CreateUpdateCmd() { return new ZRBUpdateCmd(1, 0, 100); }

int ZRBCreateCmd::UpdateCreatedPart(CADDocument& document) {
  ZRB_TRACE("ZRBCreateCmd::UpdateCreatedPart");
  ZRBUpdateCmd* update = CreateUpdateCmd();
  if (!update) return 0;
  update->SetSupressInteraction(1);
  // The new identity changed the document's properties: the update must send it.
  document.SetDirty(1);
  int status = 0;
  int done = 0;
  const bool drawing = document.GetType() == "CADDrawing";
  CADIProduct_var root = document.GetRootProduct();
  if (!drawing && root && GlobPropertyManager.GetReferenceProperty(root, "ZRB_ISCOMPONENT") == "1")
    done = update->UpdateProductDocument(&document, status);
  else
    done = update->UpdateSingleDocument(&document, drawing, status);
  for (const CADUnicodeString& line : update->GetWarnings()) GetWarnings().Append(line);
  for (const CADUnicodeString& line : update->GetInformations()) GetInformations().Append(line);
  update->RequestDelayedDestruction();
  // The update put its own client mode in force.
  ApplyClientMode();
  if (done) ZRB_TRACE_OK();
  return done;
}
