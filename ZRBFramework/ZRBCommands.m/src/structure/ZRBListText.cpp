#include "ZRBListText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view CutAtBrace(std::string_view value) {
  const std::size_t brace = value.find('}');
  return brace == std::string_view::npos ? value : value.substr(0, brace);
}

}  // namespace

CADListValCADUnicodeString ZRBListText::Split(std::string_view text) {
  CADListValCADUnicodeString items;
  std::size_t open = text.find('{');
  if (open == std::string_view::npos) {
    if (!Trim(text).empty()) items.Append(CADUnicodeString(Trim(text)));
    return items;
  }
  while (open != std::string_view::npos) {
    const std::size_t close = text.find('}', open + 1);
    if (close == std::string_view::npos) {
      items.Append(CADUnicodeString(Trim(text.substr(open + 1))));
      break;
    }
    items.Append(CADUnicodeString(Trim(text.substr(open + 1, close - open - 1))));
    open = text.find('{', close + 1);
  }
  return items;
}

CADUnicodeString ZRBListText::Item(std::string_view value) {
  std::string item = " {";
  item += CutAtBrace(value);
  item += '}';
  return CADUnicodeString(std::move(item));
}

CADUnicodeString ZRBListText::RoundTrip(std::string_view value) { return CADUnicodeString(Trim(CutAtBrace(value))); }

CADUnicodeString ZRBListText::Join(const CADListValCADUnicodeString& items) {
  std::string text;
  for (const CADUnicodeString& item : items) text += Item(item.view()).str();
  return CADUnicodeString(std::move(text));
}
