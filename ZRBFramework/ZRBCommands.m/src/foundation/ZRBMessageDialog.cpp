#include "ZRBMessageDialog.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "CADDlgEditor.h"
#include "CADDlgFrame.h"
#include "CADDlgLabel.h"
#include "CADDlgSelectorList.h"
#include "CADDlgTabContainer.h"
#include "CADDlgTabPage.h"
#include "CADRscCatalog.h"
#include "ZRBTrace.h"

namespace {

constexpr unsigned long kMessageDialogStyle = 0x11000001;
// Characters the output box shows across when the resources do not say.
constexpr int kDefaultOutputWidth = 60;

// Byte offsets of the code points of `text`, plus its end.
std::vector<size_t> CodePointOffsets(std::string_view text) {
  std::vector<size_t> offsets;
  for (size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) offsets.push_back(i);
  offsets.push_back(text.size());
  return offsets;
}

}  // namespace

ZRBMessageDialog::ZRBMessageDialog(CADDialog* parent) : ZRBMessageDialog(parent, "ZRBMessageDialog") {}

ZRBMessageDialog::ZRBMessageDialog(CADDialog* parent, const CADString& identifier)
    : CADDlgDialog(parent, identifier, kMessageDialogStyle) {
  auto close = [this](CADDialog&) { RequestDelayedDestruction(); };
  Connect(CADDlgEvent::Close, close, this);
  Connect(CADDlgEvent::WindowClose, close, this);
}

ZRBMessageDialog::~ZRBMessageDialog() = default;

CADListValCADString ZRBMessageDialog::GetResourceFilename() const { return CADListValCADString{"ZRBMessageDialog"}; }

void ZRBMessageDialog::Build() { BuildWithIcon("ZRBStatusIcon"); }
void ZRBMessageDialog::Build2() { BuildWithIcon("ZRBStatusIcon2"); }
void ZRBMessageDialog::Build3() { BuildWithIcon("ZRBStatusIcon3"); }

void ZRBMessageDialog::BuildWithIcon(const char* icon) {
  ZRB_TRACE("ZRBMessageDialog::Build");
  if (IsBuilt()) return;
  tabs_ = new CADDlgTabContainer(this, "ZRBMessageTabContainer");
  tabs_->SetGridConstraints(0, 0, 1, 1, CADDlgGridFill);
  warningPage_ = new CADDlgTabPage(tabs_, "ZRBWarnings");
  warningList_ = new CADDlgSelectorList(warningPage_, "ZRBWarningList");
  warningList_->SetVisibleLineCount(10);
  informationPage_ = new CADDlgTabPage(tabs_, "ZRBInformations");
  informationList_ = new CADDlgSelectorList(informationPage_, "ZRBInformationList");
  informationList_->SetVisibleLineCount(10);

  statusBox_ = new CADDlgFrame(this, "ZRBStatusBox");
  statusBox_->SetGridConstraints(1, 0, 1, 1, CADDlgGridFill);
  statusIcon_ = new CADDlgLabel(statusBox_, icon);
  CADUnicodeString iconName(icon);
  for (const CADString& catalog : GetResourceFilename())
    if (CADRscCatalog::BuildResource(catalog, CADString(icon) + ".Icon", iconName)) break;
  statusIcon_->SetIconName(iconName.ConvertToString());
  statusText_ = new CADDlgLabel(statusBox_, "ZRBStatusText");

  outputBox_ = new CADDlgEditor(this, "ZRBOutputBox", CADDlgEdtReadOnly | CADDlgEdtMultiline);
  outputBox_->SetGridConstraints(2, 0, 1, 1, CADDlgGridFill);
  int width = kDefaultOutputWidth;
  for (const CADString& catalog : GetResourceFilename()) {
    CADUnicodeString text;
    if (CADRscCatalog::BuildResource(catalog, "ZRBOutputBox.VisibleTextWidth", text)) {
      int parsed = std::atoi(text.c_str());
      if (parsed > 0) width = parsed;
      break;
    }
  }
  outputBox_->SetVisibleTextWidth(width);
  outputBox_->SetVisibleLineCount(5);
  SetGridRowResizable(0);
  SetGridColumnResizable(0);

  warningList_->Connect(
      CADDlgEvent::SelectionChanged, [this](CADDialog&) { OnSelect(WarningPage); }, this);
  informationList_->Connect(
      CADDlgEvent::SelectionChanged, [this](CADDialog&) { OnSelect(InformationPage); }, this);
  ApplyResourceTitles();
  ZRB_TRACE_OK();
}

