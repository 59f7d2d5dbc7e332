// Ordered name/value pairs: the body of every property-manager record. Names
// compare exactly; the order is insertion order and is the order of writing.
#pragma once

#include <cstdint>
#include <string_view>

#include "CADListVal.h"
#include "CADUnicodeString.h"

// All records live on the host's user-interface thread; nothing here locks.
class ZRBPropertyContainer {
 public:
  ZRBPropertyContainer() = default;
  virtual ~ZRBPropertyContainer() = default;
  ZRBPropertyContainer(const ZRBPropertyContainer&) = default;
  ZRBPropertyContainer& operator=(const ZRBPropertyContainer&) = default;

  // --- properties
  // Replaces the value of every entry of that name, or appends a new entry.
  void SetProperty(const CADUnicodeString& name, const CADUnicodeString& value);
  // Appends without looking for an existing entry (a file read keeps what it
  // finds, duplicates included).
  void AppendProperty(const CADUnicodeString& name, const CADUnicodeString& value);
  // The first entry's value; "" when the name is absent.
  CADUnicodeString GetProperty(const CADUnicodeString& name) const;
  // Removes every entry of that name; returns how many went.
  int DeleteProperty(const CADUnicodeString& name);
  int IsPropertySet(const CADUnicodeString& name) const;
  void GetAllProperties(CADListValCADUnicodeString& names, CADListValCADUnicodeString& values) const;
  int GetPropertyCount() const { return names_.Size(); }
  const CADListValCADUnicodeString& GetNames() const { return names_; }
  const CADListValCADUnicodeString& GetValues() const { return values_; }
  void RemoveAllProperties();

  // --- quick key comparison
  // Hash of a record's key text; equality is always decided on the full text.
  static std::uint64_t HashKey(std::string_view key);

 private:
  int Find(const CADUnicodeString& name) const;

  CADListValCADUnicodeString names_;
  CADListValCADUnicodeString values_;
};
