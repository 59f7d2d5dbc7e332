// An empty command. The module-communication component creates one after every command it starts and requests
// its destruction at once: its construction puts the process back into the standard client's mode.
#pragma once

#include "ZRBCommand.h"

class ZRBDummyCmd : public ZRBCommand {
 public:
  ZRBDummyCmd() : ZRBCommand("ZRBDummyCmd") {}
};

ZRBDummyCmd* fctCreateZRBDummyCmd();
