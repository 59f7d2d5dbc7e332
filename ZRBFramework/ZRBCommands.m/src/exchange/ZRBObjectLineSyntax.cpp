#include "ZRBObjectLineSyntax.h"

ZRBObjectLine ZRBObjectLineSyntax::Parse(std::string_view line) {
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  ZRBObjectLine parsed;
  if (line.empty()) return parsed;
  if (line.front() == '@') {
    parsed.key = line.substr(1);
    parsed.kind = parsed.key.empty() ? ZRBObjectLineKind::HeaderWithoutKey : ZRBObjectLineKind::Header;
    return parsed;
  }
  if (line.front() != '{') return parsed;
  std::size_t close = line.find('}', 1);
  if (close == std::string_view::npos) {
    parsed.kind = ZRBObjectLineKind::SlotNameNotClosed;
  } else if (close == 1) {
    parsed.kind = ZRBObjectLineKind::SlotNameEmpty;
  } else if (close + 1 == line.size()) {
    parsed.kind = ZRBObjectLineKind::SlotWithoutValue;
  } else {
    parsed.kind = ZRBObjectLineKind::Slot;
    parsed.name = line.substr(1, close - 1);
    parsed.value = line.substr(close + 1);
  }
  return parsed;
}

const char* ZRBObjectLineSyntax::Describe(ZRBObjectLineKind kind) {
  switch (kind) {
    case ZRBObjectLineKind::Header:
      return "object header";
    case ZRBObjectLineKind::Slot:
      return "slot line";
    case ZRBObjectLineKind::HeaderWithoutKey:
      return "object header without a key (\"@\" must be followed by the key)";
    case ZRBObjectLineKind::SlotNameNotClosed:
      return "unterminated slot name (\"{\" without a closing \"}\")";
    case ZRBObjectLineKind::SlotNameEmpty:
      return "empty slot name (\"{}\")";
    case ZRBObjectLineKind::SlotWithoutValue:
      return "slot line ends right after \"}\" (write at least one blank after it)";
    case ZRBObjectLineKind::Other:
      break;
  }
  return "neither an object header (\"@KEY\") nor a slot line (\"{NAME} value\")";
}
