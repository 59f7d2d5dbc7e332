#include "CustomAttributes.h"

#include "ExchangeFile.h"
#include "ExchangeObject.h"
#include "Sqlite.h"
#include "Vault.h"

namespace pdmsim {

CustomAttributes::CustomAttributes(Vault& vault) : vault_(vault) {
  vault_.Db().Exec(
      "CREATE TABLE IF NOT EXISTS item_custom_attrs("
      "item_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE, name TEXT NOT NULL, value TEXT NOT NULL, "
      "PRIMARY KEY(item_obid, name))");
}

void CustomAttributes::Set(std::string_view itemObid, std::string_view name, std::string_view value) {
  SqliteStatement upsert(vault_.Db(),
                         "INSERT INTO item_custom_attrs(item_obid, name, value) VALUES (?, ?, ?) "
                         "ON CONFLICT(item_obid, name) DO UPDATE SET value = excluded.value");
  upsert.Bind(1, itemObid).Bind(2, name).Bind(3, value).Run();
}

std::vector<std::pair<std::string, std::string>> CustomAttributes::Of(std::string_view itemObid) {
  SqliteStatement query(vault_.Db(), "SELECT name, value FROM item_custom_attrs WHERE item_obid = ? ORDER BY name");
  query.Bind(1, itemObid);
  std::vector<std::pair<std::string, std::string>> attrs;
  while (query.Step()) attrs.emplace_back(query.Text(0), query.Text(1));
  return attrs;
}

std::string CustomAttributes::ItemFor(std::string_view partObid, std::string_view fileObid) {
  if (!partObid.empty()) {
    SqliteStatement item(vault_.Db(), "SELECT obid FROM items WHERE obid = ?");
    item.Bind(1, partObid);
    if (item.Step()) return item.Text(0);
  }
  if (!fileObid.empty()) {
    SqliteStatement document(vault_.Db(), "SELECT item_obid FROM documents WHERE obid = ?");
    document.Bind(1, fileObid);
    if (document.Step()) return document.Text(0);
  }
  return {};
}

std::string CustomAttributes::Answer(ExchangeFile& file) {
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  const ExchangeObject* command = file.Find("COMMAND");
  const std::string item = command ? ItemFor(command->Get("PART_OBID"), command->Get("FILE_OBID")) : std::string();
  if (item.empty()) {
    root.Set("ACTION_SUCCESS", "0");
    root.Append("STATS", "Reference PDM: no item with that identity.");
    return "unknown identity";
  }
  std::vector<std::string> names, values;
  for (auto& [name, value] : Of(item)) {
    names.push_back(name);
    values.push_back(value);
  }
  root.Set("ACTION_SUCCESS", "1");
  root.SetList("ATTR_NAMES", names);
  root.SetList("ATTR_VALUES", values);
  return std::to_string(names.size()) + " custom attribute(s) of " + item;
}

}  // namespace pdmsim
