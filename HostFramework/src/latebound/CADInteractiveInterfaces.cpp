// Interface identifiers of the interactive interfaces, for callers that bind
// them at run time.
#include "CADBaseUnknown.h"

__attribute__((visibility("default"))) extern const CADIID IID_CADIExternalLinkType;
const CADIID IID_CADIExternalLinkType{"IID_CADIExternalLinkType"};
