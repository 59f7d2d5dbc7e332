// The PDM's side of the toolbox attribute functions: an attribute read into "data.zrb", an attribute stored from
// it, and an additional file kept with the item. Supplied files live in their own table, made on first use.
#pragma once

#include <string>
#include <string_view>

namespace pdmsim {

class Vault;
class ExchangeFile;

class ToolboxAnswer {
 public:
  explicit ToolboxAnswer(Vault& vault);

  static bool IsToolboxWord(std::string_view action);
  // Answers `action` in `file` ("ROOT" "ACTION_SUCCESS", "COMMAND" "RETURN_CODE"); the value travels through
  // "data.zrb" in `exchangeMap`. Returns the journal's outcome.
  std::string Answer(std::string_view action, ExchangeFile& file, const std::string& exchangeMap);

 private:
  std::string Get(ExchangeFile& file, const std::string& item, const std::string& dataPath);
  std::string Put(ExchangeFile& file, const std::string& item, const std::string& dataPath);
  std::string Supply(ExchangeFile& file, const std::string& item);

  Vault& vault_;
};

}  // namespace pdmsim
