#include "ZRBUpdateArchiveCheck.h"

#include "ZRBTrace.h"

namespace {
ZRBUpdateArchiveCheck::Check& Installed() {
  static ZRBUpdateArchiveCheck::Check check;
  return check;
}
}  // namespace

void ZRBUpdateArchiveCheck::Install(Check check) { Installed() = std::move(check); }

int ZRBUpdateArchiveCheck::CheckForArchiveValidation(ZRBCommand& command, const CADIProduct_var& node, int& failed,
                                                     CADUnicodeString& message) {
  if (!Installed()) {
    ZRB_DEBUG("ZRB: no archive check installed, archives pass");
    return 1;
  }
  return Installed()(command, node, failed, message);
}
