// List of component handles (CADListValCADBaseUnknown_var), 1-based.
#pragma once

#include "CADBaseUnknown.h"
#include "CADListVal.h"

using CADListValCADBaseUnknown_var = CADListVal<CADBaseUnknown_var>;
