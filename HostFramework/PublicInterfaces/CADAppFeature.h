// A feature that an application keeps in a document's applicative container: its feature type and its
// typed attributes, each a single value or a list. Owned by its document (CADDocument::GetApplicativeFeatures).
#pragma once

#include <memory>
#include <variant>
#include <vector>

#include "CADBaseTypes.h"
#include "CADUnicodeString.h"

enum class CADAttrType { Double, Boolean, String, Integer, Octet, SpecObject, External, Component };

// An attribute value; std::monostate is "undefined" (a Boolean that was never set, an empty slot).
using CADAttrValue = std::variant<std::monostate, double, bool, int, CADUnicodeString>;

struct CADAppAttribute {
  CADUnicodeString name;
  CADAttrType type = CADAttrType::String;
  bool isList = false;
  std::vector<CADAttrValue> values;  // one entry for a single value
};

class CADAppFeature {
 public:
  explicit CADAppFeature(CADUnicodeString specType) : specType_(std::move(specType)) {}

  const CADUnicodeString& GetSpecType() const { return specType_; }

  // Attributes in the order they were added -----------------------------------
  // E_FAIL for an empty or already used name, or a value that does not suit the type.
  HRESULT AddAttribute(const CADUnicodeString& name, CADAttrType type, bool isList, std::vector<CADAttrValue> values);
  // Null when there is no attribute of that name.
  const CADAppAttribute* FindAttribute(const CADUnicodeString& name) const;
  const std::vector<CADAppAttribute>& GetAttributes() const { return attributes_; }
  // Changes element `index` (0-based; a list grows by one when index is its size). E_FAIL for an unknown name,
  // an index past that, or a value that does not suit the type.
  HRESULT SetValue(const CADUnicodeString& name, std::size_t index, const CADAttrValue& value);

 private:
  CADUnicodeString specType_;
  std::vector<CADAppAttribute> attributes_;
};
