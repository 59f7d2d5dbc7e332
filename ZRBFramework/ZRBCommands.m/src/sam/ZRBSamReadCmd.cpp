#include "ZRBSamReadCmd.h"

#include "CADClassDictionary.h"
#include "ZRBCommandFactory.h"
#include "ZRBFollowOnCommands.h"
#include "ZRBTrace.h"

ZRBSamReadCmd* fctCreateZRBSamReadCmd(int mode) { return new ZRBSamReadCmd(mode); }

namespace {
// Created by name without an argument, the command gets its default mode.
const CADClassDictionary::Registration g_registration("ZRBSamReadCmd",
                                                      ZRBCommandFactory::WithDefaultMode(&fctCreateZRBSamReadCmd, 1));
const int g_followOn = ZRBFollowOnCommands::Install(
    "ZRBReadCmd", ZRBClientMode::Sam(), [](int mode, int requestChange, CADCommandMsg message) -> ZRBCommand* {
      return new ZRBSamReadCmd(mode, requestChange, message);
    });
}  // namespace

ZRBSamReadCmd::ZRBSamReadCmd(int mode) : ZRBReadCmd(mode, "ZRBSamReadCmd") { UseSamClient(); }

ZRBSamReadCmd::ZRBSamReadCmd(int mode, int requestChange, CADCommandMsg message)
    : ZRBReadCmd(mode, requestChange, message, "ZRBSamReadCmd") {
  UseSamClient();
}

void ZRBSamReadCmd::UseSamClient() {
  UseClientMode(ZRBClientMode::Sam());
  // The base read its settings under the standard client's names.
  ReadConfiguration();
  ZRB_DEBUG(GetState().disableLoadStdCadParts ? "SAM_ZRB_DISABLE_LOAD_STDCADPARTS is ON"
                                              : "SAM_ZRB_DISABLE_LOAD_STDCADPARTS is NOT ON");
}
