// Reads and writes exchange-object slots in the session's Unicode strings, for the property transfer between
// the session and the PDM.
#pragma once

#include <string>
#include <string_view>

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBObject;

class ZRBTransferSlots {
 public:
  // A missing slot reads as "" (an empty list).
  static CADUnicodeString Text(const ZRBObject& object, const char* name);
  static CADListValCADUnicodeString List(const ZRBObject& object, const char* name);
  static void SetList(ZRBObject& object, const char* name, const CADListValCADUnicodeString& items);
  // What a list item arrives as: cut at its first closing brace (the list form has no escape for it), without
  // blanks at its ends. A value that comes back in this form is the one that was sent, not a change.
  static std::string AsListItem(std::string_view text);
};
