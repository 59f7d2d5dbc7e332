// Reads and writes exchange-object slots in the session's Unicode strings, for the property transfer between
// the session and the PDM.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBObject;

class ZRBTransferSlots {
 public:
  // A missing slot reads as "" (an empty list).
  static CADUnicodeString Text(const ZRBObject& object, const char* name);
  static CADListValCADUnicodeString List(const ZRBObject& object, const char* name);
  static void SetList(ZRBObject& object, const char* name, const CADListValCADUnicodeString& items);
};
