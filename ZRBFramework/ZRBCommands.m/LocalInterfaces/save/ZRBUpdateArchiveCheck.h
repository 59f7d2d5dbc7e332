// The archives of an update: dirty archives below the node are validated before anything is sent, a dirty
// archive root's node carries its newly packed archive, and the answered archive goes back onto the session.
// The archives layer, above this one, installs them at load; without it every structure passes and no archive
// is sent (traced).
#pragma once

#include <functional>

#include "CADIProduct.h"
#include "CADUnicodeString.h"

class ZRBCommand;
class ZRBObject;
class ZRBObjectManager;

class ZRBUpdateArchiveCheck {
 public:
  // (command, node, failed flag, message lines) -> 0 when the check could not run; `failed` set when an archive
  // did not validate, its reasons in `message`.
  using Check = std::function<int(ZRBCommand&, const CADIProduct_var&, int&, CADUnicodeString&)>;
  static void Install(Check check);
  // (command, request, archive root, its node object) -> 0 when the archive could not be written (the reason in
  // the command's warnings); 1 also when the archive is unchanged and nothing was added.
  using Writer = std::function<int(ZRBCommand&, ZRBObjectManager&, const CADIProduct_var&, ZRBObject*)>;
  // (root of the save, answer) after a successful save.
  using AnswerReader = std::function<void(const CADIProduct_var&, ZRBObjectManager&)>;
  static void InstallArchiveSlots(Writer writer, AnswerReader reader);
  static int WriteArchive(ZRBCommand& command, ZRBObjectManager& request, const CADIProduct_var& archiveRoot,
                          ZRBObject* object);
  static void ReadArchiveAnswers(const CADIProduct_var& root, ZRBObjectManager& answer);
  static int CheckForArchiveValidation(ZRBCommand& command, const CADIProduct_var& node, int& failed,
                                       CADUnicodeString& message);
};
