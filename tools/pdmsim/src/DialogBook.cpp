#include "DialogBook.h"

#include "GmtTime.h"
#include "Sqlite.h"

namespace pdmsim {
namespace {

constexpr const char* kColumns = "id, action, request_file, exmap, role, opened_at, state, closed_at, outcome";

Dialog ReadDialog(const SqliteStatement& row) {
  Dialog d;
  d.id = row.Int(0);
  d.action = row.Text(1);
  d.requestFile = row.Text(2);
  d.exmap = row.Text(3);
  d.role = row.Text(4);
  d.openedAt = row.Text(5);
  d.state = row.Text(6);
  d.closedAt = row.Text(7);
  d.outcome = row.Text(8);
  return d;
}

struct CancelPair {
  std::string_view cancelWord;
  std::string_view action;
};

constexpr CancelPair kCancelPairs[] = {
    {"x3CancelCadAddTemp", "x3AddTempCad"},
    {"x3CancelCreateForDoc", "x3CreateCadPrtDocFrFile"},
    {"x3CancelCreateForDoc", "x3CreateCadDrwDocFrFile"},
    {"x3CancelCadSaveAs", "x3SaveAsCADPartFrFile"},
    {"x3CancelCadSaveAs", "x3SaveAsCADDrawFrFile"},
    {"x3CancelCadSaveAs", "x3SaveAsCADPartLegacyFrFl"},
    {"x3CancelUsePdmStruct", "x3UsePdmStructure"},
};

}  // namespace

void DialogBook::Open(const Dialog& dialog) {
  for (auto current = Current(); current; current = Current()) {
    Close(current->id, "superseded", "a newer dialog was opened");
  }
  SqliteStatement insert(
      vault_.Db(), std::string("INSERT INTO dialogs(") + kColumns + ") VALUES (?, ?, ?, ?, ?, ?, 'open', '', '')");
  insert.Bind(1, dialog.id).Bind(2, dialog.action).Bind(3, dialog.requestFile).Bind(4, dialog.exmap);
  insert.Bind(5, dialog.role).Bind(6, dialog.openedAt).Run();
}

std::optional<Dialog> DialogBook::Current() {
  SqliteStatement query(
      vault_.Db(), std::string("SELECT ") + kColumns + " FROM dialogs WHERE state = 'open' ORDER BY id DESC LIMIT 1");
  if (!query.Step()) return std::nullopt;
  return ReadDialog(query);
}

std::optional<Dialog> DialogBook::Find(std::int64_t id) {
  SqliteStatement query(vault_.Db(), std::string("SELECT ") + kColumns + " FROM dialogs WHERE id = ?");
  query.Bind(1, id);
  if (!query.Step()) return std::nullopt;
  return ReadDialog(query);
}

void DialogBook::Close(std::int64_t id, std::string_view state, std::string_view outcome) {
  SqliteStatement update(vault_.Db(), "UPDATE dialogs SET state = ?, closed_at = ?, outcome = ? WHERE id = ?");
  update.Bind(1, state).Bind(2, GmtTime::Now()).Bind(3, outcome).Bind(4, id).Run();
}

std::string DialogBook::ReadyWordFor(std::string_view action) {
  if (action == "x3AddTempCad") return "PDM_ADDTEMP_READY";
  if (action == "x3CreateCadPrtDocFrFile" || action == "x3CreateCadDrwDocFrFile") return "PDM_CREATEFORDOC_READY";
  if (action == "x3SaveAsCADPartFrFile" || action == "x3SaveAsCADDrawFrFile" || action == "x3SaveAsCADPartLegacyFrFl") {
    return "PDM_SAVEAS_READY";
  }
  if (action == "x3UsePdmStructure") return "PDM_USEPDMSTRUCTURE_READY";
  return "";
}

bool DialogBook::CancelWordCloses(std::string_view cancelWord, std::string_view action) {
  for (const CancelPair& pair : kCancelPairs) {
    if (pair.cancelWord == cancelWord && pair.action == action) return true;
  }
  return false;
}

bool DialogBook::IsCancelWord(std::string_view action) {
  for (const CancelPair& pair : kCancelPairs) {
    if (pair.cancelWord == action) return true;
  }
  return false;
}

}  // namespace pdmsim
