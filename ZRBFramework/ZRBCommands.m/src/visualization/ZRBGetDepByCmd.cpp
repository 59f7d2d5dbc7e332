#include "ZRBGetDepByCmd.h"

#include "CADClassDictionary.h"
#include "ZRBObject.h"

ZRBGetDepByCmd* fctCreateZRBGetDepByCmd() { return new ZRBGetDepByCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBGetDepByCmd", &fctCreateZRBGetDepByCmd);
}  // namespace

int ZRBGetDepByCmd::SetTcCommand(ZRBObject* command) {
  return command ? command->SetSlotValue("COMMAND", "REQUEST_QUERY_DEPENDED_BY") : 0;
}
