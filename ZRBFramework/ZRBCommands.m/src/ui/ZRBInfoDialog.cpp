#include "ZRBInfoDialog.h"

#include "CADApplicationFrame.h"
#include "CADDlgCheckButton.h"
#include "CADDlgEditor.h"
#include "CADDlgFrame.h"
#include "CADDlgLabel.h"
#include "CADDlgMultiList.h"
#include "CADDlgPushButton.h"
#include "CADDlgTabContainer.h"
#include "CADDlgTabPage.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADFrmWindow.h"
#include "CADIPrdProperties.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBInfoUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr unsigned long kInfoStyle = CADDlgWndGrid | CADDlgWndBtnClose;
constexpr int kColumns = 7;

ZRBInfoDialog*& Instance() {
  static ZRBInfoDialog* dialog = nullptr;
  return dialog;
}

CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}

CADUnicodeString Ref(const ZRBInfos& info, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(info.product, name);
}

CADUnicodeString File(const ZRBInfos& info, const char* name) {
  return info.fileName.IsEmpty() ? CADUnicodeString() : GlobPropertyManager.GetFileProperty(info.fileName, name);
}

bool IsOn(const char* variable) { return g_ZRBConfig.CompareEnvVar(variable, "ON", 1) != 0; }

// The part number without the add-temporary prefix and suffix.
CADUnicodeString WithoutTempAffixes(CADUnicodeString number) {
  const char* prefix = g_ZRBConfig.GetEnvVar("ZRB_ADDTEMP_PRAEFIX1", 1);
  const char* suffix = g_ZRBConfig.GetEnvVar("ZRB_ADDTEMP_PRAEFIX2", 1);
  std::string text = number.str();
  const std::string p = prefix ? prefix : "", s = suffix ? suffix : "";
  if (!p.empty() && text.rfind(p, 0) == 0) text.erase(0, p.size());
  if (!s.empty() && text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0)
    text.erase(text.size() - s.size());
  return CADUnicodeString(text.c_str());
}

// Host attributes and the file of a product.
void ReadHostAttributes(ZRBInfos& info) {
  info.partNumber = info.product->GetPartNumber();
  info.product->GetPrdInstanceName(info.instanceName);
  CADIPrdProperties_var properties(info.product);
  if (properties) {
    properties->GetRevision(info.revision);
    properties->GetNomenclature(info.nomenclature);
  }
  info.fileName = GlobPropertyManager.GetProductFullPath(info.product);
}

// The identity and the temporary mark of a product's reference; the messages for temporary and foreign nodes.
void ReadReferenceIdentity(ZRBInfos& info, const char* temporary, const char* notFromPdm) {
  info.obid = info.partObid = Ref(info, "ZRB_OBID");
  info.fileObid = File(info, "ZRB_OBID");
  const CADIProduct_var father = info.product->GetFatherProduct();
  if (father) info.relation = GlobPropertyManager.GetInstanceProperty(father, info.product, "ZRB_RELATION");
  info.fromPdm = ZRBInfoUtil::WasLoadedFromPdm(info.product.get());
  info.readOnly = Ref(info, "ZRB_CHANGEABLE") == "0" || Ref(info, "ZRB_PRODUCT_CHANGEABLE") == "0";
  if (!Ref(info, "ZRB_REVISION").IsEmpty()) info.revision = Ref(info, "ZRB_REVISION");
  if (!Ref(info, "ZRB_NOMENCLATURE").IsEmpty()) info.nomenclature = Ref(info, "ZRB_NOMENCLATURE");
  if (GlobPropertyManager.IsReferencePropertySet(info.product, "ZRB_ADD_TEMP")) {
    info.message = temporary;
    info.partNumber = WithoutTempAffixes(info.partNumber);
  } else if (!info.fromPdm) {
    info.message = notFromPdm;
  }
}

}  // namespace

// ---------------------------------------------------------------- the one dialog

ZRBInfoDialog* ZRBInfoDialog::GetCurrent() { return Instance(); }

ZRBInfoDialog* ZRBInfoDialog::Open() {
  if (!Instance()) {
    auto* dialog = new ZRBInfoDialog();
    dialog->Build();
  }
  return Instance();
}

