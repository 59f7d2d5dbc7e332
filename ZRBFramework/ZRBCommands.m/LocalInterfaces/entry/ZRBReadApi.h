// The read interface other applications of the session call: a plain read from the PDM. The host creates the
// marker object by name so that the module is loaded; the work is done by the static function.
#pragma once

#include "CADBaseTypes.h"
#include "CADBaseUnknown.h"

class ZRBReadApi : public CADBaseUnknown {
 public:
  // Runs a read command (mode 1) to its end. Always S_OK: the read's own messages are the only report.
  static HRESULT ZRBRead();
};

ZRBReadApi* fctCreateZRBReadApi();
