#include "CADXMLSAXAttributes.h"

void CADXMLSAXAttributes::Assign(const char** pairs) {
  items_.clear();
  if (!pairs) return;
  for (const char** p = pairs; p[0] && p[1]; p += 2) items_.emplace_back(p[0], p[1]);
}

HRESULT CADXMLSAXAttributes::GetName(int index, CADUnicodeString& name) const {
  if (index < 0 || index >= GetLength()) {
    name = CADUnicodeString();
    return E_INVALIDARG;
  }
  name = CADUnicodeString(items_[static_cast<size_t>(index)].first);
  return S_OK;
}

HRESULT CADXMLSAXAttributes::GetValue(int index, CADUnicodeString& value) const {
  if (index < 0 || index >= GetLength()) {
    value = CADUnicodeString();
    return E_INVALIDARG;
  }
  value = CADUnicodeString(items_[static_cast<size_t>(index)].second);
  return S_OK;
}

HRESULT CADXMLSAXAttributes::GetValue(std::string_view name, CADUnicodeString& value) const {
  for (const auto& [itemName, itemValue] : items_) {
    if (itemName == name) {
      value = CADUnicodeString(itemValue);
      return S_OK;
    }
  }
  value = CADUnicodeString();
  return E_FAIL;
}
