// The slot vocabulary of parts and assemblies in both directions: which exchange-object slot becomes which
// property of the session (and back), with its conversion, default and order. The command base forwards here.
#pragma once

#include <string_view>

#include "CADIDrawing.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class CADDocument;
class CADFrmWindow;
class ZRBCommandContext;
class ZRBObject;
class ZRBObjectManager;

// No state of its own; user-interface thread only, like the property manager it writes to.
class ZRBDocPropertyTransfer {
 public:
  // --- session to exchange objects; 1 success, 0 failure
  // Describes a part or drawing document: a new model object (its key in `modelKey`) listed in the document
  // object's "SUBASSEMBLIES", with the identity, part or drawing attributes and model info. The command's
  // current editor decides in which context a part's model info is taken.
  static int SetDocPropertiesToZRBObject(ZRBCommandContext& command, ZRBObjectManager& manager, CADDocument* document,
                                         ZRBObject* documentObject, CADString& modelKey);
  // Name, comment and responsible of a drawing.
  static int SetDrawingPropertiesToZRBObject(ZRBObjectManager& manager, const CADIDrawing_var& drawing,
                                             ZRBObject* model);
  // The model-info object of a part or product (its key in the model's "MODEL_INFO"); `window` may be null.
  static int SetModelInfoToZRBObject(ZRBObjectManager& manager, const CADIProduct_var& product, ZRBObject* model,
                                     CADDocument* document, CADFrmWindow* window = nullptr);
  // The model-info object of a drawing; none is made when no drawing switch is on.
  static int SetModelInfoToZRBObject(ZRBObjectManager& manager, const CADIDrawing_var& drawing, ZRBObject* model,
                                     CADDocument* document);
  // The configured feature extensions of the document's members, in a new object named by the model's
  // "FEATURE_EXTENTIONS".
  static int SetFeatureExtentionsToZRBObject(ZRBObjectManager& manager, CADDocument* document, ZRBObject* model);
  // Part number, instance name, revision, definition, nomenclature and database name of a part.
  static int SetPartPropertiesToZRBObject(ZRBObjectManager& manager, const CADIProduct_var& product, ZRBObject* model);
  // The user-defined values changed in the session since the PDM sent them. 0 success, E_FAIL for stored
  // lists of different sizes.
  static long SetUserDefPropertiesToZRBObject(const CADIProduct_var& product, ZRBObject* model);

  // --- exchange objects to the session; 1 success, 0 failure
  // The PDM's answer for a whole document: the "ROOT" object's class decides between part and drawing; then
  // the document is renamed as the PDM asks and its file properties are set.
  static int SetDocPropertiesFromZRBObject(ZRBCommandContext& command, ZRBObjectManager& manager, CADDocument* document,
                                           const CADString& key);
  // Renames the document to the exchange-map path the PDM chose ("RELATIVE_PATH"), sets the editor title when
  // `setTitle` is non-zero, and stores the file's modification time and original location. A failed save is
  // collected in the command's warnings. `product` (may be null) is the node whose full path follows.
  static int SetFilePropertiesFromZRBObject(ZRBCommandContext& command, ZRBObject& object, CADDocument* document,
                                            int setTitle, const CADIProduct_var& product = nullptr);
  static int SetDrawingPropertiesFromZRBObject(const CADIDrawing_var& drawing, CADDocument* document,
                                               const ZRBObject* object);
  // File properties of the process file named by the object in "CADPROCESS".
  static int SetProcessPropertiesFromZRBObject(ZRBObjectManager& manager, const ZRBObject* object);
  // The drawing parameters "PARAM_ATTRS"/"PARAM_VALS" of the object, for a drawing document.
  static int SetParameterFromZrbObject(CADDocument& document, const ZRBObject* object);
  // Sets each listed text parameter of the drawing whose value differs; other types are left alone.
  static int SetParameterToDrawing(CADDocument& document, const CADListValCADUnicodeString& names,
                                   const CADListValCADUnicodeString& values);
  // Sets the member attributes listed in the object named by the model's "FEATURE_EXTENTIONS" on the
  // product's document. 1 when the lists were applied (also when nothing changed or none was sent), 0 when the
  // named object is missing or its lists differ in size.
  static int GetFeatureExtentionsFromZRBObject(const CADIProduct_var& product, const ZRBObject* model,
                                               ZRBObjectManager& manager);
  static int SetPartPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object);
  static int SetProductPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object);
  // The host standard attributes only; 0 also for lists of different sizes.
  static int SetStdPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object);
  // Each non-empty value is set, in the order revision, nomenclature, definition, description.
  static void SetStandardAttributesToProduct(const CADUnicodeString& revision, const CADUnicodeString& nomenclature,
                                             const CADUnicodeString& definition, const CADUnicodeString& description,
                                             const CADIProduct_var& product);
  // Creates, updates and deletes the host user parameters of the product's reference. Lists of different sizes
  // change nothing.
  static void SetUserDefinedProperties(const CADIProduct_var& product, const CADListValCADUnicodeString& displays,
                                       const CADListValCADUnicodeString& properties,
                                       const CADListValCADUnicodeString& values,
                                       const CADListValCADUnicodeString& deletions);
  // Reads the four "USER_DEF_" lists of `object`, stores them for the product and applies them. 0 for lists of
  // different sizes (nothing changed), else 1.
  static int SetUserDefinedPropertiesFromZRBObject(const CADIProduct_var& product, const ZRBObject* object);

  // --- the same property on every node below `product`, depth first, pre-order
  static void SetReferencePropertyToAllChildren(const CADIProduct_var& product, const CADUnicodeString& name,
                                                const CADUnicodeString& value);
  static void SetInstancePropertyToAllChildren(const CADIProduct_var& product, const CADUnicodeString& name,
                                               const CADUnicodeString& value);
  static void SetFilePropertyToAllChildren(const CADIProduct_var& product, const CADUnicodeString& name,
                                           const CADUnicodeString& value);
  static void SetPathToRootPropertyToAllChildren(const CADIProduct_var& product, const CADUnicodeString& name,
                                                 const CADUnicodeString& value);
  static void RemoveReferencePropertyFromAllChildren(const CADIProduct_var& product, const CADUnicodeString& name);
  // Deletes the instance properties of `product` within its father; with `recursive`, of every node below too.
  static int RemoveZRBPropsFromInstance(const CADIProduct_var& product, int recursive);

  // --- conversions shared with the callers
  // A part number of "-" or "" becomes the file name of `path` up to its first model extension; any other
  // part number is left alone.
  static void ProcessPartNumber(CADUnicodeString& partNumber, const CADUnicodeString& path);
  // 1 when a path the PDM names relative to the exchange map stays inside it: not absolute, no drive, and every
  // component a real name (no empty, "." or ".." component).
  static bool StaysInsideExchangeMap(std::string_view relativePath);
  // A representation file goes to "ZRB_REPRESENTATIONPATH" (inside the exchange map), any other to
  // "ZRB_EXTERNAL_LOCATION".
  static void SetLocationProperty(const CADIProduct_var& product, const CADUnicodeString& location);

 private:
  // Reads "STANDARD_ATTRS"/"STANDARD_VALS"; with `references`, also stores the four reference properties.
  // 0 when the lists differ in size (then nothing is written).
  static int ApplyStandardAttributes(const CADIProduct_var& product, const ZRBObject& object, bool references);
};
