// The value of a product's host user parameter by its short name, and its standard attributes, as the transfer
// tests read them back.
#pragma once

#include <string>
#include <vector>

#include "CADAutoProduct.h"
#include "CADIPrdProperties.h"
#include "CADIProduct.h"

// "<absent>" when the reference product has no parameter with that short name.
inline std::string UserValue(const CADIProduct_var& product, const std::string& shortName) {
  CADAutoProduct_var automation(product->GetReferenceProduct().get());
  int count = 0;
  automation->GetUserRefPropertyCount(count);
  for (int i = 1; i <= count; ++i) {
    CADUnicodeString fullName, type, value;
    automation->GetUserRefProperty(i, fullName, type, value);
    if (fullName.str().ends_with("\\" + shortName)) return value.str();
  }
  return "<absent>";
}

// Revision, nomenclature, definition and description of the reference product.
inline std::vector<std::string> ReadStandard(const CADIProduct_var& product) {
  CADVar<CADIPrdProperties> p(product->GetReferenceProduct().get());
  CADUnicodeString r, n, d, e;
  p->GetRevision(r), p->GetNomenclature(n), p->GetDefinition(d), p->GetDescription(e);
  return {r.str(), n.str(), d.str(), e.str()};
}
