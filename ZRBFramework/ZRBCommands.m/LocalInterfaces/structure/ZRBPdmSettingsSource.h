// Where the PDM's settings (part data model, product support, design tables) come from. The PDM connection
// lives in a higher layer, which installs the request that asks the PDM; without one nothing can be asked.
#pragma once

#include "CADListVal.h"
#include "CADString.h"

// Process-wide choice of source; user-interface thread only.
class ZRBPdmSettingsSource {
 public:
  struct Settings {
    CADString dataModel;       // "CADPART_DATA_MODEL"
    CADString productSupport;  // "PRDSUPPORT"
    CADString designTables;    // "ZRB_DESIGN_TABLES"
  };
  virtual ~ZRBPdmSettingsSource() = default;
  // true with the answer's values when the PDM answered with success; a failure is traced and shown by the
  // source.
  virtual bool Query(Settings& settings) = 0;

  // The object whose custom attributes the info dialog asks for.
  struct CustomAttributesQuery {
    CADString cadClass;  // the document kind; "representation" for a representation
    CADString partObid, fileObid, partPartRelObid, partModelRelObid;
  };
  // true with the PDM's attribute names and values (lists of equal length, not empty); every failure is traced
  // and shown by the source.
  virtual bool QueryCustomAttributes(const CustomAttributesQuery& query, CADListValCADString& names,
                                     CADListValCADString& values) {
    static_cast<void>(query), static_cast<void>(names), static_cast<void>(values);
    return false;
  }

  // --- the installed source (not owned), null when none; Install(nullptr) removes it (tests)
  static ZRBPdmSettingsSource* Current();
  static void Install(ZRBPdmSettingsSource* source);
};
