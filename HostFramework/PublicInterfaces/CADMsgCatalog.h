// The host's message catalogs: one file "<Catalog>.msg" per catalog in the catalog directories.
#pragma once

#include <string>
#include <string_view>

#include "CADString.h"
#include "CADUnicodeString.h"

// The directories come from the host variable CAD_MSGCATALOG_PATH (separated by ':'; the first directory holding
// the file wins). A key "Catalog.Key" is found under "Key" in the file (or under the whole key); a missing
// catalog or key gives the caller's default.
class CADMsgCatalog {
 public:
  // The text of `key` in `catalog` with /p1 .. /p<count> replaced by the parameters, or `defaultText` (as
  // given, without substitution) when the catalog or key is missing.
  static CADUnicodeString BuildMessage(const CADString& catalog, const CADString& key,
                                       const CADUnicodeString* parameters = nullptr, int count = 0,
                                       const CADUnicodeString& defaultText = CADUnicodeString());
  // The unsubstituted text of a key; false when missing.
  static bool GetText(const CADString& catalog, const CADString& key, CADUnicodeString& text);

  // --- catalog location (process-wide; reading them again after a change)
  // Uses `path` (directories separated by ':') instead of the host variable; an empty path goes back to it.
  static void SetCatalogPath(std::string_view path);
  static std::string GetCatalogPath();
  // Forgets the loaded catalogs and the path override (tests).
  static void Reset();
};
