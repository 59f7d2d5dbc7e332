#include <map>
#include <vector>

#include "CADApplicationFrame.h"
#include "CADDlgNotify.h"
#include "CADMsgCatalog.h"
#include "CADRscCatalog.h"
#include "ZRBAfxBase.h"
#include "ZRBFileUtil.h"
#include "ZRBGlobalProperties.h"
#include "ZRBMessageDialog.h"
#include "ZRBSamMessageDialog.h"
#include "ZRBTrace.h"

namespace {

// One process-wide flag; user-interface thread only.
int g_showMessage = 0;

constexpr std::string_view kCategoryMarker = "####";

CADString MessagePrefix() {
  return ZRBGlobalProperties::Process().GetGlobalProperty("ZRB_MESSAGE_PREFIX").ConvertToString();
}

CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}

}  // namespace

CADUnicodeString ZRBAfxBase::BuildMessage(CADString catalog, CADString key, CADUnicodeString* parameters, int count,
                                      CADUnicodeString defaultText) {
  CADString prefix = MessagePrefix();
  if (prefix.IsEmpty()) return CADMsgCatalog::BuildMessage(catalog, key, parameters, count, defaultText);
  if (defaultText.IsEmpty()) defaultText = CADMsgCatalog::BuildMessage(catalog, key, parameters, count);
  return CADMsgCatalog::BuildMessage(prefix + catalog, prefix + key, parameters, count, defaultText);
}

CADUnicodeString ZRBAfxBase::BuildResource(const CADString& catalog, const CADString& key, CADString* parameters, int count,
                                       const CADString& defaultText) {
  CADString prefix = MessagePrefix();
  CADUnicodeString text(defaultText);
  if (!prefix.IsEmpty() && defaultText.IsEmpty()) CADRscCatalog::BuildResource(catalog, key, text, parameters, count);
  const CADString lookCatalog = prefix.IsEmpty() ? catalog : prefix + catalog;
  const CADString lookKey = prefix.IsEmpty() ? key : prefix + key;
  CADRscCatalog::BuildResource(lookCatalog, lookKey, text, parameters, count);  // leaves `text` when missing
  return text;
}

int ZRBAfxBase::MsgBox(const CADUnicodeString& text, unsigned long style, CADUnicodeString title) {
  SetCadWindowTop();
  CADString prefix = MessagePrefix();
  if (!prefix.IsEmpty()) title = CADUnicodeString(prefix);
  if (title.IsEmpty()) title = "ZRB";
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine("MessageBox: [" + title.str() + "]" + text.str());
  auto* box = new CADDlgNotify(MainWindow(), "ZRBMsgBoxId", style);
  int answer = box->DisplayBlocked(text, title);
  box->RequestDelayedDestruction();
  return answer;
}

ZRBMessageDialog* ZRBAfxBase::ZRBGenMessageDialog() {
  if (MessagePrefix() == "SAM") return new ZRBSamMessageDialog(MainWindow());
  return new ZRBMessageDialog(MainWindow());
}

void ZRBAfxBase::SetShowMsg(int show) { g_showMessage = show; }

int ZRBAfxBase::MustShowMsg() { return g_showMessage; }

void ZRBAfxBase::AddMessageCategoryToList(CADListValCADUnicodeString& list, const CADUnicodeString& category,
                                      const CADUnicodeString& text) {
  list.Append(CADUnicodeString(kCategoryMarker) + category + CADUnicodeString(kCategoryMarker) + text);
}

void ZRBAfxBase::BuildDisplayList(const CADListValCADUnicodeString& entries, CADListValCADUnicodeString& display) {
  // Categories in order of first appearance, each with its texts in order of arrival. Keeping the groups apart
  // from the texts means a text that equals a category name or the marker cannot be mistaken for either.
  std::vector<CADUnicodeString> order;
  std::map<CADUnicodeString, std::vector<CADUnicodeString>> groups;
  for (const CADUnicodeString& entry : entries) {
    if (!entry.StartsWith(kCategoryMarker)) {
      display.Append(entry);
      continue;
    }
    int close = entry.Find(kCategoryMarker, static_cast<int>(kCategoryMarker.size()));
    if (close < 0) continue;  // no closing marker: not a well-formed entry
    CADUnicodeString category =
        entry.SubString(static_cast<int>(kCategoryMarker.size()), close - static_cast<int>(kCategoryMarker.size()));
    CADUnicodeString text = entry.SubString(close + static_cast<int>(kCategoryMarker.size()));
    auto [it, inserted] = groups.try_emplace(category);
    if (inserted) order.push_back(category);
    it->second.push_back(text);
  }
  for (const CADUnicodeString& category : order) {
    if (!display.IsEmpty()) display.Append(" ");
    display.Append(BuildMessage("ZRBListMessages", category.ConvertToString()));
    for (const CADUnicodeString& text : groups[category]) display.Append(text);
  }
}

CADUnicodeString ZRBAfxBase::GetMessageDisplayFromPath(const CADUnicodeString& path) {
  CADUnicodeString xmap;
  GetXMapWithEndingSlash(xmap);
  int equal = 0;
  CompareFullPath(path, xmap + ZRBFileUtil::GetFileNameFromPath(path), equal);
  return equal ? CADUnicodeString() : path;
}
