#include "DependencyAnswers.h"

#include <algorithm>

#include "CachedFileList.h"
#include "FileStore.h"
#include "Sqlite.h"
#include "StructureAnswer.h"
#include "VaultCatalog.h"

namespace pdmsim {

DependencyLinks::DependencyLinks(Vault& vault) : vault_(vault) {
  vault_.Db().Exec(
      "CREATE TABLE IF NOT EXISTS dependencies("
      "  dependent_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE,"
      "  external_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE,"
      "  PRIMARY KEY(dependent_obid, external_obid));");
}

void DependencyLinks::Link(const std::string& dependentObid, const std::string& externalObid) {
  SqliteStatement insert(vault_.Db(),
                         "INSERT OR IGNORE INTO dependencies(dependent_obid, external_obid) VALUES (?, ?)");
  insert.Bind(1, dependentObid).Bind(2, externalObid).Run();
}

std::vector<std::string> DependencyLinks::Select(const char* sql, const std::string& obid) {
  SqliteStatement select(vault_.Db(), sql);
  select.Bind(1, obid);
  std::vector<std::string> obids;
  while (select.Step()) obids.push_back(select.Text(0));
  return obids;
}

std::vector<std::string> DependencyLinks::DependingOn(const std::string& obid) {
  return Select("SELECT dependent_obid FROM dependencies WHERE external_obid = ?", obid);
}

std::vector<std::string> DependencyLinks::ExternalsOf(const std::string& obid) {
  return Select("SELECT external_obid FROM dependencies WHERE dependent_obid = ?", obid);
}

namespace {

// The document that stands for an item: its part, product or drawing document.
std::optional<Document> MainDocument(VaultCatalog& catalog, const Item& item) {
  const char* role = item.kind == "assembly" ? "product" : item.kind == "drawing" ? "drawing" : "part";
  return catalog.DocumentByRole(item.obid, role);
}

void Refuse(ExchangeObject& root, const std::string& line) {
  root.Set("ACTION_SUCCESS", "0");
  root.Append("STATS", "Reference PDM: " + line);
}

}  // namespace

std::string AnswerDependencyInfo(Vault& vault, ExchangeFile& file) {
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  const ExchangeObject* command = file.Find("COMMAND");
  const std::string word = command ? command->Get("COMMAND") : std::string();
  const std::vector<std::string> items = root.GetList("ITEMLIST");
  const ExchangeObject* asked = items.size() == 1 ? file.Find(items[0]) : nullptr;
  if (!asked || (word != "REQUEST_QUERY_DEPENDED_BY" && word != "REQUEST_QUERY_DEPENDENT")) {
    Refuse(root, "a dependency query names one item and REQUEST_QUERY_DEPENDED_BY or REQUEST_QUERY_DEPENDENT.");
    return "malformed query";
  }
  VaultCatalog catalog(vault);
  auto item = catalog.FindItem(asked->Get("ID"));
  if (!item) {
    Refuse(root, "the vault holds no item " + asked->Get("ID") + ".");
    return "unknown item";
  }
  DependencyLinks links(vault);
  std::vector<Item> related;
  for (const std::string& obid :
       word == "REQUEST_QUERY_DEPENDED_BY" ? links.DependingOn(item->obid) : links.ExternalsOf(item->obid)) {
    if (auto other = catalog.FindItem(obid)) related.push_back(*other);
  }
  std::sort(related.begin(), related.end(), [](const Item& a, const Item& b) { return a.partNumber < b.partNumber; });

  ExchangeObject info("MODEL_INFO");
  int n = 0;
  for (const Item& other : related) {
    auto doc = MainDocument(catalog, other);
    if (!doc) continue;
    const std::string i = std::to_string(++n);
    info.Set("SOURCE_OBID_" + i, other.obid);
    info.Set("SOURCE_CLASSNAME_" + i, other.className);
    info.Set("SOURCE_DBNAME_" + i, other.dbName);
    info.Set("SOURCE_DOC_" + i, doc->fileName);
  }
  info.Set("SOURCE_NUMBER", std::to_string(n));
  file.Find(items[0])->Set("MODEL_INFO", "MODEL_INFO");
  if (ExchangeObject* old = file.Find("MODEL_INFO"))
    *old = info;
  else
    file.Objects().push_back(info);
  root.Set("ACTION_SUCCESS", "1");
  return std::to_string(n) + " related items of " + item->partNumber;
}

std::string AnswerDependentFiles(Vault& vault, ExchangeFile& file, const std::string& exchangeMap) {
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  const ExchangeObject* command = file.Find("COMMAND");
  VaultCatalog catalog(vault);
  FileStore store(vault);
  StructureAnswer builder(catalog, store, exchangeMap,
                          CachedFileList::Load(command ? command->Get("XMAPCONTENT") : std::string()), {});
  int delivered = 0;
  const std::vector<std::string> keys = root.GetList("ITEMLIST");
  for (const std::string& key : keys) {
    ExchangeObject* object = file.Find(key);
    if (!object) continue;
    auto item = catalog.FindItem(object->Get("ID"));
    auto doc = item ? MainDocument(catalog, *item) : std::nullopt;
    const bool placed = doc && builder.DescribeDocument(*object, *item, *doc);
    object->Set("GET_SUCCESS", placed ? "1" : "0");
    delivered += placed;
  }
  if (delivered == 0) {
    Refuse(root, "none of the requested files could be delivered.");
  } else {
    root.Set("ACTION_SUCCESS", "1");
  }
  return std::to_string(delivered) + " of " + std::to_string(keys.size()) + " files delivered";
}

}  // namespace pdmsim
