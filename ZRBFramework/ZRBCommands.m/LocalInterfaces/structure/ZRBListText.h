// Lists kept in one property text in the list syntax of exchange-object slots ("{a} {b}"), split and written
// without the length limit of a slot, so that parallel lists of any size keep their items aligned.
#pragma once

#include <string_view>

#include "CADListVal.h"
#include "CADUnicodeString.h"

// Stateless; any thread.
class ZRBListText {
 public:
  // The items between "{" and the next "}", each without blanks at either end; an unterminated last item runs
  // to the end; a text without braces is a list of its one stripped value (none when it is blank).
  static CADListValCADUnicodeString Split(std::string_view text);
  // The stored form of one item, " {" item "}": the item is cut at a closing brace (the syntax has no escape
  // for it, and the rest would read as an item of its own).
  static CADUnicodeString Item(std::string_view value);
  // What a value reads back as once stored as an item and split again: compare current values in this form
  // with split ones.
  static CADUnicodeString RoundTrip(std::string_view value);
  // The items joined in stored form.
  static CADUnicodeString Join(const CADListValCADUnicodeString& items);
};
