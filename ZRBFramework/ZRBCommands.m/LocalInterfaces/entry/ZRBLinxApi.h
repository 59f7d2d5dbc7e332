// The custom attributes the module keeps on references and instances ("ZRB_CUSTOM_ATTRS" names and
// "ZRB_CUSTOM_VALS" values, brace lists), read by other applications. The host creates the object by name, which
// also loads the module for the exported toolbox functions.
#pragma once

#include "CADBaseUnknown.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"

class ZRBLinxApi : public CADBaseUnknown {
 public:
  // Both lists emptied, then filled from the reference's properties; E_FAIL when their lengths differ (or an
  // argument is null), S_OK otherwise.
  long ZRBGetReferenceAttributes(CADIProduct* product, CADListValCADString* names, CADListValCADString* values);
  // The value at the name's position; an absent name gives an empty value and S_OK.
  long ZRBGetReferenceAttribute(CADIProduct* product, const CADString* name, CADString* value);
  // The same for the instance of `instance` under `father`.
  long ZRBGetInstanceAttributes(CADIProduct* father, CADIProduct* instance, CADListValCADString* names,
                                CADListValCADString* values);
  long ZRBGetInstanceAttribute(CADIProduct* father, CADIProduct* instance, const CADString* name, CADString* value);

  // The entries of a brace list in order ("{}{X}" gives "" and "X"; "X" gives "X"; "" gives none).
  static CADListValCADString GetValuesOfList(const CADString& text);
};

ZRBLinxApi* fctCreateZRBLinxApi();
