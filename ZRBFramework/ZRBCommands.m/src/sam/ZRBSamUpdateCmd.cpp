#include "ZRBSamUpdateCmd.h"

#include "CADClassDictionary.h"
#include "ZRBCommandFactory.h"

ZRBSamUpdateCmd* fctCreateZRBSamUpdateCmd(int mode) { return new ZRBSamUpdateCmd(mode); }

namespace {
// Created by name without an argument, the command gets its default mode.
const CADClassDictionary::Registration g_registration("ZRBSamUpdateCmd",
                                                      ZRBCommandFactory::WithDefaultMode(&fctCreateZRBSamUpdateCmd, 1));
}  // namespace
