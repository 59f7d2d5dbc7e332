// The marker object of the read interface: the host creates it by name so that the module is loaded; the
// work is done by the interface's exported functions.
#pragma once

#include "CADBaseUnknown.h"

class ZRBReadApi : public CADBaseUnknown {};

ZRBReadApi* fctCreateZRBReadApi();
