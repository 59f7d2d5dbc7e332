// Reads one message or resource catalog file; malformed lines are skipped and described, never fatal.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// UTF-8 lines "Key = text" ('#' starts a comment line, "\n" in a text is a line break, "\t" a tab, "\\" a
// backslash; parameters are written /p1 .. /p9).
class CADCatalogFile {
 public:
  // Parses `content`; `origin` names it in diagnostics.
  static CADCatalogFile Parse(std::string_view content, std::string_view origin = "catalog");
  // Reads and parses a file; a file that cannot be read gives an empty catalog and one diagnostic.
  static CADCatalogFile Load(const std::string& path);

  // The text of `key` (escapes resolved, parameters not substituted), or null.
  const std::string* Find(std::string_view key) const;
  int Size() const { return static_cast<int>(texts_.size()); }
  // One line per problem: "<origin>:<line>: <what>".
  const std::vector<std::string>& GetDiagnostics() const { return diagnostics_; }

  // Replaces /p1 .. /p9 by the given parameters in one pass (a parameter's own text is never expanded again);
  // a placeholder without a parameter stays as written.
  static std::string Substitute(std::string_view text, const std::vector<std::string>& parameters);

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>()(s); }
  };
  std::unordered_map<std::string, std::string, Hash, std::equal_to<>> texts_;
  std::vector<std::string> diagnostics_;
};
