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
  source.Settle();
  slots_ = source.slots_;
  text_ = source.text_;
  waste_ = source.waste_;
  inOrder_ = source.inOrder_;
  nameFilter_ = source.nameFilter_;
  CompactIfWasteful();
}

void ZRBObject::CompactIfWasteful() {
  if (waste_ >= 4096 && waste_ * 2 >= text_.size()) Compact();
}

void ZRBObject::Compact() {
  std::pmr::string compact(text_.get_allocator());
  compact.reserve(text_.size() - waste_);
  for (Slot& slot : slots_) {
    compact += '{';
    const auto name = static_cast<std::uint32_t>(compact.size());
    compact.append(NameOf(slot));
    compact += "} ";
    const auto value = static_cast<std::uint32_t>(compact.size());
    compact.append(ValueOf(slot));
    compact += '\n';
    slot.name = name;
    slot.value = value;
  }
  text_.swap(compact);
  waste_ = 0;
  inOrder_ = true;
}

// ---- slot values -----------------------------------------------------------

const ZRBObject::Slot* ZRBObject::FindSlot(std::string_view anyCaseName) const {
  Settle();
  for (const Slot& slot : slots_)
    if (slot.nameLength == anyCaseName.size() && ZRBObjectSlotText::SameName(NameOf(slot), anyCaseName)) return &slot;
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
  Settle();
  // Whatever the value, at most five times the limit is appended (escapes).
  if (text_.size() + name.size() + 5 * ZRBObjectSlotText::kMaxValueBytes + 4 > kMaxTextBytes)
    return Refuse(name, "the object holds too much text");
  // The slot's line goes to the end of the buffer; a line it replaces is
  // left as waste until there is enough of it to compact.
  const std::size_t lineAt = text_.size();
  text_ += '{';
  const std::size_t nameAt = text_.size();
  if (!ZRBObjectSlotText::AppendUpperName(name, text_)) {
    text_.resize(lineAt);
    return Refuse(name, "it must not be empty or hold '{', '}', CR or LF");
  }
  text_ += "} ";
  const std::size_t valueAt = text_.size();
  ZRBObjectSlotText::Cuts cuts = ZRBObjectSlotText::AppendNormalized(value, text_, mayHoldLineFeeds);
  const std::size_t valueLength = text_.size() - valueAt;
  text_ += '\n';
  const Slot stored{static_cast<std::uint32_t>(nameAt), static_cast<std::uint32_t>(name.size()),
                    static_cast<std::uint32_t>(valueAt), static_cast<std::uint32_t>(valueLength)};
  Slot& slot = Place(stored);
  if (cuts.beforeEscape) ReportCut(NameOf(slot), cuts.beforeEscape);
  if (cuts.afterEscape) ReportCut(NameOf(slot), cuts.afterEscape);
  CompactIfWasteful();
  return cuts.Any() ? ZRBSlotStore::Truncated : ZRBSlotStore::Whole;
}

std::uint64_t ZRBObject::NameBit(std::string_view upper) {
  const auto first = static_cast<unsigned char>(upper.front());
  const auto last = static_cast<unsigned char>(upper.back());
  return std::uint64_t{1} << ((upper.size() * 7 + first * 3 + last) & 63u);
}

ZRBObject::Slot& ZRBObject::Place(const Slot& line) {
  // Most slots are new: the name filter says so without comparing names.
  const std::uint64_t bit = NameBit(NameOf(line));
  Slot* existing = (nameFilter_ & bit) ? FindUpperSlot(NameOf(line)) : nullptr;
  nameFilter_ |= bit;
  if (existing == nullptr) {
    slots_.push_back(line);
    return slots_.back();
  }
  waste_ += LineBytes(*existing);
  inOrder_ = false;
  *existing = line;
  return *existing;
}

