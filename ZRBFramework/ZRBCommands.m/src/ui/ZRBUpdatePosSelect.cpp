#include "ZRBUpdatePosSelect.h"

#include <set>
#include <string>
#include <tuple>

#include "CADApplicationFrame.h"
#include "CADDlgFrame.h"
#include "CADDlgLabel.h"
#include "CADDlgMultiList.h"
#include "CADDlgPushButton.h"
#include "CADDlgTabContainer.h"
#include "CADDlgTabPage.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBAfx.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {
constexpr unsigned long kDialogStyle = CADDlgWndGrid | CADDlgWndModal | CADDlgWndBtnOKCancel;
// Matrix rows: parent part number, part number, instance name, mark. Model rows: part number, file name, mark.
constexpr int kMatrixMark = 3, kMatrixInstance = 2, kModelFile = 1, kModelMark = 2;

CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}

CADUnicodeString Text(const char* key) {
  return ZRBAfxBase::BuildMessage("ZRBUpdatePosSelect", CADString("ZRBUpdatePosSelect.") + key);
}

CADUnicodeString UpdateMessage(const char* key, const CADUnicodeString& parameter) {
  CADUnicodeString parameters[1] = {parameter};
  return ZRBAfxBase::BuildMessage("ZRBUpdateCmd", CADString("ZRBUpdateCmd.") + key, parameters, 1);
}

bool IsSet(const ZRBObject* object, const char* slot) { return object && object->GetSlotValue(slot) == "1"; }

// The request's objects from "ROOT" along "SUBASSEMBLIES", depth first, each with its parent (null for "ROOT").
template <typename Visit>
void Walk(const ZRBObjectManager& request, const ZRBObject* object, const ZRBObject* parent,
          std::set<const ZRBObject*>& seen, Visit& visit) {
  if (!object || !seen.insert(object).second) return;
  visit(object, parent);
  for (const CADString& key : object->GetSlotValueList("SUBASSEMBLIES"))
    Walk(request, request.GetObject(key), object, seen, visit);
}

template <typename Visit>
void Walk(const ZRBObjectManager& request, Visit visit) {
  std::set<const ZRBObject*> seen;
  Walk(request, request.GetObject("ROOT"), nullptr, seen, visit);
}
}  // namespace

ZRBUpdatePosSelect::ZRBUpdatePosSelect(ZRBObjectManager& request, Handler& handler, bool positions, bool models)
    : ZRBUpdatePosSelect("ZRBUpdatePosSelect", request, handler, positions, models) {}

ZRBUpdatePosSelect::ZRBUpdatePosSelect(const char* identifier, ZRBObjectManager& request, Handler& handler,
                                       bool positions, bool models)
    : CADDlgDialog(MainWindow(), identifier, kDialogStyle), request_(request), handler_(&handler) {
  yes_ = Text("YesString");
  no_ = Text("NoString");
  if (yes_.IsEmpty() || no_.IsEmpty() || yes_ == no_) {
    yes_ = "YES";
    no_ = "NO";
  }
  Build(positions, models);
}

ZRBUpdatePosSelect::~ZRBUpdatePosSelect() {
  if (built_ && handler_) {
    ZRB_DEBUG("ZRB: position selection closed without an answer: update canceled");
    Handler* handler = handler_;
    handler_ = nullptr;
    handler->CancelUpdate(messages_);
  }
}

CADListValCADString ZRBUpdatePosSelect::GetResourceFilename() const {
  return CADListValCADString{"ZRBUpdatePosSelect"};
}

