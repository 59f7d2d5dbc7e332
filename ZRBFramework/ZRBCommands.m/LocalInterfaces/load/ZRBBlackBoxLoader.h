// Where the read hands a black box the PDM keeps below a product: the layer that knows black boxes installs the
// loader, so the read needs no knowledge of them.
#pragma once

#include "CADIProduct.h"

class ZRBCommandContext;
class ZRBObject;
class ZRBObjectManager;

// User-interface thread only.
class ZRBBlackBoxLoader {
 public:
  // Loads the roots of `box` (an object of `answer`) below `father`; 1 when everything was loaded and written.
  using Loader = int (*)(ZRBCommandContext& command, const CADIProduct_var& father, ZRBObjectManager& answer,
                         const ZRBObject* box);
  static void Install(Loader loader);
  // 0 (traced) when no loader is installed.
  static int Load(ZRBCommandContext& command, const CADIProduct_var& father, ZRBObjectManager& answer,
                  const ZRBObject* box);
};
