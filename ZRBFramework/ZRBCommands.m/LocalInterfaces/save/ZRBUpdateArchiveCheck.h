// The archive check of an update: dirty archives below the node are validated before anything is sent. The
// archives layer, above this one, installs it at load; without it every structure passes (traced).
#pragma once

#include <functional>

#include "CADIProduct.h"
#include "CADUnicodeString.h"

class ZRBCommand;

class ZRBUpdateArchiveCheck {
 public:
  // (command, node, failed flag, message lines) -> 0 when the check could not run; `failed` set when an archive
  // did not validate, its reasons in `message`.
  using Check = std::function<int(ZRBCommand&, const CADIProduct_var&, int&, CADUnicodeString&)>;
  static void Install(Check check);
  static int CheckForArchiveValidation(ZRBCommand& command, const CADIProduct_var& node, int& failed,
                                       CADUnicodeString& message);
};
