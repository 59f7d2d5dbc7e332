#include "ZRBObject.h"

#include <cstring>

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
ZRBObject::ZRBObject(CADString key, std::pmr::memory_resource* memory)
    : key_(std::move(key)), slots_(memory), text_(memory) {}
ZRBObject::~ZRBObject() = default;
ZRBObject::ZRBObject(const ZRBObject&) = default;
ZRBObject& ZRBObject::operator=(const ZRBObject&) = default;

CADString ZRBObject::GetKey() const { return key_; }

void ZRBObject::CopySlotsFrom(const ZRBObject& source) {
  slots_ = source.slots_;
  text_ = source.text_;
  waste_ = source.waste_;
  CompactIfWasteful();
}

void ZRBObject::CompactIfWasteful() {
  if (waste_ < 4096 || waste_ * 2 < text_.size()) return;
  std::pmr::string compact(text_.get_allocator());
  compact.reserve(text_.size() - waste_);
  for (Slot& slot : slots_) {
    const auto name = static_cast<std::uint32_t>(compact.size());
    compact.append(NameOf(slot));
    const auto value = static_cast<std::uint32_t>(compact.size());
    compact.append(ValueOf(slot));
    slot.name = name;
    slot.value = value;
  }
  text_.swap(compact);
  waste_ = 0;
}

// ---- slot values -----------------------------------------------------------

const ZRBObject::Slot* ZRBObject::FindSlot(std::string_view anyCaseName) const {
  for (const Slot& slot : slots_)
    if (slot.nameLength == anyCaseName.size() && ZRBObjectSlotText::SameName(NameOf(slot), anyCaseName))
      return &slot;
  return nullptr;
}

CADString ZRBObject::GetSlotValue(const CADString& name) const {
  const Slot* slot = FindSlot(name.view());
  return slot ? CADString(ZRBObjectSlotText::Unescape(ValueOf(*slot))) : CADString();
}

bool ZRBObject::SlotEquals(std::string_view anyCaseName, std::string_view value) const {
  const Slot* slot = FindSlot(anyCaseName);
  if (slot == nullptr) return value.empty();
  const std::string_view stored = ValueOf(*slot);
  if (stored.find('@') == std::string_view::npos) return stored == value;
  return ZRBObjectSlotText::Unescape(stored) == value;
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

ZRBSlotStore ZRBObject::Refuse(std::string_view name, const char* why) {
  ZRB_DEBUG("ZRBObject: Slot name [%s] refused: %s", Printable(name).c_str(), why);
  return ZRBSlotStore::Refused;
}

ZRBObject::Slot* ZRBObject::FindUpperSlot(std::string_view upper) {
  const char* text = text_.data();
  for (Slot& slot : slots_)
    if (slot.nameLength == upper.size() && text[slot.name] == upper.front() &&
        std::memcmp(text + slot.name, upper.data(), upper.size()) == 0)
      return &slot;
  return nullptr;
}

ZRBSlotStore ZRBObject::StoreSlot(std::string_view name, std::string_view value, bool mayHoldLineFeeds) {
  static constexpr const char* kUnwritable = "it must not be empty or hold '{', '}', CR or LF";
  // Whatever the value, at most five times the limit is appended (escapes).
  if (text_.size() + name.size() + 5 * ZRBObjectSlotText::kMaxValueBytes > kMaxTextBytes)
    return Refuse(name, "the object holds too much text");
  // The upper-case name goes to the end of the buffer first; it stays there
  // only for a new slot.
  const std::size_t nameAt = text_.size();
  if (!ZRBObjectSlotText::AppendUpperName(name, text_)) {
    text_.resize(nameAt);
    return Refuse(name, kUnwritable);
  }
  Slot* slot = FindUpperSlot(std::string_view(text_.data() + nameAt, name.size()));
  if (slot == nullptr) {
    slots_.push_back(Slot{static_cast<std::uint32_t>(nameAt), static_cast<std::uint32_t>(name.size()), 0, 0});
    slot = &slots_.back();
  } else {
    text_.resize(nameAt);
    waste_ += slot->valueLength;
  }
  // The new value goes to the end of the buffer; a replaced one is left as
  // waste until there is enough of it to compact.
  const std::size_t valueAt = text_.size();
  ZRBObjectSlotText::Cuts cuts = ZRBObjectSlotText::AppendNormalized(value, text_, mayHoldLineFeeds);
  slot->value = static_cast<std::uint32_t>(valueAt);
  slot->valueLength = static_cast<std::uint32_t>(text_.size() - valueAt);
  if (cuts.beforeEscape) ReportCut(NameOf(*slot), cuts.beforeEscape);
  if (cuts.afterEscape) ReportCut(NameOf(*slot), cuts.afterEscape);
  CompactIfWasteful();
  return cuts.Any() ? ZRBSlotStore::Truncated : ZRBSlotStore::Whole;
}

ZRBSlotStore ZRBObject::StoreSlotLine(std::string_view name, std::string_view value, bool mayHoldCarriageReturns) {
  const std::string_view stripped = ZRBObjectSlotText::StripEnds(value);
  const std::size_t lineBytes = name.size() + 1 + value.size();
  const bool simple = value.data() == name.data() + name.size() + 1 &&
                      stripped.size() <= ZRBObjectSlotText::kMaxValueBytes &&
                      text_.size() + lineBytes <= kMaxTextBytes &&
                      (!mayHoldCarriageReturns || std::memchr(stripped.data(), '\r', stripped.size()) == nullptr);
  if (!simple) return StoreSlot(name, value, false);

  // "NAME} value" in one copy; the name is then upper-cased in place and the
  // value is the stripped part of the rest.
  const std::size_t at = text_.size();
  text_.append(name.data(), lineBytes);
  if (!ZRBObjectSlotText::UpperNameInto(name, text_.data() + at)) {
    text_.resize(at);
    return Refuse(name, "it must not be empty or hold '{', '}', CR or LF");
  }
  const auto valueAt = static_cast<std::uint32_t>(at + static_cast<std::size_t>(stripped.data() - name.data()));
  Slot* slot = FindUpperSlot(std::string_view(text_.data() + at, name.size()));
  if (slot == nullptr) {
    slots_.push_back(Slot{static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(name.size()), valueAt,
                          static_cast<std::uint32_t>(stripped.size())});
    waste_ += lineBytes - name.size() - stripped.size();
    return ZRBSlotStore::Whole;
  }
  waste_ += slot->valueLength + lineBytes - stripped.size();
  slot->value = valueAt;
  slot->valueLength = static_cast<std::uint32_t>(stripped.size());
  CompactIfWasteful();
  return ZRBSlotStore::Whole;
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
  ZRBSlotStore stored = StoreSlot(name, text, false);
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
    names.Append(CADString(NameOf(slot)));
    values.Append(CADString(ValueOf(slot)));
  }
  return slots_.empty() ? 0 : 1;
}

