// The product states of the structure as a save would compute them, and the structure edits a designer makes
// between a read and a save: `state [NODE]`, `remove NODE`, `replace NODE FILE`, `replace-file DOC FILE`.
#pragma once

#include "ZRBSessionDump.h"

class ZRBSessionRunner;
struct ZRBSessionNode;

class ZRBSessionStateCommands {
 public:
  // `{"value": 35, "text": "PS_ZRB|PS_NEW|PS_DIRTY"}`, a product node's "state" in the dump; null when the
  // module's state checks are not reachable.
  static ZRBSessionJson StateJson(ZRBSessionRunner& runner, const ZRBSessionNode& node);
};
