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

void ZRBAddTempCmd::BuildAnswer(ZRBPdmResult result) {
  ZRB_TRACE("ZRBAddTempCmd::BuildAnswer");
  ZRBReadCmd* read = CreateReadCmd();
  if (!read) {
    ZRB_DEBUG("ZRB: Error: Could not Create ReadCmd");
    return;
  }
  {
    ScopedCacheTempMode tempMode;
    read->SetAddTempRead(1);
    read->SetCacheActivation(GetCacheActivation());
    read->SetSinglePartMode(GetSinglePartMode());
    const int built = read->CreateProductStructure();
    read->ReSetTimestampSetting();

    // A document that could not be loaded was taken out of the session again: the build did not succeed, as the
    // read reports it itself. A silent success needs no dialog; the read's own lines say what else happened.
    const int success = built && !read->GetLoadFailure() ? 1 : 0;
    if (!success || read->GetWarnings().Size() > 0 || read->GetInformations().Size() > 0) {
      read->DisplayMessageCenter(success, read->GetWarningState(), BuildMessage("ZRBAddTempCmd", "AddTempOk"),
                                 BuildMessage("ZRBAddTempCmd", "AddTempFailed"),
                                 result == ZRBPdmResult::SucceededWithRemarks);
    }
  }
  // The read only builds this command's answer: its result is this command's.
  if (read->GetResult() != CADCommandResult::None) SetResult(read->GetResult());
  read->SetResult(CADCommandResult::None);
  read->RequestDelayedDestruction();
  // Its construction puts the process back into the standard client's mode, as after every started command.
  (new ZRBDummyCmd())->RequestDelayedDestruction();
  ZRB_TRACE_OK();
}
