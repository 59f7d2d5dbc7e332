#include "ZRBTwoStepKinds.h"

#include <array>

#include "ZRBCommand.h"
#include "ZRBGlobalProperties.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBScopedClientMode.h"
#include "ZRBTrace.h"

namespace {

constexpr ZRBTwoStepKind kNone{};

constexpr std::array kKinds = {
    ZRBTwoStepKind{ZRBRunningCommandKind::AddTemp, "PDM_ADDTEMP_READY", ZRBPdmAction::CancelCadAddTemp, "ZRBAddTempCmd",
                   "AddTempFailed"},
    ZRBTwoStepKind{ZRBRunningCommandKind::SaveAs, "PDM_SAVEAS_READY", ZRBPdmAction::CancelCadSaveAs, "ZRBSaveAsCmd",
                   "SaveAsFailed"},
    ZRBTwoStepKind{ZRBRunningCommandKind::CreateForDocument, "PDM_CREATEFORDOC_READY", ZRBPdmAction::CancelCreateForDoc,
                   "ZRBCreateForDocCmd", "CreateForDocFailed"},
    ZRBTwoStepKind{ZRBRunningCommandKind::SaveAsLegacy, "PDM_SAVEAS_READY", ZRBPdmAction::CancelCadSaveAs,
                   "ZRBSaveAsLegacyCmd", "SaveAsFailed"},
    // Its start step shows its own messages.
    ZRBTwoStepKind{
        ZRBRunningCommandKind::UsePdmStructure, "PDM_USEPDMSTRUCTURE_READY", ZRBPdmAction::CancelUsePdmStruct, {}, {}},
};

}  // namespace

const ZRBTwoStepKind& ZRBTwoStepKinds::Of(ZRBRunningCommandKind kind) {
  for (const ZRBTwoStepKind& row : kKinds)
    if (row.kind == kind) return row;
  return kNone;
}

void ZRBTwoStepKinds::AbandonWaitingCommand() {
  ZRBRunningCommandRegistry& registry = ZRBGlobalProperties::Process().GetRunningCommandRegistry();
  if (registry.GetKind() == ZRBRunningCommandKind::None) {
    registry.Clear();
    return;
  }
  ZRB_TRACE("ZRBTwoStepKinds::AbandonWaitingCommand");
  if (ZRBCommand* waiting = registry.GetCommand()) {
    waiting->StopWaitingForPdm();
    registry.ClearCommand();
  }
  ZRB_DEBUG("ZRB: sending Cancel to PDM");
  const std::string_view word = Of(registry.GetKind()).cancelWord;
  if (word.empty()) {
    ZRB_DEBUG("Unknown Active Command");
  } else {
    // The newest command's client is in force; the PDM dialog belongs to the waiting command's client.
    ZRBScopedClientMode client(ZRBClientMode::ForConnectionCommand(registry.GetConnectionCommand()));
    ZRBPdmRequest::RunQuietly(word, ZRBPdmAction::Line(word));
  }
  registry.Clear();
  ZRB_TRACE_OK();
}