ZRBInfoDialog::ZRBInfoDialog() : CADDlgDialog(MainWindow(), "ZRBInfoDialog", kInfoStyle) {
  Instance() = this;
  auto close = [this](CADDialog&) { CloseDialog(); };
  Connect(CADDlgEvent::Close, close, this);
  Connect(CADDlgEvent::WindowClose, close, this);
  layoutSubscription_ = CADFrmLayout::GetCurrentLayout().Subscribe(
      [this](CADFrmLayoutEvent event, CADFrmWindow* window) { OnLayout(event, window); });
  FollowWindow(CADFrmLayout::GetCurrentLayout().GetCurrentWindow());
}

ZRBInfoDialog::~ZRBInfoDialog() {
  FollowWindow(nullptr);
  CADFrmLayout::GetCurrentLayout().Unsubscribe(layoutSubscription_);
  if (Instance() == this) Instance() = nullptr;
  DeleteChildren();
}

CADListValCADString ZRBInfoDialog::GetResourceFilename() const { return CADListValCADString{"ZRBInfoDialog"}; }

void ZRBInfoDialog::CloseDialog() {
  ZRB_DEBUG("ZRB: ZRBInfoDialog closed");
  FollowWindow(nullptr);
  CADFrmLayout::GetCurrentLayout().Unsubscribe(layoutSubscription_);
  layoutSubscription_ = 0;
  // A new info command opens a new dialog at once, while this one waits for its destruction.
  if (Instance() == this) Instance() = nullptr;
  SetVisibility(CADDlgHide);
  RequestDelayedDestruction();
}

void ZRBInfoDialog::FollowWindow(CADFrmWindow* window) {
  if (cso_) cso_->Unsubscribe(csoSubscription_);
  cso_ = nullptr;
  window_ = window;
  if (!window || !window->GetEditor()) return;
  cso_ = window->GetEditor()->GetCSO();
  csoSubscription_ = cso_->Subscribe([this] { UpdateInformation(); });
}

void ZRBInfoDialog::OnLayout(CADFrmLayoutEvent event, CADFrmWindow* window) {
  if (event == CADFrmLayoutEvent::WindowClosing) {
    if (window == window_) CloseDialog();
    return;
  }
  FollowWindow(window);
  UpdateInformation();
}

// ---------------------------------------------------------------- building

void ZRBInfoDialog::Build() {
  ZRB_TRACE("ZRBInfoDialog::Build");
  if (tabs_) return;
  message_ = new CADDlgLabel(this, "ZRBMessageText");
  message_->SetGridConstraints(0, 0, 1, 1, CADDlgGridLeft);
  tabs_ = new CADDlgTabContainer(this, "ZRBInfoTabContainer");
  tabs_->SetGridConstraints(1, 0, 1, 1, CADDlgGridFill);
  single_ = new CADDlgTabPage(tabs_, "ZRBSingleInformation");
  multi_ = new CADDlgTabPage(tabs_, "ZRBMultiInformation");

  auto* cad = new CADDlgFrame(single_, "ZRBCadAttributes");
  new CADDlgLabel(cad, "ZRBXmapLabel");
  xmapText_ = new CADDlgLabel(cad, "ZRBXmapText");
  changed_ = new CADDlgCheckButton(cad, "ZRBChangedInCad");
  changed_->SetSensitivity(CADDlgDisable);

  auto* pdm = new CADDlgFrame(single_, "ZRBPdmAttributes");
  auto* texts = new CADDlgFrame(pdm, "ZRBPdmAttributesTextFrame");
  auto field = [texts](const char* label, const char* text) {
    new CADDlgLabel(texts, label);
    return new CADDlgEditor(texts, text, CADDlgEdtReadOnly);
  };
  partNumber_ = field("ZRBPartnumberLabel", "ZRBPartnumberText");
  instanceName_ = field("ZRBInstancenameLabel", "ZRBInstancenameText");
  revision_ = field("ZRBRevisionLabel", "ZRBRevisionText");
  nomenclature_ = field("ZRBNomenclatureLabel", "ZRBNomenclatureText");
  auto* checks = new CADDlgFrame(pdm, "ZRBPdmAttributesCheckFrame");
  partReadOnly_ = new CADDlgCheckButton(checks, "ZRBPartReadOnly");
  fileReadOnly_ = new CADDlgCheckButton(checks, "ZRBFileReadOnly");
  fileAttachable_ = new CADDlgCheckButton(checks, "ZRBFileAttachable");
  // They show states; the designer changes nothing here.
  for (CADDlgCheckButton* check : {partReadOnly_, fileReadOnly_, fileAttachable_}) check->SetSensitivity(CADDlgDisable);

  auto* moreFrame = new CADDlgFrame(single_, "ZRBMoreAttributeInformation");
  more_ = new CADDlgPushButton(moreFrame, "ZRBMoreButton");
  more_->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { AskForMore(); }, this);
  information_ = new CADDlgLabel(single_, "ZRBInformationLabel");
  informationLines_ = new CADDlgEditor(single_, "ZRBInformationLines", CADDlgEdtReadOnly | CADDlgEdtMultiline);

  table_ = new CADDlgMultiList(multi_, "ZRBMultiInformationTable");
  CADListValCADUnicodeString titles;
  for (int c = 1; c <= kColumns; ++c) {
    const std::string n = std::to_string(c);
    titles.Append(Text(("ZRBInfoTabContainer.ZRBMultiInformation.ZRBMultiInformationTable.ColumnTitle" + n).c_str()));
  }
  table_->SetColumnTitles(titles);
  for (int c = 0; c < kColumns; ++c) {
    const CADUnicodeString width = Text(("ZRBInfoTabContainer.ColumnWidth" + std::to_string(c + 1)).c_str());
    table_->SetColumnTextWidth(c, std::atoi(width.c_str()));
  }
  table_->Connect(
      CADDlgEvent::SelectionChanged,
      [this](CADDialog&) {
        const std::vector<int> rows = table_->GetSelect();
        if (!rows.empty()) ShowRow(rows.front());
      },
      this);
  SetGridRowResizable(1);
  SetGridColumnResizable(0);
  ApplyResourceTitles();
  SetTitle(Text("Dialog_Title"));
  ZRB_TRACE_OK();
}

