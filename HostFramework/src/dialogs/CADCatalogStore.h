// Finds and caches the catalog files of one kind (".msg" or ".rsc") along the catalog path; shared by the
// message and resource catalogs. Thread-safe; a catalog is read once until the path changes or Reset.
#pragma once

#include <string>
#include <string_view>

#include "CADCatalogFile.h"

class CADCatalogStore {
 public:
  // The text of `key` in catalog `catalog` of the given extension, or false. The key is tried without its
  // "<catalog>." prefix first, then as given.
  static bool Lookup(std::string_view extension, std::string_view catalog, std::string_view key, std::string& text);

  static void SetPath(std::string_view path);
  static std::string GetPath();
  static void Reset();
};
