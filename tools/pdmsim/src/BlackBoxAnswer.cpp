#include "BlackBoxAnswer.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "BlackBoxDelivery.h"
#include "CustomAttributes.h"
#include "ExchangeFile.h"
#include "ExchangeObject.h"
#include "FileStore.h"
#include "PlainFileName.h"
#include "Sqlite.h"
#include "Vault.h"
#include "VaultCatalog.h"

namespace pdmsim {

namespace {

std::string Refuse(ExchangeFile& file, const std::string& line, const std::string& outcome) {
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", "0");
  root.Set("ACTION_RESULT", "ERROR");
  root.Append("STATS", "Reference PDM: " + line);
  return outcome;
}

bool Contains(const std::vector<std::string>& list, const std::string& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

BlackBoxAnswer::BlackBoxAnswer(Vault& vault) : vault_(vault) {
  vault_.Db().Exec(
      "CREATE TABLE IF NOT EXISTS black_box_files("
      "father_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE, file_name TEXT NOT NULL, "
      "obid TEXT NOT NULL, part_number TEXT NOT NULL, blob TEXT NOT NULL, size INTEGER NOT NULL, "
      "PRIMARY KEY(father_obid, file_name))");
  BlackBoxDelivery::EnsureRootColumn(vault_);
}

std::string BlackBoxAnswer::Answer(ExchangeFile& file, const std::string& exchangeMap) {
  const std::string flaw = vault_.Setting("blackbox.flaw").value_or("");
  if (flaw == "error") return Refuse(file, "the black box was refused (blackbox.flaw error).", "refused on request");
  const std::string boxKey = file.FindOrAdd("ROOT", true).Get("BLACKBOX");
  ExchangeObject* box = boxKey.empty() ? nullptr : file.Find(boxKey);
  if (!box) return Refuse(file, "the request names no black-box object in ROOT BLACKBOX.", "no black-box object");
  const std::string father = CustomAttributes(vault_).ItemFor(box->Get("FATHERPRODUCT_OBID"), "");
  if (father.empty())
    return Refuse(file, "no item with the identity '" + box->Get("FATHERPRODUCT_OBID") + "'.", "unknown father");

  FileStore store(vault_);
  int added = 0, removed = 0;
  for (const std::string& key : box->GetList("FILES_TO_BE_REMOVED")) {
    const ExchangeObject* object = file.Find(key);
    if (!object) continue;
    SqliteStatement drop(vault_.Db(), "DELETE FROM black_box_files WHERE father_obid = ? AND file_name = ?");
    drop.Bind(1, father).Bind(2, object->Get("FILENAME")).Run();
    removed += vault_.Db().Changes();
  }
  for (const std::string& key : box->GetList("FILES_TO_BE_ADDED")) {
    const ExchangeObject* object = file.Find(key);
    const std::string name = object ? object->Get("FILENAME") : std::string();
    if (!IsPlainFileName(name)) return Refuse(file, "a file to add has no plain FILENAME (" + key + ").", "bad name");
    std::int64_t size = 0;
    std::string blob;
    try {
      blob = store.PutFile(exchangeMap + "/" + name, size);
    } catch (const std::exception&) {
      return Refuse(file, "the file " + name + " cannot be read from the exchange map.", "missing file " + name);
    }
    SqliteStatement upsert(vault_.Db(),
                           "INSERT INTO black_box_files(father_obid, file_name, obid, part_number, blob, size) "
                           "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT(father_obid, file_name) DO UPDATE SET "
                           "part_number = excluded.part_number, blob = excluded.blob, size = excluded.size");
    upsert.Bind(1, father).Bind(2, name).Bind(3, vault_.NewObid("BBF")).Bind(4, object->Get("CAD_PARTNUMBER"));
    upsert.Bind(5, blob).Bind(6, size).Run();
    ++added;
  }

  // One file object for every current file the box holds; a file the box does not hold is simply not answered.
  const std::vector<std::string> rootFiles = box->GetList("CURRENT_ROOT_FILES");
  // A later read delivers the box again and the session places it from its roots.
  BlackBoxDelivery::KeepRoots(vault_, father, rootFiles);
  std::vector<std::string> files = rootFiles;
  for (const std::string& name : box->GetList("CURRENT_SUB_FILES"))
    if (!Contains(files, name)) files.push_back(name);
  const std::optional<Item> fatherItem = VaultCatalog(vault_).FindItem(father);
  std::vector<std::string> keys, names;
  for (const std::string& name : files) {
    if (flaw == "missing-root-file" && !rootFiles.empty() && name == rootFiles.front()) continue;
    SqliteStatement row(vault_.Db(), "SELECT obid FROM black_box_files WHERE father_obid = ? AND file_name = ?");
    row.Bind(1, father).Bind(2, name);
    if (!row.Step()) continue;
    std::string key;
    for (int n = static_cast<int>(keys.size()) + 1; key.empty() || file.Find(key); ++n)
      key = "BBFO_" + std::to_string(n);
    ExchangeObject& object = file.Add(key);
    object.Set("OBID", row.Text(0));
    object.Set("CLASSNAME", "x0BlkBxF");
    object.Set("DB_NAME", vault_.DbName());
    object.Set("CHANGEABLE", fatherItem && !fatherItem->changeable ? "0" : "1");
    object.Set("EXTERNAL_LOCATION", name);
    std::vector<std::string> displays = {"Black box of"};
    if (flaw == "unequal-lists") displays.push_back("Supplier");
    object.SetList("USER_DEF_DISPLAYS", displays);
    object.SetList("USER_DEF_PROPS", {"ZRB_BLACKBOX_OF"});
    object.SetList("USER_DEF_VALS", {fatherItem ? fatherItem->partNumber : father});
    object.SetList("USER_DEF_DEL_NAMES", {"ZRB_BLACKBOX_OLD"});
    keys.push_back(object.Key());
    names.push_back(name);
  }
  box = file.Find(boxKey);  // Add may have moved it
  box->SetList("ATTACHED_FILEOBJECTS", keys);
  box->SetList("ATTACHED_FILEOBJECT_FILENAMES", names);
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", "1");
  root.Set("ACTION_RESULT", "SUCCESS");
  root.Append("STATS", "Reference PDM: the black box holds " + std::to_string(keys.size()) + " file(s).");
  return "black box of " + (fatherItem ? fatherItem->partNumber : father) + ": " + std::to_string(added) + " added, " +
         std::to_string(removed) + " removed, " + std::to_string(keys.size()) + " answered";
}

}  // namespace pdmsim