CADUnicodeString ZRBInfoDialog::Text(const char* key) const { return LookupResourceText(key, CADUnicodeString(key)); }

// ---------------------------------------------------------------- gathering

ZRBInfos ZRBInfoDialog::GetInfo(const CADIProduct_var& product) {
  ZRBInfos info;
  info.product = product;
  if (!product) return info;
  ReadHostAttributes(info);
  const CADUnicodeString type = GlobPropertyManager.GetProductType(product);
  info.cadClass = type.c_str();
  if (type == "vis") {
    GetInfoFromVis(info);
  } else if (type == "model") {
    GetInfoFromModel(info);
  } else if (type == "CADAnalysis") {
    GetInfoFromAnalysis(info);
  } else if (type == "CADPart") {
    GetInfoFromCadPart(info);
  } else if (type == "ZRBArchive") {
    GetInfoFromArchive(info);
  } else {
    GetInfoFromProduct(info);
  }
  if (ZRBInfoUtil::IsRepresentation(type)) info.cadClass = "representation";
  return info;
}

ZRBInfos ZRBInfoDialog::GetInfoFromDocument(CADDocument* document) {
  ZRBInfos info;
  if (!document) return info;
  info.fileName = document->StorageName();
  info.docName = document->GetDisplayName();
  info.cadClass = document->GetType().c_str();
  info.dirty = document->IsDirty() ? 1 : 0;
  info.fileReadOnly = document->IsReadOnly();
  const CADUnicodeString& type = document->GetType();
  if (type == "CADDrawing") {
    GetInfoFromDrawing(info);
  } else if (type == "catalog") {
    GetInfoFromCatalog(info);
  } else if (type == "CADProcess") {
    GetInfoFromProcess(info);
  } else {
    ZRB_DEBUG("ZRB: unsupported window type");
  }
  return info;
}

void ZRBInfoDialog::GetInfoFromVis(ZRBInfos& info) {
  info.kind = ZRBInfos::TempVis;
  ReadReferenceIdentity(info, "ZRBInfoCmd.VirtualRootProductFound", "ZRBInfoCmd.VirtualRootProductFound");
  if (!Ref(info, "ZRB_VISPATH").IsEmpty()) info.fileName = Ref(info, "ZRB_VISPATH");
}

