// Hands out the temporary identifiers of a session: the configured prefix,
// a counter that only grows, and the configured suffix.
#pragma once

#include "CADUnicodeString.h"

// User-interface thread only.
class ZRBTempIdCounter {
 public:
  // "ZRB_ADDTEMP_PRAEFIX1" + counter in decimal + "ZRB_ADDTEMP_PRAEFIX2"
  // (unset variables count as ""); the counter goes up afterwards. Once the
  // counter can grow no further the result is "" and a debug line says why:
  // handing out an identifier twice would merge two new parts in the PDM.
  CADUnicodeString GetNewTmpId();
  int GetTempCounter() const { return counter_; }
  // Raises the counter to n when n is larger; never lowers it.
  void SetTmpCounter(int n);
  void Reset() { counter_ = 0; }

 private:
  int counter_ = 0;
};
