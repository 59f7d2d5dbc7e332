#include "ToolboxAnswer.h"

#include <filesystem>

#include "CustomAttributes.h"
#include "ExchangeFile.h"
#include "ExchangeObject.h"
#include "FileStore.h"
#include "Sqlite.h"
#include "Vault.h"
#include "VaultCatalog.h"

namespace pdmsim {

namespace {

constexpr std::size_t kMaxValue = 65536;

std::string Trimmed(std::string_view text) {
  constexpr std::string_view kBlank = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(kBlank) - first + 1));
}

std::string Refuse(ExchangeFile& file, const std::string& code, const std::string& line, const std::string& outcome) {
  file.FindOrAdd("ROOT", true).Set("ACTION_SUCCESS", "0");
  file.FindOrAdd("ROOT", true).Append("STATS", line);
  file.FindOrAdd("COMMAND", false).Set("RETURN_CODE", code);
  return outcome;
}

std::string Done(ExchangeFile& file, const std::string& outcome) {
  file.FindOrAdd("ROOT", true).Set("ACTION_SUCCESS", "1");
  file.FindOrAdd("COMMAND", false).Set("RETURN_CODE", "0");
  return outcome;
}

}  // namespace

ToolboxAnswer::ToolboxAnswer(Vault& vault) : vault_(vault) {
  vault_.Db().Exec(
      "CREATE TABLE IF NOT EXISTS supplied_files("
      "item_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE, file_name TEXT NOT NULL, "
      "info TEXT NOT NULL, blob TEXT NOT NULL, size INTEGER NOT NULL, PRIMARY KEY(item_obid, file_name))");
}

bool ToolboxAnswer::IsToolboxWord(std::string_view action) {
  return action == "x3GetPartAttributeApi" || action == "x3PutPartAttributeApi" || action == "x3StoreSupplyFile";
}

std::string ToolboxAnswer::Answer(std::string_view action, ExchangeFile& file, const std::string& exchangeMap) {
  const ExchangeObject* data = file.Find("DATA");
  const std::string obid = data ? data->Get("ZRB_OBID") : std::string();
  // A drawing comes with its document's identity, archive content with the archive's: both name an item.
  const std::string item = CustomAttributes(vault_).ItemFor(obid, obid);
  if (item.empty())
    return Refuse(file, "1", "Reference PDM: no item with the identity '" + obid + "'.", "unknown item " + obid);
  if (!file.Find("COMMAND")) return Refuse(file, "1", "Reference PDM: the request has no COMMAND.", "no COMMAND");
  const std::string dataPath = exchangeMap + "/data.zrb";
  if (action == "x3GetPartAttributeApi") return Get(file, item, dataPath);
  if (action == "x3PutPartAttributeApi") return Put(file, item, dataPath);
  return Supply(file, item);
}

std::string ToolboxAnswer::Get(ExchangeFile& file, const std::string& item, const std::string& dataPath) {
  const std::string name = file.Find("COMMAND")->Get("ATTRIBUTE_NAME");
  for (const Attribute& attribute : VaultCatalog(vault_).Attributes(item)) {
    if (attribute.name != name) continue;
    std::string error;
    if (!WriteFileAtomic(dataPath, attribute.value, &error, false))
      return Refuse(file, "3", "Reference PDM: " + error, "data file not written");
    return Done(file, "got " + name + " of " + item);
  }
  // Known item, unknown attribute: answered, but no value to hand over.
  file.FindOrAdd("ROOT", true).Set("ACTION_SUCCESS", "1");
  file.FindOrAdd("COMMAND", false).Set("RETURN_CODE", "2");
  return "no attribute " + name + " of " + item;
}

std::string ToolboxAnswer::Put(ExchangeFile& file, const std::string& item, const std::string& dataPath) {
  const std::string name = file.Find("COMMAND")->Get("ATTRIBUTE_NAME");
  std::string bytes, error;
  if (name.empty()) return Refuse(file, "1", "Reference PDM: no ATTRIBUTE_NAME.", "no attribute name");
  if (!ReadWholeFile(dataPath, bytes, &error)) return Refuse(file, "3", "Reference PDM: " + error, "no data file");
  if (bytes.size() > kMaxValue) return Refuse(file, "4", "Reference PDM: the value is too long.", "value too long");
  VaultCatalog(vault_).SetAttribute(item, name, Trimmed(bytes));
  return Done(file, "put " + name + " of " + item);
}

std::string ToolboxAnswer::Supply(ExchangeFile& file, const std::string& item) {
  const ExchangeObject& command = *file.Find("COMMAND");
  const std::string path = command.Get("FILENAME");
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec))
    return Refuse(file, "3", "Reference PDM: the file '" + path + "' cannot be read.", "no file " + path);
  std::int64_t size = 0;
  const std::string blob = FileStore(vault_).PutFile(path, size);
  SqliteStatement upsert(vault_.Db(),
                         "INSERT INTO supplied_files(item_obid, file_name, info, blob, size) VALUES (?, ?, ?, ?, ?) "
                         "ON CONFLICT(item_obid, file_name) DO UPDATE SET info = excluded.info, "
                         "blob = excluded.blob, size = excluded.size");
  const std::string fileName = std::filesystem::path(path).filename().string();
  upsert.Bind(1, item).Bind(2, fileName).Bind(3, command.Get("INFOFROMCAD")).Bind(4, blob).Bind(5, size).Run();
  return Done(file, "stored " + fileName + " with " + item);
}

}  // namespace pdmsim
