#include "ZRBSamUpdateCmd.h"

#include "CADClassDictionary.h"
#include "ZRBAfx.h"
#include "ZRBCommandFactory.h"
#include "ZRBFollowOnCommands.h"
#include "ZRBSamUpdatePosSelect.h"
#include "ZRBTrace.h"

ZRBSamUpdateCmd* fctCreateZRBSamUpdateCmd(int mode) { return new ZRBSamUpdateCmd(mode); }

namespace {
// Created by name without an argument, the command gets its default mode.
const CADClassDictionary::Registration g_registration("ZRBSamUpdateCmd",
                                                      ZRBCommandFactory::WithDefaultMode(&fctCreateZRBSamUpdateCmd, 1));
const int g_followOn = ZRBFollowOnCommands::Install(
    "ZRBUpdateCmd", ZRBClientMode::Sam(), [](int mode, int requestChange, CADCommandMsg message) -> ZRBCommand* {
      return new ZRBSamUpdateCmd(mode, requestChange, message);
    });
}  // namespace

ZRBSamUpdateCmd::ZRBSamUpdateCmd(int mode) : ZRBUpdateCmd(mode, "ZRBSamUpdateCmd") { UseSamClient(); }

ZRBSamUpdateCmd::ZRBSamUpdateCmd(int mode, int requestChange, CADCommandMsg message)
    : ZRBUpdateCmd(mode, requestChange, message, "ZRBSamUpdateCmd") {
  UseSamClient();
}

void ZRBSamUpdateCmd::UseSamClient() {
  UseClientMode(ZRBClientMode::Sam());
  if (FAILED(ZRBAfx::GetLocalCacheXmapDir(localCacheXmap_))) {
    localCacheXmap_ = CADUnicodeString();
    ZRB_DEBUG("ZRB: no local cache exchange map");
  }
}

ZRBUpdatePosSelect* ZRBSamUpdateCmd::NewPosSelect(ZRBObjectManager& request, ZRBUpdatePosSelect::Handler& handler,
                                                  bool positions, bool models) {
  return new ZRBSamUpdatePosSelect(request, handler, positions, models);
}
