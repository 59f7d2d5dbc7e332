#include "ZRBPropertyReference.h"

#include "ZRBPropertyRecordIndex.h"

namespace {
constexpr std::array<std::string_view, ZRBPropertyReference::kFieldCount> kFieldNames = {"FullPath",
                                                                                         "PartNumber",
                                                                                         "Nomenclature",
                                                                                         "Revision",
                                                                                         "Definition",
                                                                                         "Description",
                                                                                         "ContainerIdsList",
                                                                                         "ClientIdsList",
                                                                                         "FeatureTypesList",
                                                                                         "FeatureAttrsList",
                                                                                         "FeatureValuesList",
                                                                                         "UserDefDisplaysList",
                                                                                         "UserDefPropertiesList",
                                                                                         "UserDefPropValuesList",
                                                                                         "UserDefPropDelList"};
}  // namespace

std::string_view ZRBPropertyReference::FieldName(Field field) { return kFieldNames[Index(field)]; }

bool ZRBPropertyReference::FieldFromName(std::string_view name, Field& field) {
  for (Field candidate : AllFields()) {
    if (FieldName(candidate) == name) {
      field = candidate;
      return true;
    }
  }
  return false;
}

void ZRBPropertyReference::SetId(int id) {
  ZRBPropertyRecordIndex::KeyChange change(*this, StoreIndex());
  id_ = id;
}

void ZRBPropertyReference::Set(Field field, const CADUnicodeString& value) {
  if (field != Field::PartNumber && field != Field::FullPath) {
    fields_[Index(field)] = value;
    return;
  }
  ZRBPropertyRecordIndex::KeyChange change(*this, StoreIndex());
  fields_[Index(field)] = value;
  if (field == Field::PartNumber) partNumberHash_ = HashKey(value.view());
}
