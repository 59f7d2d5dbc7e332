#include "CADAppFeature.h"

#include <algorithm>

namespace {

bool Suits(CADAttrType type, const CADAttrValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return true;
  switch (type) {
    case CADAttrType::Double:
      return std::holds_alternative<double>(value);
    case CADAttrType::Boolean:
      return std::holds_alternative<bool>(value);
    case CADAttrType::Integer:
      return std::holds_alternative<int>(value);
    case CADAttrType::String:
      return std::holds_alternative<CADUnicodeString>(value);
    default:
      return std::holds_alternative<CADUnicodeString>(value);  // opaque kinds keep a text
  }
}

}  // namespace

HRESULT CADAppFeature::AddAttribute(const CADUnicodeString& name, CADAttrType type, bool isList,
                                    std::vector<CADAttrValue> values) {
  if (name.IsEmpty() || FindAttribute(name)) return E_FAIL;
  if (!isList && values.size() != 1) return E_FAIL;
  for (const CADAttrValue& v : values)
    if (!Suits(type, v)) return E_FAIL;
  attributes_.push_back(CADAppAttribute{name, type, isList, std::move(values)});
  return S_OK;
}

const CADAppAttribute* CADAppFeature::FindAttribute(const CADUnicodeString& name) const {
  auto it =
      std::find_if(attributes_.begin(), attributes_.end(), [&](const CADAppAttribute& a) { return a.name == name; });
  return it == attributes_.end() ? nullptr : &*it;
}

HRESULT CADAppFeature::SetValue(const CADUnicodeString& name, std::size_t index, const CADAttrValue& value) {
  auto it =
      std::find_if(attributes_.begin(), attributes_.end(), [&](const CADAppAttribute& a) { return a.name == name; });
  if (it == attributes_.end() || !Suits(it->type, value)) return E_FAIL;
  if (index < it->values.size()) {
    it->values[index] = value;
    return S_OK;
  }
  if (!it->isList || index != it->values.size()) return E_FAIL;
  it->values.push_back(value);
  return S_OK;
}
