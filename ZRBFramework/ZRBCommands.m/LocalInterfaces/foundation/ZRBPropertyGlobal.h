// The single record of process-wide properties (connection command, message
// prefix ...): a plain property container without a key.
#pragma once

#include "ZRBPropertyContainer.h"

class ZRBPropertyGlobal : public ZRBPropertyContainer {};
