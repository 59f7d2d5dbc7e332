// What an update must never leave behind: its private path-to-root properties, anywhere below a node.
#pragma once

#include "CADIProduct.h"
#include "ZRBPropertyManager.h"

inline int PrivateUpdatePropertiesLeft(const CADIProduct_var& node) {
  CADListValCADUnicodeString names, values;
  GlobPropertyManager.GetAllPathToRootProperties(node, names, values);
  int left = 0;
  for (int i = 1; i <= names.Size(); ++i)
    if (!values[i].IsEmpty() &&
        (names[i].StartsWith("ZRB_PRIVATE_") || names[i] == "ZRB_SAVE" || names[i].StartsWith("ZRB_UPDATE_NEW_")))
      ++left;
  for (const CADBaseUnknown_var& item : node->GetChildren()) left += PrivateUpdatePropertiesLeft(CADIProduct_var(item));
  return left;
}
