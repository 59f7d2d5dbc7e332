// Names of vis files in the host's caches: the host stamps a cached vis with its model's modification time
// ("Bolt.CADPart.2005-03-02-14.05.09.vis"); the unstamped name is the model's file name and ".vis".
#pragma once

#include <string_view>

#include "CADUnicodeString.h"

class ZRBCacheVisName {
 public:
  // 1 when the name ends in "." + "YYYY-MM-DD-HH.MM.SS" + ".vis" (digits where the pattern has letters) and has
  // a non-empty name before it.
  static int HasTimeStamp(std::string_view name);
  // The name without ".vis" and, when `stamped` allows it and the name has one, without its time stamp:
  // "Bolt.CADPart.2005-03-02-14.05.09.vis" gives "Bolt.CADPart", "a-very-long-model-name.CADPart.vis" gives
  // "a-very-long-model-name.CADPart". A name without ".vis" comes back unchanged.
  static CADUnicodeString BaseName(const CADUnicodeString& name, int stamped);
};