void ZRBInfoDialog::GetInfoFromModel(ZRBInfos& info) {
  info.kind = ZRBInfos::Model;
  ReadReferenceIdentity(info, "ZRBInfoCmd.ModelIsTemporary", "ZRBInfoCmd.NoZRBModelFound");
  info.partObid = Ref(info, "ZRB_PRODUCT_OBID");
  info.docRelId = Ref(info, "ZRB_RELATION");
  if (!Ref(info, "ZRB_REPRESENTATIONPATH").IsEmpty()) info.fileName = Ref(info, "ZRB_REPRESENTATIONPATH");
}

void ZRBInfoDialog::GetInfoFromAnalysis(ZRBInfos& info) {
  GetInfoFromArchive(info);
  if (!info.fromPdm) info.message = "ZRBInfoCmd.NoZRBPartFound";
}

void ZRBInfoDialog::GetInfoFromArchive(ZRBInfos& info) {
  info.kind = ZRBInfos::Archive;
  info.obid = info.fileObid = File(info, "ZRB_ARCHIVE_OBID");
  if (info.obid.IsEmpty()) info.obid = info.fileObid = Ref(info, "ZRB_ARCHIVE_OBID");
  if (!File(info, "ZRB_ARCHIVE_REVISION").IsEmpty()) info.revision = File(info, "ZRB_ARCHIVE_REVISION");
  info.readOnly = File(info, "ZRB_ARCHIVE_CHANGEABLE") == "0";
  info.fromPdm = info.obid.IsEmpty() ? 0 : 1;
  if (!info.fromPdm) info.message = "ZRBInfoCmd.NoZRBObjectFound";
}

void ZRBInfoDialog::GetInfoFromCadPart(ZRBInfos& info) {
  info.kind = Ref(info, "ZRB_IS_STD_PART") == "1"   ? ZRBInfos::StdPart
              : Ref(info, "ZRB_ISCOMPONENT") == "1" ? ZRBInfos::Component
                                                    : ZRBInfos::Part;
  if (info.kind == ZRBInfos::Part) {
    int component = 0;
    if (SUCCEEDED(ZRBInfoUtil::IsCadComponent(info.product, &component)) && component) info.kind = ZRBInfos::Component;
  }
  ReadReferenceIdentity(info, "ZRBInfoCmd.PartIsTemporary", "ZRBInfoCmd.NoZRBPartFound");
  if (IsOn("ZRB_ENABLE_PARTINFO_FOR_MODEL") && !Ref(info, "ZRB_PRODUCT_OBID").IsEmpty()) {
    info.partObid = Ref(info, "ZRB_PRODUCT_OBID");
    info.docRelId = Ref(info, "ZRB_RELATION");
  }
}

// A document without a product: its identity is that of its file.
static void ReadFileIdentity(ZRBInfos& info, const char* temporary, const char* notFromPdm) {
  info.obid = info.fileObid = File(info, "ZRB_OBID");
  if (!File(info, "ZRB_REVISION").IsEmpty()) info.revision = File(info, "ZRB_REVISION");
  info.partNumber = File(info, "ZRB_PARTNUMBER");
  info.readOnly = File(info, "ZRB_CHANGEABLE") == "0";
  info.fromPdm = info.obid.IsEmpty() ? 0 : 1;
  if (!File(info, "ZRB_ADD_TEMP").IsEmpty() && temporary) {
    info.message = temporary;
    info.partNumber = WithoutTempAffixes(info.partNumber);
  } else if (!info.fromPdm) {
    info.message = notFromPdm;
  }
}

void ZRBInfoDialog::GetInfoFromDrawing(ZRBInfos& info) {
  info.kind = ZRBInfos::Drawing;
  ReadFileIdentity(info, "ZRBInfoCmd.DrawingIsTemporary", "ZRBInfoCmd.NoZRBDrawingFound");
}

void ZRBInfoDialog::GetInfoFromCatalog(ZRBInfos& info) {
  info.kind = ZRBInfos::Catalog;
  ReadFileIdentity(info, nullptr, "ZRBInfoCmd.NoZRBCatalogFound");
}