// ---- file form -------------------------------------------------------------

int ZRBObject::Read(ZRBObjectLineReader& reader, ZRBObjectReadObserver* observer, const ZRBObject* previous) {
  slots_.clear();
  text_.clear();
  waste_ = 0;
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
  if (previous != nullptr) {
    // Objects of one file tend to look alike.
    slots_.reserve(previous->slots_.size());
    text_.reserve(previous->text_.size());
  }
  reader.Consume();
  reader.SkipWhitespace();
  while (reader.Peek(line)) {
    parsed = ZRBObjectLineSyntax::Parse(line);
    if (parsed.kind != ZRBObjectLineKind::Slot) break;  // left for the next object
    ZRBSlotStore stored = StoreSlotLine(parsed.name, parsed.value, reader.HasSeenCarriageReturn());
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
  const std::string& key = key_.str();
  std::size_t bytes = key.size() + 2;
  for (const Slot& slot : slots_) bytes += std::size_t{slot.nameLength} + slot.valueLength + 4;
  const std::size_t start = out.size();
  out.resize(start + bytes);
  char* p = out.data() + start;
  *p++ = '@';
  for (char c : key)
    if (c != '\r' && c != '\n') *p++ = c;
  if (p == out.data() + start + 1) {  // "@" alone would end the reading of the whole file
    out.resize(start);
    return false;
  }
  *p++ = '\n';
  const char* text = text_.data();
  for (const Slot& slot : slots_) {
    *p++ = '{';
    std::memcpy(p, text + slot.name, slot.nameLength);
    p += slot.nameLength;
    *p++ = '}';
    *p++ = ' ';
    std::memcpy(p, text + slot.value, slot.valueLength);
    p += slot.valueLength;
    *p++ = '\n';
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
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
    const std::string name(NameOf(slot));
    const std::string_view value = ValueOf(slot);
    if (!value.empty() && value.front() == '{') {
      ZRBTrace::WriteLine(name + "->");
      for (const CADString& item : GetSlotValueList(CADString(name))) ZRBTrace::WriteLine(item.view());
    } else {
      ZRBTrace::WriteLine(name + ":[" + std::string(value) + "]");
    }
  }
}
