// The command tests hand to services that work for a command: a plain ZRBCommand (its lists, editor, save and
// save-as, forwarders) with the PDM round trip opened up for probing.
#pragma once

#include "ZRBCommand.h"

class ProbeCommand : public ZRBCommand {
 public:
  ProbeCommand() : ZRBCommand("ProbeCmd") {}
  using ZRBCommand::RunPdmAction;
};
