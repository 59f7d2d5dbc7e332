// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed, keeps the local cache's exchange map it found under that mode, and otherwise behaves as its
// base. Commands of the SAM client that hand over to an update get this one (ZRBFollowOnCommands).
#pragma once

#include "CADUnicodeString.h"
#include "ZRBUpdateCmd.h"

class ZRBSamUpdateCmd : public ZRBUpdateCmd {
 public:
  // --- lifecycle
  explicit ZRBSamUpdateCmd(int mode = 1);
  ZRBSamUpdateCmd(int mode, int requestChange, CADCommandMsg message);

  // The host's local cache exchange map at construction; empty when the host has none.
  const CADUnicodeString& GetLocalCacheXmapDirectory() const { return localCacheXmap_; }

  // The SAM client's position and model selection (ZRBSamUpdatePosSelect).
  ZRBUpdatePosSelect* NewPosSelect(ZRBObjectManager& request, ZRBUpdatePosSelect::Handler& handler, bool positions,
                                   bool models) override;

 private:
  void UseSamClient();

  CADUnicodeString localCacheXmap_;
};

ZRBSamUpdateCmd* fctCreateZRBSamUpdateCmd(int mode);
