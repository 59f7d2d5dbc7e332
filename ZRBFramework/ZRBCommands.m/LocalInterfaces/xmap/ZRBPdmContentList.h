// Builds the list of cached files the PDM is told about ("xmapfiles.zrb"):
// the exchange map's and the released cache's entries merged by sort key,
// one object per file keyed by its OBID.
#pragma once

#include "CADUnicodeString.h"

class ZRBObjectManager;
class ZRBXmapManager;

class ZRBPdmContentList {
 public:
  // Merges the two lists (both sorted by sort key) into objects of `out`.
  // When the released copy of an object's file has another PDM date than the
  // exchange map's, the released file is deleted (and its entry dropped).
  // Returns the number of objects made.
  static int Build(const ZRBXmapManager& xmap, ZRBXmapManager& released, ZRBObjectManager& out);
};