bool ZRBObject::AsWritten(std::string_view name, std::string_view value, bool mayHoldCarriageReturns) {
  return value.data() == name.data() + name.size() + 1 && !value.empty() && value.front() == ' ' &&
         (value.size() == 1 || !ZRBObjectSlotText::IsBlank(value[1])) && !ZRBObjectSlotText::IsBlank(value.back()) &&
         value.back() != '\r' && value.size() - 1 <= ZRBObjectSlotText::kMaxValueBytes &&
         (!mayHoldCarriageReturns || std::memchr(value.data(), '\r', value.size()) == nullptr);
}

ZRBSlotStore ZRBObject::StoreSlotLine(std::string_view name, std::string_view value, bool mayHoldCarriageReturns) {
  Settle();
  // A line as the module writes it ("{NAME} value", one blank, nothing to
  // strip or remove) is copied as it stands; anything else is rebuilt.
  const bool asWritten =
      AsWritten(name, value, mayHoldCarriageReturns) && text_.size() + name.size() + value.size() + 3 <= kMaxTextBytes;
  if (!asWritten) return StoreSlot(name, value, false);

  const std::size_t lineAt = text_.size();
  text_.append(name.data() - 1, name.size() + value.size() + 2);  // "{NAME} value"
  text_ += '\n';
  if (!ZRBObjectSlotText::UpperNameInto(name, text_.data() + lineAt + 1)) {
    text_.resize(lineAt);
    return Refuse(name, "it must not be empty or hold '{', '}', CR or LF");
  }
  const Slot line{static_cast<std::uint32_t>(lineAt + 1), static_cast<std::uint32_t>(name.size()),
                  static_cast<std::uint32_t>(lineAt + name.size() + 3), static_cast<std::uint32_t>(value.size() - 1)};
  Place(line);
  CompactIfWasteful();
  return ZRBSlotStore::Whole;
}