void ZRBInfoDialog::GetInfoFromProcess(ZRBInfos& info) {
  info.kind = ZRBInfos::Process;
  ReadFileIdentity(info, nullptr, "ZRBInfoCmd.NoZRBProcessFound");
  if (!File(info, "ZRB_PROCESS_OBID").IsEmpty()) info.obid = info.fileObid = File(info, "ZRB_PROCESS_OBID");
  if (!File(info, "ZRB_NOMENCLATURE").IsEmpty()) info.nomenclature = File(info, "ZRB_NOMENCLATURE");
  info.fromPdm = info.obid.IsEmpty() ? 0 : 1;
}

void ZRBInfoDialog::GetInfoFromProduct(ZRBInfos& info) {
  info.kind = ZRBInfos::Product;
  ReadReferenceIdentity(info, "ZRBInfoCmd.ProductIsTemporary", "ZRBInfoCmd.NoZRBProductFound");
  const CADIProduct_var father = info.product->GetFatherProduct();
  if (Ref(info, "ZRB_CONFIGURABLE_BEHAVIOR") == "1") {
    info.message = "ZRBInfoCmd.ConfigurableBehaviorNode";
  } else if (father && GlobPropertyManager.IsBlackBoxItem(father, info.product, 0)) {
    info.message = "ZRBInfoCmd.ProductIsPartOfBlackBox";
  }
}

// ---------------------------------------------------------------- showing

void ZRBInfoDialog::ShowInfo() {
  ZRB_TRACE("ZRBInfoDialog::ShowInfo");
  shown_.clear();
  current_ = -1;
  ClearMessageText();
  CADFrmEditor* editor = window_ ? window_->GetEditor() : CADFrmEditor::GetCurrentEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  const CADUnicodeString type = document ? document->GetType() : CADUnicodeString();
  if (type == "CADDrawing" || type == "catalog" || type == "CADProcess") {
    shown_.push_back(GetInfoFromDocument(document));
  } else if (editor) {
    CADCSO* cso = editor->GetCSO();
    if (cso->GetSize() == 0) ZRB_DEBUG("ZRB: *** no selected object ***");
    if (cso->GetSize() > 1) ZRB_DEBUG("ZRB: more than one selection");
    for (int i = 1; i <= cso->GetSize(); ++i) {
      CADIProduct_var product(cso->GetElement(i)->GetLeaf());
      if (!product) {
        ZRB_DEBUG("ZRB: *** selected elemant is not a Product ***");
        continue;
      }
      shown_.push_back(GetInfo(product));
    }
  }
  FillTable();
  if (shown_.empty()) {
    SetMessage("ZRBInfoCmd.NoProductSelected");
    SetupSinglePage(ZRBInfos());
    return;
  }
  bool any = false;
  for (const ZRBInfos& info : shown_) any = any || info.fromPdm;
  ShowRow(0);
  if (!any)
    SetMessage(shown_.size() == 1 && !shown_[0].message.IsEmpty() ? shown_[0].message
                                                                  : CADString("ZRBInfoCmd.NoZRBObjectFound"));
  if (tabs_) tabs_->SetSelectedPage(shown_.size() > 1 ? multi_ : single_);
  ZRB_TRACE_OK();
}

void ZRBInfoDialog::FillTable() {
  if (!table_) return;
  table_->ClearRows();
  for (const ZRBInfos& info : shown_) {
    table_->AddRow({KindName(info.kind), info.partNumber, info.instanceName, info.revision, info.nomenclature,
                    info.obid.IsEmpty() ? Text("PlaceHolder_NA") : info.obid,
                    Text(info.fromPdm ? "Status.ZRB" : "Status.NotZRB")});
  }
}

void ZRBInfoDialog::ShowRow(int row) {
  if (row < 0 || row >= static_cast<int>(shown_.size())) return;
  current_ = row;
  SetupSinglePage(shown_[static_cast<size_t>(row)]);
}

CADUnicodeString ZRBInfoDialog::KindName(ZRBInfos::Kind kind) const {
  static const char* const names[] = {"PlaceHolder_NA", "Name_TempVis", "Name_Product", "Name_Component",
                                      "Name_StdPart",   "Name_Part",    "Name_Model",   "Name_Drawing",
                                      "Name_Catalog",   "Name_Archive", "Name_Process"};
  return Text(names[kind]);
}

