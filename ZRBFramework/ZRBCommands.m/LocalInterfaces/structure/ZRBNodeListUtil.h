// Operations on lists of product nodes that the save commands collect.
#pragma once

#include "CADBaseTypes.h"
#include "CADListValCADBaseUnknown.h"

class ZRBNodeListUtil {
 public:
  // Removes every node that lies below another node of the list (one of its
  // fathers is listed); the others keep their order. Nodes are the same
  // when they are the same host object, so a second instance of a reference
  // is a node of its own. E_FAIL for a null list.
  static HRESULT RemoveRedundancies(CADListValCADBaseUnknown_var* nodes);
};
