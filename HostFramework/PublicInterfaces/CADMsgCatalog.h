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

  // --- which key a text came from: every message built is remembered with its key ("Catalog.Key"), and so is
  // each of its lines, so that a text shown anywhere (a box, a list line) can be traced back to its key. "" when
  // no built message gave that text. Any thread.
  static std::string KeyOfText(std::string_view text);

  // --- catalog location (process-wide; reading them again after a change)
  // Uses `path` (directories separated by ':') instead of the host variable; an empty path goes back to it.
  static void SetCatalogPath(std::string_view path);
  static std::string GetCatalogPath();
  // Forgets the loaded catalogs and the path override (tests).
  static void Reset();
};
