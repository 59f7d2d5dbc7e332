// The slot vocabulary of parts and assemblies in both directions: which exchange-object slot becomes which
// property of the session (and back), with its conversion, default and order. The command base forwards here.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBObject;
class ZRBObjectManager;

// No state of its own; user-interface thread only, like the property manager it writes to.
class ZRBDocPropertyTransfer {
 public:
  // --- session to exchange objects; 1 success, 0 failure
  // Part number, instance name, revision, definition, nomenclature and database name of a part.
  static int SetPartPropertiesToZRBObject(ZRBObjectManager& manager, const CADIProduct_var& product,
                                          ZRBObject* model);
  // The user-defined values changed in the session since the PDM sent them. 0 success, E_FAIL for stored
  // lists of different sizes.
  static long SetUserDefPropertiesToZRBObject(const CADIProduct_var& product, ZRBObject* model);

  // --- exchange objects to the session; 1 success, 0 failure
  static int SetPartPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object);
  static int SetProductPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object);
  // The host standard attributes only; 0 also for lists of different sizes.
  static int SetStdPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object);
  // Each non-empty value is set, in the order revision, nomenclature, definition, description.
  static void SetStandardAttributesToProduct(const CADUnicodeString& revision, const CADUnicodeString& nomenclature,
                                             const CADUnicodeString& definition,
                                             const CADUnicodeString& description, const CADIProduct_var& product);
  // Creates, updates and deletes the host user parameters of the product's reference. Lists of different sizes
  // change nothing.
  static void SetUserDefinedProperties(const CADIProduct_var& product, const CADListValCADUnicodeString& displays,
                                       const CADListValCADUnicodeString& properties,
                                       const CADListValCADUnicodeString& values,
                                       const CADListValCADUnicodeString& deletions);
  // Reads the four "USER_DEF_" lists of `object`, stores them for the product and applies them. 0 for lists of
  // different sizes (nothing changed), else 1.
  static int SetUserDefinedPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object);

  // --- conversions shared with the callers
  // A part number of "-" or "" becomes the file name of `path` up to its first model extension; any other
  // part number is left alone.
  static void ProcessPartNumber(CADUnicodeString& partNumber, const CADUnicodeString& path);
  // A representation file goes to "ZRB_REPRESENTATIONPATH" (inside the exchange map), any other to
  // "ZRB_EXTERNAL_LOCATION".
  static void SetLocationProperty(const CADIProduct_var& product, const CADUnicodeString& location);

 private:
  // Reads "STANDARD_ATTRS"/"STANDARD_VALS"; with `references`, also stores the four reference properties.
  // 0 when the lists differ in size (then nothing is written).
  static int ApplyStandardAttributes(const CADIProduct_var& product, const ZRBObject& object, bool references);
};
