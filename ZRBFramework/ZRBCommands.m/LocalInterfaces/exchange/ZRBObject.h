// One object of an exchange object file: a key and named slots whose values
// are single texts or lists of texts ({a} {b} {c}).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

#include "CADListVal.h"
#include "CADString.h"
#include "ZRBObjectSlotText.h"

class ZRBObjectLineReader;
class ZRBObjectReadObserver;

class ZRBObject {
 public:
  // Lifecycle
  ZRBObject();
  ~ZRBObject();
  ZRBObject(const ZRBObject&);
  ZRBObject& operator=(const ZRBObject&);

  // Identity: set by the manager (or by Read), compared case-sensitively.
  CADString GetKey() const;

  // Slot values. Names are case-insensitive (stored in upper case); a missing
  // slot reads as "". Setters return 1 when stored whole, 0 when cut, items
  // dropped or the name refused.
  CADString GetSlotValue(const CADString& name) const;
  CADListValCADString GetSlotValueList(const CADString& name) const;
  int SetSlotValue(const CADString& name, const CADString& value);
  int SetSlotValueList(const CADString& name, const CADListValCADString& items);
  int SlotAppend(const CADString& name, const CADString& item);
  // Appends names and stored (still escaped) values in slot order; 0 when
  // the object has no slots.
  int GetAllSlots(CADListValCADString& names, CADListValCADString& values) const;
  int GetSlotCount() const {
    Settle();
    return static_cast<int>(slots_.size());
  }

  // File form
  // Clears the slots and reads one object (header and slot lines); 0 when no
  // header stands at the read position. The line that ends the object is
  // handed back to the file for the next object.
  int Read(std::FILE* file);
  // Writes the header and slot lines (not the empty line after them); 0 on a
  // write error or a key that is empty once CR and LF are removed.
  int Write(std::FILE* file) const;
  // Prints the object to the trace output (only while tracing is on).
  void Dump() const;

 private:
  friend class ZRBObjectManager;
  friend class ZRBObjectStore;

  // Where a slot's upper-case name and stored value stand in text_. All
  // slots of an object share one buffer, which holds each slot as its file
  // line "{NAME} value\n": an answer of 100k objects is read with a handful
  // of allocations per object, and written with one copy per object.
  struct Slot {
    std::uint32_t name;
    std::uint32_t nameLength;
    std::uint32_t value;
    std::uint32_t valueLength;
  };
  // text_ stays addressable by the 32-bit offsets of Slot.
  static constexpr std::size_t kMaxTextBytes = 0xFFFFFFFFu;

  // An object whose slot texts live in `memory` (a manager's arena).
  ZRBObject(CADString key, std::pmr::memory_resource* memory);

  // `previous` (the object read before, or null) sizes the buffers. Without
  // an observer that wants each slot, the slot lines are only recognised and
  // kept as they stand; they are parsed when the object is first used.
  int Read(ZRBObjectLineReader& reader, ZRBObjectReadObserver* observer, const ZRBObject* previous = nullptr);
  // Parses slot lines kept by Read, if any. Every member that looks at the
  // slots calls it first; it changes how the slots are held, not what they
  // are, hence const.
  void Settle() const {
    if (pendingLines_ != 0) const_cast<ZRBObject*>(this)->ParsePending();
  }
  void ParsePending();
  // Stores the kept lines from text_[from] on through StoreSlotLine.
  void StoreLinesFrom(std::size_t from);
  ZRBSlotStore StoreSlot(std::string_view name, std::string_view value, bool mayHoldLineFeeds = true);
  // StoreSlot for the name and value of one slot line ("{NAME} value", so
  // the value follows the name and "}"): one copy of the line's bytes
  // serves both when the value needs no more than stripping. Without CRs
  // in the file, the value need not be searched for one.
  ZRBSlotStore StoreSlotLine(std::string_view name, std::string_view value, bool mayHoldCarriageReturns);
  // The value follows the name as written: "{NAME} value", one blank, nothing to strip or remove.
  static bool AsWritten(std::string_view name, std::string_view value, bool mayHoldCarriageReturns);
  // Takes a slot line just appended to text_: a new slot, or the new line of
  // the slot of that name.
  Slot& Place(const Slot& line);
  // One of 64 bits chosen by an upper-case name, for a quick "certainly new".
  static std::uint64_t NameBit(std::string_view upper);
  // The slot named like the upper-case `upper`, or null.
  Slot* FindUpperSlot(std::string_view upper);
  ZRBSlotStore Refuse(std::string_view name, const char* why);
  ZRBSlotStore StoreList(std::string_view name, const CADListValCADString& items);
  void CopySlotsFrom(const ZRBObject& source);
  // The file lines of the object; false when the key cannot be written.
  bool AppendLines(std::string& out) const;
  const Slot* FindSlot(std::string_view anyCaseName) const;
  std::string_view NameOf(const Slot& slot) const { return std::string_view(text_).substr(slot.name, slot.nameLength); }
  std::string_view ValueOf(const Slot& slot) const {
    return std::string_view(text_).substr(slot.value, slot.valueLength);
  }
  // Drops the space of replaced values once it is most of the buffer.
  void CompactIfWasteful();
  // Rewrites text_ as the slots' lines in slot order.
  void Compact();
  static std::size_t LineBytes(const Slot& slot) { return std::size_t{slot.nameLength} + slot.valueLength + 4; }
  const std::string& KeyText() const { return key_.str(); }
  // GetSlotValue(name) == value, without building the value.
  bool SlotEquals(std::string_view anyCaseName, std::string_view value) const;

  CADString key_;
  std::pmr::vector<Slot> slots_;  // in the order of their first setting
  std::pmr::string text_;         // the slots as file lines "{NAME} value\n"
  std::size_t waste_ = 0;         // bytes of text_ no slot refers to
  bool inOrder_ = true;           // text_ is exactly the slots' lines in slot order
  std::uint64_t nameFilter_ = 0;  // NameBit of every slot name
  // While not 0: text_ holds this many slot lines as read, not yet parsed
  // (slots_ is empty then).
  std::uint32_t pendingLines_ = 0;
  bool pendingMayHoldCr_ = false;  // those lines may hold CRs
};
