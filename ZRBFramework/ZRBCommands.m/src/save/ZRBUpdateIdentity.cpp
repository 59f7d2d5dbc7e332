// The update's identity step: a node whose file another document replaced since the read is not sent as that
// node, unless the designer, asked, says so.
#include "ZRBConfigTopicManager.h"
#include "ZRBIdentityCheck.h"
#include "ZRBTrace.h"
#include "ZRBUpdateBaseCmd.h"

namespace {
constexpr unsigned long kQuestionStyle = 0x800200;
constexpr int kAnswerYes = 3;
}  // namespace

int ZRBUpdateBaseCmd::CheckNodeIdentity(const CADIProduct_var& product, std::string_view wrongKey,
                                        std::string_view askKey) {
  if (identityRefused_) return -1;
  if (ZRBIdentityCheck::Check(product, this) != ZRBIdentityCheck::Outcome::Other) return 1;
  CADUnicodeString parameters[2] = {product->GetPartNumber(), ZRBIdentityCheck::FileOf(product)};
  ZRB_DEBUG("%s Contains inconsistent UUID", parameters[0].c_str());
  if (g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_INTERACTIVEUUIDCHECK", "ON", 1) == 1 && MayAsk()) {
    if (ShowMessage("ZRBUpdateCmd", askKey, kQuestionStyle, parameters, 2) == kAnswerYes) return 1;
    identityRefused_ = true;
    AddUpdateMessage("UpdateCanceled");
    return -1;
  }
  AddUpdateMessage(wrongKey, parameters, 2);
  return 0;
}
