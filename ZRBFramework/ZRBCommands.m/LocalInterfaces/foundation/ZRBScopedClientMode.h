// Applies a client mode for one scope and puts back the mode that was in force before: for talking to the
// client of another command (the abandonment of a waiting command).
#pragma once

#include "ZRBClientMode.h"

// User-interface thread only.
class ZRBScopedClientMode {
 public:
  explicit ZRBScopedClientMode(const ZRBClientMode& mode) : previous_(ZRBClientMode::Current()) { mode.Apply(); }
  ~ZRBScopedClientMode() { previous_.Apply(); }
  ZRBScopedClientMode(const ZRBScopedClientMode&) = delete;
  ZRBScopedClientMode& operator=(const ZRBScopedClientMode&) = delete;

 private:
  ZRBClientMode previous_;
};
