// Where the PDM's settings (part data model, product support, design tables) come from. The PDM connection
// lives in a higher layer, which installs the request that asks the PDM; without one nothing can be asked.
#pragma once

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

  // --- the installed source (not owned), null when none; Install(nullptr) removes it (tests)
  static ZRBPdmSettingsSource* Current();
  static void Install(ZRBPdmSettingsSource* source);
};
