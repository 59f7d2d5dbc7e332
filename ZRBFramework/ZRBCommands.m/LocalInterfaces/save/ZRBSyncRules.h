// The structure rules a node must pass before the synchronise command lists it: which new items the site
// allows, instance names, component structure, unique parents. Each failure is a message key of the catalog
// "ZRBUpdateCmd"; the first failing rule in checking order wins.
#pragma once

#include <string_view>

#include "CADIProduct.h"
#include "CADUnicodeString.h"

class ZRBCommand;

class ZRBSyncRules {
 public:
  // The key ("ErrNewVISRule" ...) of the first rule `node` fails, or empty. `state` is its product state; the
  // archive check of an archive root runs for `command` (none: archives pass).
  static std::string_view Check(const CADIProduct_var& node, const CADIProduct_var& father, int state,
                                bool parentFailed, ZRBCommand* command = nullptr);
  // The documents of a window: "DeactivatedNotValid" for a deactivated instance (with
  // "ZRB_ENABLE_DEACTIVATED_CHECK" "ON"), "UpdateFailed" for a product
  // document holding the applicative container the site forbids ("ZRB_ILLEGAL_PROD_APPCONTAINER"); else empty.
  static std::string_view CheckDocuments(const CADIProduct_var& root);
  // Under a standard component only standard parts, with unique instance names; the key or empty.
  static std::string_view CheckStdCmpNode(const CADIProduct_var& node, const CADIProduct_var& father);
  // The reason text shown for a key; the key itself when the catalog has no text, so a failure never blanks.
  static CADUnicodeString Reason(std::string_view key);
};