void ZRBUpdatePosSelect::Build(bool positions, bool models) {
  tabs_ = new CADDlgTabContainer(this, "PosSelectTabContainer");
  matrixPage_ = new CADDlgTabPage(tabs_, "MatrixTabPage");
  modelPage_ = new CADDlgTabPage(tabs_, "ModelTabPage");
  auto* matrixEmpty = new CADDlgLabel(matrixPage_, "MatrixEmptyLabel");
  auto* modelEmpty = new CADDlgLabel(modelPage_, "ModelEmptyLabel");
  auto* matrixFrame = new CADDlgFrame(matrixPage_, "MatrixUpdFrame");
  auto* modelFrame = new CADDlgFrame(modelPage_, "ModelUpdFrame");
  matrixList_ = new CADDlgMultiList(matrixFrame, "MatrixToBeUpdated", CADDlgLstMultisel);
  matrixList_->SetColumnTitles({Text("ColumnParent"), Text("ColumnChild"), Text("ColumnInstance"), Text("ColumnSend")});
  modelList_ = new CADDlgMultiList(modelFrame, "ModelToBeUpdated", CADDlgLstMultisel);
  modelList_->SetColumnTitles({Text("ColumnPartNumber"), Text("ColumnFile"), Text("ColumnSend")});
  auto* matrixToggle = new CADDlgPushButton(matrixFrame, "MatrixToggleButton");
  auto* modelToggle = new CADDlgPushButton(modelFrame, "ModelToggleButton");

  const int matrixRows = positions ? PosGetModifiedRelations() : 0;
  const int modelRows = models ? ModGetModifiedModels() : 0;
  if (matrixRows == 0 && modelRows == 0) return;
  built_ = true;

  // An empty list shows only its label; the page with rows comes first.
  matrixEmpty->SetVisibility(matrixRows ? CADDlgHide : CADDlgShow);
  matrixFrame->SetVisibility(matrixRows ? CADDlgShow : CADDlgHide);
  modelEmpty->SetVisibility(modelRows ? CADDlgHide : CADDlgShow);
  modelFrame->SetVisibility(modelRows ? CADDlgShow : CADDlgHide);
  tabs_->SetSelectedPage(matrixRows ? matrixPage_ : modelPage_);

  matrixToggle->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { PosToggleLine(); }, this);
  matrixList_->Connect(
      CADDlgEvent::Activate, [this](CADDialog&) { PosToggleLine(); }, this);
  modelToggle->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { ModToggleLine(); }, this);
  modelList_->Connect(
      CADDlgEvent::Activate, [this](CADDialog&) { ModToggleLine(); }, this);
  Connect(
      CADDlgEvent::OK, [this](CADDialog&) { OnOKNotification(); }, this);
  auto cancel = [this](CADDialog&) { OnCANCELNotification(); };
  Connect(CADDlgEvent::Cancel, cancel, this);
  Connect(CADDlgEvent::WindowClose, cancel, this);
  ApplyResourceTitles();
  SetVisibility(CADDlgShow);
}

int ZRBUpdatePosSelect::PosGetModifiedRelations() {
  if (!matrixList_) return 0;
  // A shared subassembly carries the same relation once per use: the designer decides on it once.
  std::vector<std::tuple<std::string, std::string, std::string>> order;
  Walk(request_, [&](const ZRBObject* object, const ZRBObject* parent) {
    if (!parent || !IsSet(object, "UPD_MATRIX")) return;
    auto row = std::make_tuple(parent->GetSlotValue("PARTNUMBER").str(), object->GetSlotValue("PARTNUMBER").str(),
                               object->GetSlotValue("INSTANCENAME").str());
    std::size_t index = 0;
    while (index < order.size() && order[index] != row) ++index;
    if (index == order.size()) {
      order.push_back(row);
      matrixTargets_.emplace_back();
      matrixList_->AddRow({CADUnicodeString(std::get<0>(row)), CADUnicodeString(std::get<1>(row)),
                           CADUnicodeString(std::get<2>(row)), yes_});
    }
    matrixTargets_[index].push_back(Target{object->GetKey(), "UPD_MATRIX"});
  });
  return matrixList_->GetRowCount();
}

int ZRBUpdatePosSelect::ModGetModifiedModels() {
  if (!modelList_) return 0;
  const auto rowFor = [&](const CADString& path, const CADString& partNumber) {
    const CADUnicodeString file(path);
    for (std::size_t i = 0; i < modelPaths_.size(); ++i)
      if (modelPaths_[i] == file) return i;
    modelPaths_.push_back(file);
    modelTargets_.emplace_back();
    const std::string text = path.str();
    const std::size_t slash = text.find_last_of('/');
    modelList_->AddRow({CADUnicodeString(partNumber),
                        CADUnicodeString(slash == std::string::npos ? text : text.substr(slash + 1)), yes_});
    return modelPaths_.size() - 1;
  };
  Walk(request_, [&](const ZRBObject* object, const ZRBObject*) {
    const CADString create = object->GetSlotValue("CREATE_PART_IN_PDM");
    const bool toCreate = create == "1" || create == "2";
    if (IsSet(object, "UPD_GEOMETRY") && !toCreate && !object->GetSlotValue("PATH").IsEmpty())
      modelTargets_[rowFor(object->GetSlotValue("PATH"), object->GetSlotValue("PARTNUMBER"))].push_back(
          Target{object->GetKey(), "UPD_GEOMETRY"});
    const CADString productKey = object->GetSlotValue("PRODUCT");
    const ZRBObject* product = productKey.IsEmpty() ? nullptr : request_.GetObject(productKey);
    if (!product || product->GetSlotValue("PATH").IsEmpty() || toCreate) return;
    for (const char* slot : {"UPD_GEOMETRY", "UPD_PRODUCT"})
      if (IsSet(product, slot))
        modelTargets_[rowFor(product->GetSlotValue("PATH"), object->GetSlotValue("PARTNUMBER"))].push_back(
            Target{product->GetKey(), slot});
  });
  return modelList_->GetRowCount();
}

