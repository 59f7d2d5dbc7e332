// One child instance as its father's reference stores it: name, used
// reference, position and activation. Every occurrence of the father shows
// the same record, so a change through one occurrence shows in all.
#pragma once

#include "CADBaseUnknown.h"
#include "CADMathTransformation.h"
#include "CADUnicodeString.h"

class CADProductNode;

struct CADInstanceRecord {
  CADUnicodeString name;
  CADVar<CADProductNode> reference;  // the used reference (kept alive by the record)
  CADMathTransformation position;    // relative to the father
  bool active = true;
  bool shown = true;  // the display attribute; session only
  // The reference holding the record; meaningful while not removed.
  CADProductNode* owner = nullptr;
  // Set when the record leaves its father; nodes that still show it detach.
  bool removed = false;
};
