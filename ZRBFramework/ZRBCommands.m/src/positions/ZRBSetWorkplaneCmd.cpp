#include "ZRBSetWorkplaneCmd.h"

#include "CADClassDictionary.h"

ZRBSetWorkplaneCmd* fctCreateZRBSetWorkplaneCmd(const CADString& parameter) {
  return new ZRBSetWorkplaneCmd(parameter);
}

namespace {
const CADClassDictionary::Registration g_registration("ZRBSetWorkplaneCmd", &fctCreateZRBSetWorkplaneCmd);
}  // namespace
