// Custom attributes of vault items: what the info dialog's "more" button asks for ("x3GetCustomAttrsCad").
// Kept in their own table, made on first use, so vaults made before it stay readable.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pdmsim {

class Vault;
class ExchangeFile;

class CustomAttributes {
 public:
  explicit CustomAttributes(Vault& vault);

  void Set(std::string_view itemObid, std::string_view name, std::string_view value);
  // Name and value pairs of the item, by name.
  std::vector<std::pair<std::string, std::string>> Of(std::string_view itemObid);
  // The item named by "PART_OBID", else the item of the document "FILE_OBID"; "" when neither is known.
  std::string ItemFor(std::string_view partObid, std::string_view fileObid);

  // Answers a request: "ATTR_NAMES" and "ATTR_VALUES" in "ROOT"; returns the journal's outcome.
  std::string Answer(ExchangeFile& file);

 private:
  Vault& vault_;
};

}  // namespace pdmsim