void ZRBInfoDialog::SetupSinglePage(const ZRBInfos& info) {
  if (!tabs_) return;
  const CADUnicodeString na = Text("PlaceHolder_NA");
  auto orNa = [&na](const CADUnicodeString& text) { return text.IsEmpty() ? na : text; };
  SetPartNumber(orNa(info.partNumber));
  SetInstanceName(orNa(info.instanceName));
  SetRevision(orNa(info.revision));
  SetNomenclature(orNa(info.nomenclature));
  SetFileName(orNa(info.fileName));
  SetReadOnly(info.readOnly);
  SetFileReadOnly(info.fileReadOnly);
  SetFileAttachable(info.fileAttachable);
  SetDirty(info.dirty);
  if (info.kind == ZRBInfos::Unknown) DisableFileInfo();
  CADUnicodeString state = KindName(info.kind);
  state += ": ";
  state += Text(info.readOnly ? "Status.ReadOnly" : "Status.ReadWrite");
  state += ", ";
  state += Text(info.dirty ? "Status.Modified" : "Status.Opened");
  state += ", ";
  state += Text(info.fromPdm ? "Status.ZRB" : "Status.NotZRB");
  information_->SetTitle(state);
  informationLines_->ClearLine();
  more_->SetSensitivity(info.fromPdm ? CADDlgEnable : CADDlgDisable);
  if (!info.message.IsEmpty() && shown_.size() == 1) SetMessage(info.message);
}

void ZRBInfoDialog::SetPartNumber(const CADUnicodeString& text) { partNumber_->SetText(text); }
void ZRBInfoDialog::SetInstanceName(const CADUnicodeString& text) { instanceName_->SetText(text); }
void ZRBInfoDialog::SetRevision(const CADUnicodeString& text) { revision_->SetText(text); }
void ZRBInfoDialog::SetNomenclature(const CADUnicodeString& text) { nomenclature_->SetText(text); }
void ZRBInfoDialog::SetFileName(const CADUnicodeString& text) { xmapText_->SetTitle(text); }
void ZRBInfoDialog::SetReadOnly(int flag) { partReadOnly_->SetState(flag ? CADDlgCheck : CADDlgUncheck); }
void ZRBInfoDialog::SetFileReadOnly(int flag) { fileReadOnly_->SetState(flag ? CADDlgCheck : CADDlgUncheck); }
void ZRBInfoDialog::SetFileAttachable(int flag) { fileAttachable_->SetState(flag ? CADDlgCheck : CADDlgUncheck); }
void ZRBInfoDialog::SetDirty(int flag) { changed_->SetState(flag ? CADDlgCheck : CADDlgUncheck); }
void ZRBInfoDialog::DisableFileInfo() { xmapText_->SetTitle(Text("PlaceHolder_NA")); }

void ZRBInfoDialog::SetMessage(const CADString& key) {
  const std::string full = key.str();
  const size_t dot = full.find('.');
  const CADString catalog = dot == std::string::npos ? CADString("ZRBInfoCmd") : CADString(full.substr(0, dot).c_str());
  SetMessageText(ZRBAfxBase::BuildMessage(catalog, key, nullptr, 0, CADUnicodeString(key.c_str())));
}

void ZRBInfoDialog::SetMessageText(const CADUnicodeString& text) {
  if (message_) message_->SetTitle(text);
}

void ZRBInfoDialog::AddMultiLineInfos(const CADListValCADString& names, const CADListValCADString& values) {
  for (int i = 1; i <= names.Size() && i <= values.Size(); ++i) {
    ZRB_DEBUG("ZRB: ZRB attribute: '%s = '%s", names[i].c_str(), values[i].c_str());
    informationLines_->AddLine(CADUnicodeString(names[i].c_str()) + " = " + CADUnicodeString(values[i].c_str()));
  }
}

void ZRBInfoDialog::AskForMore() {
  if (current_ < 0 || current_ >= static_cast<int>(shown_.size())) return;
  const ZRBInfos& info = shown_[static_cast<size_t>(current_)];
  CADListValCADString names, values;
  if (!ZRBInfoUtil::GetCustomPropertiesForDialog(info.cadClass, info.partObid.c_str(), info.fileObid.c_str(),
                                                 info.relation.c_str(), info.docRelId.c_str(), names, values))
    return;
  informationLines_->ClearLine();
  AddMultiLineInfos(names, values);
}
