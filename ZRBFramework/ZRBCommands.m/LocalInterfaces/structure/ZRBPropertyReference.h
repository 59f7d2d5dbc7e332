// What the PDM told about one product reference (keyed by part number, named
// by a manager-unique Id): its identity, standard attributes kept for
// products the host has not loaded yet, list texts and black-box members.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "ZRBPropertyContainer.h"

class ZRBPropertyReference : public ZRBPropertyContainer {
 public:
  // The text fields, in the order in which they are written.
  enum class Field {
    FullPath,
    PartNumber,
    Nomenclature,
    Revision,
    Definition,
    Description,
    ContainerIdsList,
    ClientIdsList,
    FeatureTypesList,
    FeatureAttrsList,
    FeatureValuesList,
    UserDefDisplaysList,
    UserDefPropertiesList,
    UserDefPropValuesList,
    UserDefPropDelList,
  };
  static constexpr int kFieldCount = 15;
  static constexpr std::array<Field, kFieldCount> AllFields() {
    return {Field::FullPath,
            Field::PartNumber,
            Field::Nomenclature,
            Field::Revision,
            Field::Definition,
            Field::Description,
            Field::ContainerIdsList,
            Field::ClientIdsList,
            Field::FeatureTypesList,
            Field::FeatureAttrsList,
            Field::FeatureValuesList,
            Field::UserDefDisplaysList,
            Field::UserDefPropertiesList,
            Field::UserDefPropValuesList,
            Field::UserDefPropDelList};
  }
  // The element name of a field in the property-manager file ("FullPath" ...).
  static std::string_view FieldName(Field field);
  // The field an element name stands for; false when it names none.
  static bool FieldFromName(std::string_view name, Field& field);

  explicit ZRBPropertyReference(int id = 0) : id_(id) {}
  ZRBPropertyReference(const ZRBPropertyReference&) = default;
  // Assigning over a stored record would change its keys behind the store.
  ZRBPropertyReference& operator=(const ZRBPropertyReference&) = delete;

  // --- key (Id, part number and full path; the setters keep the owning
  // store's index current)
  int GetId() const { return id_; }
  void SetId(int id);
  const CADUnicodeString& GetPartNumber() const { return Get(Field::PartNumber); }
  void SetPartNumber(const CADUnicodeString& partNumber) { Set(Field::PartNumber, partNumber); }
  // An empty part number never matches: such records are reached by Id or
  // through their instance only.
  bool HasPartNumber(const CADUnicodeString& partNumber, std::uint64_t hash) const {
    return !partNumber.IsEmpty() && hash == partNumberHash_ && Get(Field::PartNumber) == partNumber;
  }
  std::uint64_t GetPartNumberHash() const { return partNumberHash_; }

  // --- text fields
  const CADUnicodeString& Get(Field field) const { return fields_[Index(field)]; }
  void Set(Field field, const CADUnicodeString& value);
  const CADUnicodeString& GetFullPath() const { return Get(Field::FullPath); }
  void SetFullPath(const CADUnicodeString& path) { Set(Field::FullPath, path); }

  // --- state
  // True once the stored values were applied to the loaded product.
  bool IsPropertySetFlag() const { return propertySet_; }
  void SetPropertySetFlag(bool set) { propertySet_ = set; }
  // Removal mark of the integrity check: records still marked after a walk
  // of the session are dropped.
  bool IsMarkedForRemoval() const { return removeMark_; }
  void SetRemovalMark(bool mark) { removeMark_ = mark; }

  // --- black boxes (lists of full paths)
  CADListValCADUnicodeString& BlackBoxRoots() { return blackBoxRoots_; }
  const CADListValCADUnicodeString& BlackBoxRoots() const { return blackBoxRoots_; }
  // Any change goes through the non-const list, so a session that never touched one has no black-box item
  // anywhere and the "any parent" test need not visit every reference.
  CADListValCADUnicodeString& BlackBoxItems() {
    itemsEverWritable_ = true;
    return blackBoxItems_;
  }
  const CADListValCADUnicodeString& BlackBoxItems() const { return blackBoxItems_; }
  static bool AnyBlackBoxItemsPossible() { return itemsEverWritable_; }

 private:
  static inline bool itemsEverWritable_ = false;
  static constexpr size_t Index(Field field) { return static_cast<size_t>(field); }

  int id_ = 0;
  bool propertySet_ = false;
  bool removeMark_ = false;
  std::uint64_t partNumberHash_ = HashKey("");
  std::array<CADUnicodeString, kFieldCount> fields_;
  CADListValCADUnicodeString blackBoxRoots_;
  CADListValCADUnicodeString blackBoxItems_;
};
