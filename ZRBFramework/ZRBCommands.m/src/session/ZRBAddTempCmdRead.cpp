// The add-temporary command's hand-over to the read command that builds the PDM's answer into the session.
#include "ZRBAddTempCmd.h"
#include "ZRBCache.h"
#include "ZRBDummyCmd.h"
#include "ZRBReadCmd.h"
#include "ZRBTrace.h"

namespace {

// Temporary parts are not the PDM's cached documents: nothing the read registers may reach the content file,
// whichever way the build ends.
class ScopedCacheTempMode {
 public:
  ScopedCacheTempMode() { GlobZRBCache.SetTempMode(1); }
  ~ScopedCacheTempMode() { GlobZRBCache.SetTempMode(0); }
  ScopedCacheTempMode(const ScopedCacheTempMode&) = delete;
  ScopedCacheTempMode& operator=(const ScopedCacheTempMode&) = delete;
};

}  // namespace

ZRBReadCmd* ZRBAddTempCmd::CreateReadCmd() { return new ZRBReadCmd(1, 0, 100, "ZRBReadCmd"); }

void ZRBAddTempCmd::BuildAnswer(const CADString& actionSuccess) {
  ZRB_TRACE("ZRBAddTempCmd::BuildAnswer");
  ZRBReadCmd* read = CreateReadCmd();
  if (!read) {
    ZRB_DEBUG("ZRB: Error: Could not Create ReadCmd");
    return;
  }
  {
    ScopedCacheTempMode tempMode;
    (void)actionSuccess;
    ZRB_DEBUG("ZRB: the read command cannot build the answer yet");
  }
  read->RequestDelayedDestruction();
  // Its construction puts the process back into the standard client's mode, as after every started command.
  (new ZRBDummyCmd())->RequestDelayedDestruction();
  ZRB_TRACE_OK();
}
