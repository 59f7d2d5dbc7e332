// Builds the session's product structure from a read answer: one structure node at a time, with its document
// components, sending objects and sub-assemblies (recursively), and the PDM identity on every node it touches.
#pragma once

#include "CADIProduct.h"
#include "ZRBReadState.h"

class ZRBCommand;
class ZRBObject;
class ZRBObjectManager;

// Lives for one read; user-interface thread only. Messages go to the command's warning and information lists,
// flags to the read state.
class ZRBStructureReader {
 public:
  ZRBStructureReader(ZRBCommand& command, ZRBReadState& state) : command_(command), state_(state) {}

  // The content of `node` below `parent` (null: top-level documents open in windows of their own); `existing`
  // is the product already standing for the node, if any. 0 when the node could not be built.
  int ReadProductStructure(CADIProduct* parent, CADIProduct* existing, ZRBObjectManager& answer, ZRBObject* node);

 private:
  ZRBCommand& command_;
  ZRBReadState& state_;
};
