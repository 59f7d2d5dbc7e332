#include "ZRBUpdateCmd.h"

#include "CADClassDictionary.h"
#include "ZRBCommandFactory.h"

ZRBUpdateCmd* fctCreateZRBUpdateCmd(int mode) { return new ZRBUpdateCmd(mode); }

namespace {
// Created by name without an argument, the command gets its default mode.
const CADClassDictionary::Registration g_registration("ZRBUpdateCmd",
                                                      ZRBCommandFactory::WithDefaultMode(&fctCreateZRBUpdateCmd, 1));
}  // namespace
