#include "PdmSelection.h"

#include "Sqlite.h"

namespace pdmsim {

std::vector<std::string> PdmSelection::Choice() {
  SqliteStatement query(vault_.Db(), "SELECT item_obid FROM choice ORDER BY position");
  std::vector<std::string> obids;
  while (query.Step()) obids.push_back(query.Text(0));
  return obids;
}

void PdmSelection::SetChoice(const std::vector<std::string>& itemObids) {
  vault_.Db().Exec("DELETE FROM choice");
  SqliteStatement insert(vault_.Db(), "INSERT INTO choice(position, item_obid) VALUES (?, ?)");
  std::int64_t position = 0;
  for (const std::string& obid : itemObids) {
    insert.Bind(1, ++position).Bind(2, obid).Run();
    insert.Reset();
  }
}

std::vector<std::string> PdmSelection::Marks() {
  SqliteStatement query(vault_.Db(), "SELECT item_obid FROM marks ORDER BY rowid");
  std::vector<std::string> obids;
  while (query.Step()) obids.push_back(query.Text(0));
  return obids;
}

void PdmSelection::SetMarks(const std::vector<std::string>& itemObids) {
  vault_.Db().Exec("DELETE FROM marks");
  SqliteStatement insert(vault_.Db(), "INSERT OR IGNORE INTO marks(item_obid) VALUES (?)");
  for (const std::string& obid : itemObids) {
    insert.Bind(1, obid).Run();
    insert.Reset();
  }
}

}  // namespace pdmsim