void ZRBUpdatePosSelect::Toggle(CADDlgMultiList* list, int markColumn) {
  if (!list) return;
  for (int row : list->GetSelect()) list->SetCell(row, markColumn, list->GetCell(row, markColumn) == yes_ ? no_ : yes_);
}

void ZRBUpdatePosSelect::PosToggleLine() { Toggle(matrixList_, kMatrixMark); }
void ZRBUpdatePosSelect::ModToggleLine() { Toggle(modelList_, kModelMark); }

void ZRBUpdatePosSelect::OnOKNotification() {
  ZRB_TRACE("ZRBUpdatePosSelect::OnOKNotification");
  if (!handler_) return;
  for (int row = 0; row < matrixList_->GetRowCount(); ++row) {
    if (matrixList_->GetCell(row, kMatrixMark) == yes_) continue;
    for (const Target& target : matrixTargets_[row])
      if (ZRBObject* object = request_.GetObject(target.key)) object->SetSlotValue(target.slot, "0");
    messages_.Append(UpdateMessage("MatrixNotUpdatedOnUserRequest", matrixList_->GetCell(row, kMatrixInstance)));
  }
  for (int row = 0; row < modelList_->GetRowCount(); ++row) {
    if (modelList_->GetCell(row, kModelMark) == yes_) continue;
    for (const Target& target : modelTargets_[row])
      if (ZRBObject* object = request_.GetObject(target.key)) object->SetSlotValue(target.slot, "0");
    // The document was saved into the exchange map for this request; unsent, its changes are still to save.
    const CADUnicodeString& path = modelPaths_[row];
    if (CADDocument* document = CADDocumentServices::GetDocumentInSession(path)) document->SetDirty(1);
    GlobPropertyManager.DeleteFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME");
    messages_.Append(UpdateMessage("ModelNotUpdatedOnUserRequest", modelList_->GetCell(row, kModelFile)));
  }
  Finish(true);
  ZRB_TRACE_OK();
}

void ZRBUpdatePosSelect::OnCANCELNotification() {
  ZRB_TRACE("ZRBUpdatePosSelect::OnCANCELNotification");
  if (!handler_) return;
  Finish(false);
  ZRB_TRACE_OK();
}

void ZRBUpdatePosSelect::ContinueUpdate() {
  Handler* handler = handler_;
  handler_ = nullptr;
  if (handler) handler->ContinueUpdate(messages_);
}

void ZRBUpdatePosSelect::CancelUpdate() {
  Handler* handler = handler_;
  handler_ = nullptr;
  if (handler) handler->CancelUpdate(messages_);
}

void ZRBUpdatePosSelect::Finish(bool ok) {
  SetVisibility(CADDlgHide);
  RequestDelayedDestruction();
  if (ok)
    ContinueUpdate();
  else
    CancelUpdate();
}

void ZRBUpdatePosSelect::Abandon() {
  handler_ = nullptr;
  DisconnectSubscriber(this);
  SetVisibility(CADDlgHide);
  RequestDelayedDestruction();
}

ZRBUpdateAllPartsPosSelect::ZRBUpdateAllPartsPosSelect(ZRBObjectManager& request, Handler& handler)
    : ZRBUpdatePosSelect("ZRBUpdateAllPartsPosSelect", request, handler, false, true) {}

CADListValCADString ZRBUpdateAllPartsPosSelect::GetResourceFilename() const {
  return CADListValCADString{"ZRBUpdateAllPartsPosSelect", "ZRBUpdatePosSelect"};
}
