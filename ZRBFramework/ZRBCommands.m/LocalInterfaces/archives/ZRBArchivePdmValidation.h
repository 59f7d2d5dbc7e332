// Asks the PDM whether a product structure may be stored as an archive: the request "vfile.zrb" lists the root
// and every member with part number and file name, "x3ValidateArchive" marks the refused ones.
#pragma once

#include "CADIProduct.h"

class ZRBCommand;
class ZRBObjectManager;

class ZRBArchivePdmValidation {
 public:
  // 1 when the PDM accepts the archive below `root` (or validation is switched off); 0 otherwise, with one
  // "ZRBAttachArchiveCmd.ValidationFailed" warning per refused member. `create`: the archive is new.
  static int ValidateArchive(ZRBCommand& command, const CADIProduct_var& root, int create);
  // The request for `root`: "ROOT" and one object per member; 0 when a member is of a kind no archive holds.
  static int BuildRequest(ZRBCommand& command, const CADIProduct_var& root, int create, ZRBObjectManager& request);
};