ZRBSlotStore ZRBObject::StoreList(std::string_view name, const CADListValCADString& items) {
  if (!ZRBObjectSlotText::IsWritableName(name)) return StoreSlot(name, {});
  std::string text;
  bool dropped = false;
  for (const CADString& item : items) {
    std::string_view whole = item.view();
    // The list form has no escape for a closing brace: it would end the item early and let the rest of it read
    // as items of their own ("a} {b" became two). The item keeps its text up to the brace, which is what a
    // reader sees of it anyway, and the list keeps its length for the lists that run parallel to it.
    if (std::size_t brace = whole.find('}'); brace != std::string_view::npos) {
      ZRB_DEBUG("ZRBObject: Slot:%s item cut at its closing brace:%s", ZRBObjectSlotText::UpperName(name).c_str(),
                item.c_str());
      whole = whole.substr(0, brace);
      dropped = true;
    }
    std::string escaped = ZRBObjectSlotText::EscapeItem(whole);
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
  Settle();
  for (const Slot& slot : slots_) {
    names.Append(CADString(NameOf(slot)));
    values.Append(CADString(ValueOf(slot)));
  }
  return slots_.empty() ? 0 : 1;
}

// ---- file form -------------------------------------------------------------

void ZRBObject::ParsePending() {
  const std::uint32_t lines = pendingLines_;
  pendingLines_ = 0;
  slots_.clear();
  slots_.reserve(lines);
  waste_ = 0;
  inOrder_ = true;
  nameFilter_ = 0;
  // Lines as the module writes them become slots where they stand: only the
  // name is upper-cased in place. The first other line and all after it are
  // stored one by one, as a read that parses at once would store them.
  std::size_t at = 0;
  while (at < text_.size()) {
    const std::size_t lineFeed = text_.find('\n', at);
    const std::string_view line(text_.data() + at, lineFeed - at);
    const ZRBObjectLine parsed = ZRBObjectLineSyntax::Parse(line);
    const std::string_view name = parsed.name;
    const std::string_view value = parsed.value;
    if (parsed.kind != ZRBObjectLineKind::Slot || value.data() + value.size() != line.data() + line.size() ||
        !AsWritten(name, value, pendingMayHoldCr_) || !ZRBObjectSlotText::IsWritableName(name)) {
      StoreLinesFrom(at);
      break;
    }
    ZRBObjectSlotText::UpperNameInto(name, text_.data() + at + 1);
    Place(Slot{static_cast<std::uint32_t>(at + 1), static_cast<std::uint32_t>(name.size()),
               static_cast<std::uint32_t>(at + name.size() + 3), static_cast<std::uint32_t>(value.size() - 1)});
    at = lineFeed + 1;
  }
  CompactIfWasteful();
}

void ZRBObject::StoreLinesFrom(std::size_t from) {
  const std::string rest(std::string_view(text_).substr(from));
  text_.resize(from);
  for (std::size_t at = 0; at < rest.size();) {
    std::size_t lineFeed = rest.find('\n', at);
    if (lineFeed == std::string::npos) lineFeed = rest.size();
    const ZRBObjectLine parsed = ZRBObjectLineSyntax::Parse(std::string_view(rest).substr(at, lineFeed - at));
    if (parsed.kind == ZRBObjectLineKind::Slot) StoreSlotLine(parsed.name, parsed.value, pendingMayHoldCr_);
    at = lineFeed + 1;
  }
}

int ZRBObject::Read(ZRBObjectLineReader& reader, ZRBObjectReadObserver* observer, const ZRBObject* previous) {
  slots_.clear();
  text_.clear();
  waste_ = 0;
  inOrder_ = true;
  nameFilter_ = 0;
  pendingLines_ = 0;
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
  // Most answers are read whole and only some of their objects looked at:
  // the slot lines are kept as they stand and parsed on first use.
  bool keepLines = observer == nullptr || !observer->WantsSlots();
  // Objects of one file tend to look alike (kept lines come in one piece
  // and size the buffer themselves).
  if (previous != nullptr && !keepLines) text_.reserve(previous->text_.size());
  reader.Consume();
  reader.SkipWhitespace();
  const auto isSlotLine = [](std::string_view slotLine) { return ZRBObjectLineSyntax::IsSlotLine(slotLine); };
  for (;;) {
    if (keepLines) {
      // Kept lines that follow each other directly are copied in one piece.
      pendingLines_ += static_cast<std::uint32_t>(reader.ConsumeRun(isSlotLine, kMaxTextBytes / 4 - text_.size()));
      const std::string_view run = reader.Run();
      text_.append(run);
      // The file's last line may lack its line feed (asked of the run, not
      // of text_, whose end is still being written).
      if (!run.empty() && run.back() != '\n') text_ += '\n';
      reader.EndRun();
      reader.SkipWhitespace();
      if (!reader.Peek(line)) break;
      // Blanks between slot lines end a run, not the keeping.
      if (isSlotLine(line) && text_.size() + line.size() < kMaxTextBytes / 4) continue;
    } else if (!reader.Peek(line)) {
      break;
    }
    parsed = ZRBObjectLineSyntax::Parse(line);
    if (parsed.kind != ZRBObjectLineKind::Slot) break;  // left for the next object
    // Parsed at once: an observer wants each slot, or the object holds far
    // too much text to keep (the limits then apply as they would have).
    keepLines = false;
    pendingMayHoldCr_ = reader.HasSeenCarriageReturn();
    ZRBSlotStore stored = StoreSlotLine(parsed.name, parsed.value, reader.HasSeenCarriageReturn());
    if (observer) observer->OnSlot(reader.LineNumber(), parsed.name, parsed.value, stored);
    reader.Consume();
    reader.SkipWhitespace();
  }
  pendingMayHoldCr_ = reader.HasSeenCarriageReturn();
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
  Settle();
  const std::string& key = key_.str();
  const std::size_t start = out.size();
  out += '@';
  if (key.find_first_of("\r\n") == std::string::npos) {
    out += key;
  } else {
    for (char c : key)
      if (c != '\r' && c != '\n') out += c;
  }
  if (out.size() == start + 1) {  // "@" alone would end the reading of the whole file
    out.resize(start);
    return false;
  }
  out += '\n';
  if (inOrder_) {
    out.append(text_);  // already the slot lines, in order
    return true;
  }
  for (const Slot& slot : slots_) {
    out += '{';
    out.append(NameOf(slot));
    out += "} ";
    out.append(ValueOf(slot));
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
  Settle();
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
