#include "BlackBoxDelivery.h"

#include "PlainFileName.h"
#include "Sqlite.h"
#include "Vault.h"

namespace pdmsim {

namespace {

bool HasTable(Vault& vault) {
  SqliteStatement query(vault.Db(), "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'black_box_files'");
  return query.Step();
}

}  // namespace

BlackBoxDelivery::BlackBoxDelivery(Vault& vault, FileStore& store, std::string exchangeMap)
    : vault_(vault), store_(store), exchangeMap_(std::move(exchangeMap)) {}

void BlackBoxDelivery::EnsureRootColumn(Vault& vault) {
  SqliteStatement columns(vault.Db(), "SELECT 1 FROM pragma_table_info('black_box_files') WHERE name = 'root'");
  if (!columns.Step()) vault.Db().Exec("ALTER TABLE black_box_files ADD COLUMN root INTEGER NOT NULL DEFAULT 0");
}

void BlackBoxDelivery::KeepRoots(Vault& vault, const std::string& fatherObid,
                                 const std::vector<std::string>& rootFiles) {
  SqliteStatement clear(vault.Db(), "UPDATE black_box_files SET root = 0 WHERE father_obid = ?");
  clear.Bind(1, fatherObid).Run();
  for (const std::string& name : rootFiles) {
    SqliteStatement mark(vault.Db(), "UPDATE black_box_files SET root = 1 WHERE father_obid = ? AND file_name = ?");
    mark.Bind(1, fatherObid).Bind(2, name).Run();
  }
}

bool BlackBoxDelivery::Deliver(ExchangeFile& answer, ExchangeObject& itemObject, const Item& item,
                               std::vector<std::string>& warnings) {
  if (!HasTable(vault_)) return true;
  EnsureRootColumn(vault_);
  struct File {
    std::string name, obid, partNumber, blob;
    bool root = false;
  };
  std::vector<File> files;
  bool anyRoot = false;
  SqliteStatement rows(vault_.Db(),
                       "SELECT file_name, obid, part_number, blob, root FROM black_box_files WHERE father_obid = ? "
                       "ORDER BY root DESC, file_name");
  rows.Bind(1, item.obid);
  while (rows.Step()) {
    files.push_back({rows.Text(0), rows.Text(1), rows.Text(2), rows.Text(3), rows.Int(4) != 0});
    anyRoot = anyRoot || files.back().root;
  }
  // A box recorded before its roots were kept cannot be placed: the session would not know where it starts.
  if (!anyRoot) return true;

  const std::string boxKey = "BLACKBOX_" + item.obid;
  std::vector<std::string> roots, items, keys, names;
  std::vector<ExchangeObject> objects;
  for (const File& file : files) {
    std::string error;
    if (!IsPlainFileName(file.name) || !store_.CopyTo(file.blob, exchangeMap_ + "/" + file.name, &error)) {
      warnings.push_back("Reference PDM: the black box of " + item.partNumber + " could not be delivered (" +
                         file.name + (error.empty() ? "" : ": " + error) + ").");
      return false;
    }
    (file.root ? roots : items).push_back(file.name);
    ExchangeObject& object = objects.emplace_back("BBFO_" + file.obid);
    object.Set("OBID", file.obid);
    object.Set("CLASSNAME", "x0BlkBxF");
    object.Set("DB_NAME", vault_.DbName());
    object.Set("CHANGEABLE", item.changeable ? "1" : "0");
    object.Set("EXTERNAL_LOCATION", file.name);
    object.Set("CAD_PARTNUMBER", file.partNumber);
    object.SetList("USER_DEF_DISPLAYS", {"Black box of"});
    object.SetList("USER_DEF_PROPS", {"ZRB_BLACKBOX_OF"});
    object.SetList("USER_DEF_VALS", {item.partNumber});
    object.SetList("USER_DEF_DEL_NAMES", {"ZRB_BLACKBOX_OLD"});
    keys.push_back(object.Key());
    names.push_back(file.name);
  }
  ExchangeObject box(boxKey);
  box.Set("FATHERPRODUCT_OBID", item.obid);
  box.Set("FATHERPRODUCT_DB_NAME", item.dbName);
  box.SetList("CURRENT_ROOT_FILES", roots);
  box.SetList("CURRENT_SUB_FILES", items);
  box.SetList("ATTACHED_FILEOBJECTS", keys);
  box.SetList("ATTACHED_FILEOBJECT_FILENAMES", names);
  answer.Objects().push_back(std::move(box));
  for (ExchangeObject& object : objects) answer.Objects().push_back(std::move(object));
  itemObject.Set("ATTACHED_BLACKBOX", boxKey);
  return true;
}

}  // namespace pdmsim
