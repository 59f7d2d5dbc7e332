// The record of the children a product had when it was loaded: ten parallel lists kept as reference properties
// of the product ("ZRB_ORIGLOADCHILD_..."), one item per child in child order, read and bounds-checked here.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

// User-interface thread only (parsed records are kept per reference for the next reader).
class ZRBOrigChildRecord {
 public:
  // The ten lists, in the order of kNames.
  enum Field { Instances, InstIndex, Obids, Classes, Rels, PartNumbers, ProdTypes, DbNames, RelDbNames, InZrb };
  static constexpr int kFieldCount = 10;
  // Property names of the record and of the removed children to be restored (same order).
  static const std::array<const char*, kFieldCount> kNames;
  static const std::array<const char*, kFieldCount> kRestoreNames;
  static constexpr const char* kPrefix = "ZRB_ORIGLOADCHILD_";

  using Items = std::array<CADUnicodeString, kFieldCount>;

  // The record of `product`'s reference. A record whose lists differ in length is unusable (traced once per
  // text): it is reported as empty, so nothing is taken as deleted or added from it.
  static std::shared_ptr<const ZRBOrigChildRecord> Read(const CADIProduct_var& product);
  // Forgets the parsed records (tests).
  static void ResetCache();

  // 1 when nothing (usable) was recorded.
  int IsEmpty() const { return size_ == 0; }
  // 1 when a record exists but its lists differ in length: nothing may be concluded from it.
  int IsUnusable() const { return unusable_ ? 1 : 0; }
  int Size() const { return size_; }
  // Item `i` (1-based) of a list; "" out of range.
  const CADUnicodeString& Get(Field field, int i) const;
  // Indexes (1-based) whose instance name is `instanceName` (in list form, ZRBListText::RoundTrip).
  const std::vector<int>& IndexesOfInstance(const CADUnicodeString& instanceName) const;
  // Number of items of a list equal to `value`.
  int Count(Field field, const CADUnicodeString& value) const;

  // The ten items that record `child` under `parent` now (archive roots take their file's identity; an
  // instance kept as new is recorded as not in the PDM).
  static Items ItemsOf(const CADIProduct_var& parent, const CADIProduct_var& child);

 private:
  std::array<CADListValCADUnicodeString, kFieldCount> lists_;
  int size_ = 0;
  bool unusable_ = false;
  std::unordered_map<std::string, std::vector<int>> byInstance_;
};
