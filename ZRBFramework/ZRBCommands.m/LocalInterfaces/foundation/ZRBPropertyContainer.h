// Ordered name/value pairs: the body of every property-manager record. Names
// compare exactly; the order is insertion order and is the order of writing.
#pragma once

#include <cstdint>
#include <string_view>

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBPropertyRecordIndex;

// All records live on the host's user-interface thread; nothing here locks.
class ZRBPropertyContainer {
 public:
  ZRBPropertyContainer() = default;
  virtual ~ZRBPropertyContainer() = default;
  // A copy belongs to no store; assignment keeps the target's membership.
  ZRBPropertyContainer(const ZRBPropertyContainer& other) : names_(other.names_), values_(other.values_) { Touch(); }
  ZRBPropertyContainer& operator=(const ZRBPropertyContainer& other) {
    names_ = other.names_;
    values_ = other.values_;
    Touch();
    return *this;
  }

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

  // Changes with every change of the properties, and is never given to two states of any containers: what is
  // derived from the properties can be kept as long as the record and its revision are the same. 0 for a
  // container never written to.
  std::uint64_t Revision() const { return revision_; }
  // Whether a property of that name was ever written to any container since it was watched: lets a test that
  // is false for nearly every product skip the lookup. Watch before the first write.
  static void WatchName(std::string_view name);
  static bool WasEverSet(std::string_view name);

 protected:
  // --- store membership
  // The index a key setter must tell of the change while the record is
  // stored (nullptr before Add and for records of no store).
  ZRBPropertyRecordIndex* StoreIndex() const { return storeIndex_; }

 private:
  friend class ZRBPropertyRecordIndex;

  int Find(const CADUnicodeString& name) const;
  void Touch() { revision_ = ++lastRevision_; }

  static inline std::uint64_t lastRevision_ = 0;
  std::uint64_t revision_ = 0;

  // Written only by the owning store's index: the record's rank in store
  // order (never reused).
  ZRBPropertyRecordIndex* storeIndex_ = nullptr;
  std::uint64_t storeOrder_ = 0;

  CADListValCADUnicodeString names_;
  CADListValCADUnicodeString values_;
};