void ZRBMessageDialog::SetStatusMessage(const CADUnicodeString& text) {
  if (statusText_) statusText_->SetTitle(text);
}

void ZRBMessageDialog::AddLines(CADDlgSelectorList* list, const CADUnicodeString& text) {
  if (!list) return;
  std::string_view rest = text.view();
  while (true) {
    size_t lf = rest.find('\n');
    list->SetLine(CADUnicodeString(rest.substr(0, lf)));
    if (lf == std::string_view::npos) break;
    rest.remove_prefix(lf + 1);
  }
}

void ZRBMessageDialog::AddWarning(const CADUnicodeString& text) { AddLines(warningList_, text); }

void ZRBMessageDialog::AddInformation(const CADUnicodeString& text) { AddLines(informationList_, text); }

void ZRBMessageDialog::DisableTabPage(int page) {
  CADDlgTabPage* target = page == WarningPage ? warningPage_ : page == InformationPage ? informationPage_ : nullptr;
  if (target) target->SetSensitivity(CADDlgDisable);
}

void ZRBMessageDialog::SetActualPage() {
  if (!tabs_) return;
  if (warningPage_->GetSensitivity() == CADDlgEnable)
    tabs_->SetSelectedPage(warningPage_);
  else if (informationPage_->GetSensitivity() == CADDlgEnable)
    tabs_->SetSelectedPage(informationPage_);
}

void ZRBMessageDialog::OnSelect(Page page) {
  CADDlgSelectorList* list = GetList(page);
  std::vector<int> rows = list->GetSelect();
  OnLineSelected(page, rows.empty() ? -1 : rows.front());
}

void ZRBMessageDialog::OnLineSelected(Page page, int row) {
  if (row < 0)
    ClearOutBoxText();
  else
    SetOutBoxText(GetList(page)->GetLine(row));
}

void ZRBMessageDialog::ClearOutBoxText() {
  if (outputBox_) outputBox_->ClearLine();
}

void ZRBMessageDialog::SetOutBoxText(const CADUnicodeString& text) {
  if (!outputBox_) return;
  outputBox_->ClearLine();
  int width = static_cast<int>(outputBox_->GetVisibleTextWidth() * 1.5);
  for (const CADUnicodeString& line : WrapText(text, width)) outputBox_->AddLine(line);
}

CADListValCADUnicodeString ZRBMessageDialog::WrapText(const CADUnicodeString& text, int width) {
  CADListValCADUnicodeString lines;
  std::string_view bytes = text.view();
  std::vector<size_t> at = CodePointOffsets(bytes);
  const int length = static_cast<int>(at.size()) - 1;
  if (length < width) {
    lines.Append(text);
    return lines;
  }
  int lineStart = 0;
  int lastBlank = -1;  // in the current line
  for (int i = 0; i < length; ++i) {
    if (bytes[at[static_cast<size_t>(i)]] == ' ') lastBlank = i;
    if (i - lineStart + 1 >= width && lastBlank >= lineStart) {
      size_t from = at[static_cast<size_t>(lineStart)];
      lines.Append(CADUnicodeString(bytes.substr(from, at[static_cast<size_t>(lastBlank)] - from)));
      lineStart = lastBlank + 1;
      lastBlank = -1;
    }
  }
  lines.Append(CADUnicodeString(bytes.substr(at[static_cast<size_t>(lineStart)])));
  return lines;
}
