// The value of a product's host user parameter by its short name, as the transfer tests read it back.
#pragma once

#include <string>

#include "CADAutoProduct.h"
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
