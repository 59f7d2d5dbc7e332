#include "ZRBSessionMessageCentres.h"

#include "CADDlgDialog.h"
#include "CADDlgSelectorList.h"
#include "CADMsgCatalog.h"

namespace {

std::vector<ZRBSessionMessageLine> ListLines(const CADDlgDialog& window, const char* list) {
  std::vector<ZRBSessionMessageLine> lines;
  auto* control = dynamic_cast<CADDlgSelectorList*>(window.FindDescendant(list));
  if (!control) return lines;
  for (const CADUnicodeString& line : control->GetLines()) lines.push_back(ZRBSessionMessageCentres::Line(line.str()));
  return lines;
}

}  // namespace

bool ZRBSessionMessageCentres::IsMessageCentre(const CADDlgDialog& window) {
  return window.FindDescendant("ZRBStatusText") && window.FindDescendant("ZRBWarningList") &&
         window.FindDescendant("ZRBInformationList");
}

ZRBSessionMessageLine ZRBSessionMessageCentres::Line(const std::string& text) {
  return {text, CADMsgCatalog::KeyOfText(text)};
}

ZRBSessionMessageCentre ZRBSessionMessageCentres::Read(const CADDlgDialog& window) {
  ZRBSessionMessageCentre centre;
  if (const CADDialog* status = window.FindDescendant("ZRBStatusText")) centre.status = Line(status->GetTitle().str());
  centre.icon = window.FindDescendant("ZRBStatusIcon")    ? "success"
                : window.FindDescendant("ZRBStatusIcon2") ? "failure"
                : window.FindDescendant("ZRBStatusIcon3") ? "variant"
                                                          : "";
  centre.warnings = ListLines(window, "ZRBWarningList");
  centre.informations = ListLines(window, "ZRBInformationList");
  return centre;
}

void ZRBSessionMessageCentres::Observe() {
  std::map<const CADDlgDialog*, std::size_t> open;
  for (CADDlgDialog* window : CADDlgDialog::GetOpenWindows()) {
    if (!IsMessageCentre(*window)) continue;
    auto known = open_.find(window);
    std::size_t index = known != open_.end() ? known->second : centres_.size();
    if (index == centres_.size()) centres_.emplace_back();
    centres_[index] = Read(*window);
    open[window] = index;
  }
  for (const auto& [window, index] : open_)
    if (!open.count(window)) centres_[index].open = false;
  open_ = std::move(open);
}
