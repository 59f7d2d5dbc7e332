#include "ZRBSamReadCmd.h"

#include "CADClassDictionary.h"
#include "ZRBCommandFactory.h"

ZRBSamReadCmd* fctCreateZRBSamReadCmd(int mode) { return new ZRBSamReadCmd(mode); }

namespace {
// Created by name without an argument, the command gets its default mode.
const CADClassDictionary::Registration g_registration("ZRBSamReadCmd",
                                                      ZRBCommandFactory::WithDefaultMode(&fctCreateZRBSamReadCmd, 1));
}  // namespace
