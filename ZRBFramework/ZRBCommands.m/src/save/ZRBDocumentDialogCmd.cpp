#include "ZRBDocumentDialogCmd.h"

#include "CADCSO.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBCreateRequest.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBTrace.h"

ZRBDocumentDialogCmd::ZRBDocumentDialogCmd(const char* name, ZRBRunningCommandKind kind, const Words& words)
    : ZRBTwoStepCommand(name, kind), words_(words) {}

int ZRBDocumentDialogCmd::GetDocumentFromSelectedPart(CADDocument** document) {
  *document = nullptr;
  CADFrmEditor* editor = GetEditor();
  CADCSO* selection = editor ? editor->GetCSO() : nullptr;
  const auto refuse = [&](const char* trace, const char* message) {
    ZRB_DEBUG("ZRB: GetDocumentFromSelectedPart: *** %s ***", trace);
    GetWarnings().Append(BuildMessage(words_.catalog, message));
    return 0;
  };
  if (!selection || selection->GetSize() != 1) return refuse("wrong number of elements", "NoPartSelected");
  const CADPathElement* path = selection->GetElement(1);
  if (!path || path->IsEmpty()) return refuse("unexspected error", "NoPartSelected");
  CADIProduct_var product(path->GetElement(path->GetSize()));
  if (!product) return refuse("selected elemant is not a Product", "NoPartSelected");
  CADDocument* found = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &found)) || !found)
    return refuse("document is NULL", "NoPartObject");
  if (!(found->GetType() == "CADPart")) return refuse("selected elemant is not a Part", "NoPartObject");
  *document = found;
  return 1;
}

CADDocument* ZRBDocumentDialogCmd::ChooseDocument() {
  CADDocument* document = GetEditor() ? GetEditor()->GetDocument() : nullptr;
  if (!document) {
    ZRB_DEBUG("ZRB: GetDocument() failed");
    return nullptr;
  }
  if (document->GetType() == "CADPart" || document->GetType() == "CADDrawing") return document;
  if (document->GetType() == "CADProduct" && GetDocumentFromSelectedPart(&document)) return document;
  if (GetWarnings().IsEmpty()) GetWarnings().Append(BuildMessage(words_.catalog, "NoPartObject"));
  return nullptr;
}

int ZRBDocumentDialogCmd::StartStep() {
  ZRB_TRACE("ZRBDocumentDialogCmd::StartStep");
  CADDocument* document = ChooseDocument();
  if (!document) return 0;
  drawing_ = document->GetType() == "CADDrawing";
  const char* kind = drawing_ ? "CADDrawing" : "CADPart";
  if (!CheckDocument(*document, drawing_)) return 0;
  ZRBCreateRequest request(*this, words_.catalog);
  if (!request.CheckLinks(*document, words_.checkProducts && !drawing_)) return 0;
  wasModified_ = document->IsDirty() != 0;
  request.CheckQCheckerTimestamp(*document);
  const int built = BuildRequest(request, *document, drawing_);
  // Known even after a failure: a document saved unmodified for the PDM is marked modified again.
  documentPath_ = request.DocumentPath();
  requestPath_ = request.RequestPath();
  if (!built || !request.Write()) return 0;
  // Before the call: a PDM that answers at once must not have its ready word overwritten.
  if (!AnnounceHandOver()) return 0;
  const std::string_view word = drawing_ ? words_.drawingWord : words_.partWord;
  ZRBAfx::SetWorkBenchWindowTop();
  if (RunPdmAction(word, ZRBPdmAction::Line(word, request.SentPath())) < 0) return 0;
  ZRBObjectManager answer;
  ZRBObject* root = request.ReadAnswer(answer);
  if (ZRBPdmRequest::ReadResult(root, ZRBPdmStep::FirstOfTwo) != ZRBPdmResult::FirstStepDone) {
    ZRBAfx::SetCadWindowTop();
    ZRB_DEBUG("ZRB: %s %s Step 1 in PDM failed!", kind, words_.traceLabel);
    if (root) ZRBPdmRequest::AddStats(*root, GetWarnings());
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBDocumentDialogCmd::BuildRequest(ZRBCreateRequest& request, CADDocument& document, bool drawing) {
  if (!request.AddRoot(drawing ? "CADDrawing" : "CADPart") || !request.SaveIntoExchangeMap(document, words_.traceLabel))
    return 0;
  if (!ZRBPdmRequest::AddCommand(request.Request(), words_.requestWord, request.ExchangeMap()) ||
      !request.Describe(document, drawing))
    return 0;
  if (!drawing) request.AddDesignTables(document);
  return CompleteRequest(request, drawing);
}

int ZRBDocumentDialogCmd::ApplyAnswer(ZRBObjectManager& answer, ZRBObject* created, CADDocument* document) {
  ZRBCreateRequest request(*this, words_.catalog);
  if (!document) request.AddMessage("CannotOpenDocument");
  const int applied = created && document && request.ApplyIdentity(answer, *created, *document);
  // The new identity lives in the document's properties: the next save writes them.
  if (applied) document->SetDirty(1);
  return applied;
}

void ZRBDocumentDialogCmd::ShowStartFailure() {
  RestoreAfterCancel();
  // The step's own reasons say more than the fixed failure text.
  if (GetWarnings().IsEmpty()) return ZRBTwoStepCommand::ShowStartFailure();
  ShowEnd(0);
}

void ZRBDocumentDialogCmd::EndStep(const CADString& status) {
  ZRB_TRACE("ZRBDocumentDialogCmd::EndStep");
  ZRB_DEBUG("ZRB: Metaphse ready with %s", words_.traceLabel);
  ZRBAfx::SetCadWindowTop();
  if (status == "PDM_CANCEL") {
    // Whatever the answer file still says belongs to no confirmed item.
    ZRB_DEBUG("ZRB: the PDM cancelled; nothing of the answer is applied");
    RestoreAfterCancel();
    ShowEnd(0);
    return;
  }
  ZRBObjectManager answer;
  ZRBObject* root = answer.Read(requestPath_) ? answer.GetObject("ROOT") : nullptr;
  if (root) ZRBPdmRequest::AddStats(*root, GetWarnings());
  if (!ZRBPdmRequest::IsSuccess(ZRBPdmRequest::ReadResult(root, ZRBPdmStep::SecondOfTwo))) {
    ZRB_DEBUG("ZRB: %s %s Step 2 in PDM failed!", drawing_ ? "CADDrawing" : "CADPart", words_.traceLabel);
    RestoreAfterCancel();
    ShowEnd(0);
    return;
  }
  ZRBObject* created = ZRBCreateRequest::CreatedObject(answer);
  const int applied = ApplyAnswer(answer, created, CADDocumentServices::GetDocumentInSession(documentPath_));
  ShowEnd(applied);
  ZRB_TRACE_OK();
}

void ZRBDocumentDialogCmd::RestoreAfterCancel() {
  if (!wasModified_ || documentPath_.IsEmpty()) return;
  if (CADDocument* document = CADDocumentServices::GetDocumentInSession(documentPath_)) document->SetDirty(1);
}

void ZRBDocumentDialogCmd::ShowEnd(int success) {
  const ZRBTwoStepKind& kind = GetKind();
  DisplayMessageCenter(success, 0, BuildMessage(words_.catalog, words_.okMessage),
                       BuildMessage(kind.failureCatalog, kind.failureMessage), 0);
}
