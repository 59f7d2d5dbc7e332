// One object of an exchange object file: a key and named slots whose values
// are single texts or lists of texts ({a} {b} {c}).
#pragma once

#include <cstdio>
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
  int GetSlotCount() const { return static_cast<int>(slots_.size()); }

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

  struct Slot {
    std::string name;   // upper case
    std::string value;  // stored form
  };

  explicit ZRBObject(CADString key);

  int Read(ZRBObjectLineReader& reader, ZRBObjectReadObserver* observer);
  ZRBSlotStore StoreSlot(std::string_view name, std::string_view value);
  ZRBSlotStore StoreList(std::string_view name, const CADListValCADString& items);
  // The file lines of the object; false when the key cannot be written.
  bool AppendLines(std::string& out) const;
  const Slot* FindSlot(std::string_view anyCaseName) const;
  Slot* FindSlot(std::string_view anyCaseName);
  const std::string& KeyText() const { return key_.str(); }
  // GetSlotValue(name) == value, without building the value.
  bool SlotEquals(std::string_view anyCaseName, std::string_view value) const;

  CADString key_;
  std::vector<Slot> slots_;  // in the order of their first setting
};
