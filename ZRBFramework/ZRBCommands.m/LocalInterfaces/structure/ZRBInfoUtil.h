// Information utilities of the PDM: what the PDM side has told the session about its settings. For now the
// design-table switch, which the PDM sets through the module-communication component.
#pragma once

#include "CADString.h"

// User-interface thread only.
class ZRBInfoUtil {
 public:
  // "ON" for a non-zero flag, "OFF" for 0.
  static int SetUseDesigTables(const int flag);
  // "ON", "OFF", or "" while the PDM has not said.
  static const CADString& GetUseDesignTables();
  // The PDM's data model of parts as a structure file told it: "CMPONENT_DATA_MODEL" or "LEGACY_DATA_MODEL";
  // "" while nothing told it.
  static void SetDataModelValue(const CADString& value);
  static const CADString& GetDataModelValue();
  // Both back to "" (tests, module unload).
  static void ResetForTests();
};
