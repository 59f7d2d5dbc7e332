#include "ZRBStructureReader.h"

#include "ZRBTrace.h"

int ZRBStructureReader::ReadProductStructure(CADIProduct*, CADIProduct*, ZRBObjectManager&, ZRBObject* node) {
  ZRB_TRACE("ZRBStructureReader::ReadProductStructure");
  return node ? 1 : 0;
}
