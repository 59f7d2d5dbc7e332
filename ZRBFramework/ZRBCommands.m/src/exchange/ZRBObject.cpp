#include "ZRBObject.h"

#include "ZRBObjectLineReader.h"
#include "ZRBObjectLineSyntax.h"
#include "ZRBObjectReadObserver.h"
#include "ZRBTrace.h"

namespace {
// A name fit for a single trace line (a refused name may hold CR or LF).
std::string Printable(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

void ReportCut(std::string_view upperName, std::size_t dropped) {
  ZRB_DEBUG("ZRBObject: Slot:%s truncated %zu Byte", std::string(upperName).c_str(), dropped);
}

// Ends of a list item to be appended: blanks on both sides, CRs at the end.
std::string_view TrimItem(std::string_view item) {
  while (!item.empty() && ZRBObjectSlotText::IsBlank(item.front())) item.remove_prefix(1);
  while (!item.empty() && (ZRBObjectSlotText::IsBlank(item.back()) || item.back() == '\r')) item.remove_suffix(1);
  return item;
}
}  // namespace

// ---- lifecycle -------------------------------------------------------------

ZRBObject::ZRBObject() = default;
ZRBObject::ZRBObject(CADString key) : key_(std::move(key)) {}
ZRBObject::~ZRBObject() = default;
ZRBObject::ZRBObject(const ZRBObject&) = default;
ZRBObject& ZRBObject::operator=(const ZRBObject&) = default;

CADString ZRBObject::GetKey() const { return key_; }

// ---- slot values -----------------------------------------------------------

const ZRBObject::Slot* ZRBObject::FindSlot(std::string_view anyCaseName) const {
  for (const Slot& slot : slots_)
    if (ZRBObjectSlotText::SameName(slot.name, anyCaseName)) return &slot;
  return nullptr;
}

ZRBObject::Slot* ZRBObject::FindSlot(std::string_view anyCaseName) {
  return const_cast<Slot*>(static_cast<const ZRBObject*>(this)->FindSlot(anyCaseName));
}

CADString ZRBObject::GetSlotValue(const CADString& name) const {
  const Slot* slot = FindSlot(name.view());
  return slot ? CADString(ZRBObjectSlotText::Unescape(slot->value)) : CADString();
}

bool ZRBObject::SlotEquals(std::string_view anyCaseName, std::string_view value) const {
  const Slot* slot = FindSlot(anyCaseName);
  if (slot == nullptr) return value.empty();
  if (slot->value.find('@') == std::string::npos) return slot->value == value;
  return ZRBObjectSlotText::Unescape(slot->value) == value;
}

CADListValCADString ZRBObject::GetSlotValueList(const CADString& name) const {
  CADListValCADString items;
  const std::string text = GetSlotValue(name).str();
  std::size_t open = text.find('{');
  while (open != std::string::npos) {
    std::size_t close = text.find('}', open + 1);
    if (close == std::string::npos) {
      items.Append(CADString(text.substr(open + 1)));
      break;
    }
    items.Append(CADString(text.substr(open + 1, close - open - 1)));
    open = text.find('{', close + 1);
  }
  if (items.IsEmpty() && !text.empty()) items.Append(CADString(text));  // a plain value is a list of one
  return items;
}

ZRBSlotStore ZRBObject::StoreSlot(std::string_view name, std::string_view value) {
  if (!ZRBObjectSlotText::IsWritableName(name)) {
    ZRB_DEBUG("ZRBObject: Slot name [%s] refused: it must not be empty or hold '{', '}', CR or LF",
              Printable(name).c_str());
    return ZRBSlotStore::Refused;
  }
  Slot* slot = FindSlot(name);
  if (slot == nullptr) {
    slots_.push_back(Slot{ZRBObjectSlotText::UpperName(name), std::string()});
    slot = &slots_.back();
  }
  ZRBObjectSlotText::Cuts cuts = ZRBObjectSlotText::NormalizeValue(value, slot->value);
  if (!cuts.Any()) return ZRBSlotStore::Whole;
  if (cuts.beforeEscape) ReportCut(slot->name, cuts.beforeEscape);
  if (cuts.afterEscape) ReportCut(slot->name, cuts.afterEscape);
  return ZRBSlotStore::Truncated;
}

ZRBSlotStore ZRBObject::StoreList(std::string_view name, const CADListValCADString& items) {
  if (!ZRBObjectSlotText::IsWritableName(name)) return StoreSlot(name, {});
  std::string text;
  bool dropped = false;
  for (const CADString& item : items) {
    std::string escaped = ZRBObjectSlotText::EscapeItem(item.view());
    // Whole items or none: "{item}" must fit behind what is already there.
    if (text.size() + escaped.size() + 2 > ZRBObjectSlotText::kMaxValueBytes) {
      ZRB_DEBUG("ZRBObject: Slot:%s truncated:%s", ZRBObjectSlotText::UpperName(name).c_str(), item.c_str());
      dropped = true;
      break;
    }
    text += '{';
    text += escaped;
    text += "} ";
  }
  if (!text.empty()) text.pop_back();  // the blank after the last item
  ZRBSlotStore stored = StoreSlot(name, text);
  return dropped && stored == ZRBSlotStore::Whole ? ZRBSlotStore::Truncated : stored;
}

int ZRBObject::SetSlotValue(const CADString& name, const CADString& value) {
  return StoreSlot(name.view(), value.view()) == ZRBSlotStore::Whole ? 1 : 0;
}

int ZRBObject::SetSlotValueList(const CADString& name, const CADListValCADString& items) {
  return StoreList(name.view(), items) == ZRBSlotStore::Whole ? 1 : 0;
}

int ZRBObject::SlotAppend(const CADString& name, const CADString& item) {
  CADListValCADString items = GetSlotValueList(name);
  items.Append(CADString(TrimItem(item.view())));
  return SetSlotValueList(name, items);
}

int ZRBObject::GetAllSlots(CADListValCADString& names, CADListValCADString& values) const {
  for (const Slot& slot : slots_) {
    names.Append(CADString(slot.name));
    values.Append(CADString(slot.value));
  }
  return slots_.empty() ? 0 : 1;
}

// ---- file form -------------------------------------------------------------

int ZRBObject::Read(ZRBObjectLineReader& reader, ZRBObjectReadObserver* observer) {
  slots_.clear();
  std::string_view line;
  const bool haveLine = reader.Peek(line);
  ZRBObjectLine parsed = haveLine ? ZRBObjectLineSyntax::Parse(line) : ZRBObjectLine{};
  if (parsed.kind != ZRBObjectLineKind::Header) {
    if (haveLine && observer) observer->OnStop(reader.LineNumber(), line);
    ZRB_DEBUG("ZRBObject: ID not found in file");
    return 0;
  }
  key_ = CADString(parsed.key);
  if (observer) observer->OnObject(reader.LineNumber(), parsed.key);
  reader.Consume();
  reader.SkipWhitespace();
  while (reader.Peek(line)) {
    parsed = ZRBObjectLineSyntax::Parse(line);
    if (parsed.kind != ZRBObjectLineKind::Slot) break;  // left for the next object
    ZRBSlotStore stored = StoreSlot(parsed.name, parsed.value);
    if (observer) observer->OnSlot(reader.LineNumber(), parsed.name, parsed.value, stored);
    reader.Consume();
    reader.SkipWhitespace();
  }
  return 1;
}

int ZRBObject::Read(std::FILE* file) {
  ZRB_TRACE("ZRBObject::Read");
  if (file == nullptr) return 0;
  // A small look-ahead: whatever is read beyond this object goes back.
  ZRBObjectLineReader reader(file, 4096);
  int found = Read(reader, nullptr);
  if (std::size_t ahead = reader.Unconsumed(); ahead > 0) {
    if (std::fseek(file, -static_cast<long>(ahead), SEEK_CUR) != 0)
      ZRB_DEBUG("ZRBObject: cannot hand back %zu bytes read ahead (stream not seekable)", ahead);
  }
  if (found) ZRB_TRACE_OK();
  return found;
}

bool ZRBObject::AppendLines(std::string& out) const {
  const std::size_t start = out.size();
  out += '@';
  for (char c : key_.view())
    if (c != '\r' && c != '\n') out += c;
  if (out.size() == start + 1) {  // "@" alone would end the reading of the whole file
    out.resize(start);
    return false;
  }
  out += '\n';
  for (const Slot& slot : slots_) {
    out += '{';
    out += slot.name;
    out += "} ";
    out += slot.value;
    out += '\n';
  }
  return true;
}

int ZRBObject::Write(std::FILE* file) const {
  ZRB_TRACE("ZRBObject::Write");
  std::string lines;
  if (!AppendLines(lines)) {
    ZRB_DEBUG("ZRBObject: key [%s] cannot be written: it is empty without CR and LF", Printable(key_.view()).c_str());
    return 0;
  }
  if (file == nullptr || std::fwrite(lines.data(), 1, lines.size(), file) != lines.size()) return 0;
  ZRB_TRACE_OK();
  return 1;
}

void ZRBObject::Dump() const {
  if (!ZRBTrace::IsOn()) return;
  ZRBTrace::WriteLine("ZRBObject:");
  ZRBTrace::WriteLine("ID:[" + key_.str() + "]");
  for (const Slot& slot : slots_) {
    if (!slot.value.empty() && slot.value.front() == '{') {
      ZRBTrace::WriteLine(slot.name + "->");
      for (const CADString& item : GetSlotValueList(CADString(slot.name))) ZRBTrace::WriteLine(item.view());
    } else {
      ZRBTrace::WriteLine(slot.name + ":[" + slot.value + "]");
    }
  }
}
