// The product states of the structure as a save would compute them, and the structure edits a designer makes
// between a read and a save: `state [NODE]`, `remove NODE`, `replace NODE FILE`.
#pragma once

#include <string>

class ZRBSessionRunner;
struct ZRBSessionNode;

class ZRBSessionStateCommands {
 public:
  // `"state": {"value": 35, "text": "PS_ZRB|PS_NEW|PS_DIRTY"}` without the key; "null" when the module's state
  // checks are not reachable.
  static std::string StateJson(ZRBSessionRunner& runner, const ZRBSessionNode& node);
};
