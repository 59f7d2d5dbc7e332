#include "ZRBReadCmd.h"

#include "CADClassDictionary.h"
#include "ZRBCommandFactory.h"

ZRBReadCmd* fctCreateZRBReadCmd(int mode) { return new ZRBReadCmd(mode); }

namespace {
// Created by name without an argument, the command gets its default mode.
const CADClassDictionary::Registration g_registration("ZRBReadCmd",
                                                      ZRBCommandFactory::WithDefaultMode(&fctCreateZRBReadCmd, 1));
}  // namespace
