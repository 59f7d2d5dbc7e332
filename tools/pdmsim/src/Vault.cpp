#include "Vault.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "PdmError.h"

namespace pdmsim {
namespace fs = std::filesystem;

namespace {

constexpr const char* kDatabaseName = "vault.db";
// 2: the journal keeps the answer and the exchange-map file list beside the request.
// 3: faults name the part numbers whose node validation fails.
constexpr const char* kSchemaVersion = "4";

constexpr const char* kSchema = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE settings(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE items(
  obid TEXT PRIMARY KEY,
  class_name TEXT NOT NULL,
  db_name TEXT NOT NULL,
  part_number TEXT NOT NULL UNIQUE,
  kind TEXT NOT NULL CHECK(kind IN ('assembly', 'part', 'drawing')),
  revision TEXT NOT NULL DEFAULT '',
  nomenclature TEXT NOT NULL DEFAULT '',
  definition TEXT NOT NULL DEFAULT '',
  description TEXT NOT NULL DEFAULT '',
  changeable INTEGER NOT NULL DEFAULT 1,
  modified TEXT NOT NULL,
  embedded INTEGER NOT NULL DEFAULT 0);
CREATE TABLE item_attrs(
  item_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE,
  name TEXT NOT NULL,
  value TEXT NOT NULL,
  position INTEGER NOT NULL,
  PRIMARY KEY(item_obid, name));
CREATE TABLE documents(
  obid TEXT PRIMARY KEY,
  item_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE,
  role TEXT NOT NULL CHECK(role IN ('product', 'part', 'drawing', 'table')),
  class_name TEXT NOT NULL,
  db_name TEXT NOT NULL,
  file_name TEXT NOT NULL UNIQUE,
  blob TEXT NOT NULL,
  size INTEGER NOT NULL,
  modified TEXT NOT NULL);
CREATE TABLE design_tables(
  doc_obid TEXT PRIMARY KEY REFERENCES documents(obid) ON DELETE CASCADE,
  item_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE,
  name TEXT NOT NULL,
  activated INTEGER NOT NULL DEFAULT 1);
CREATE TABLE relations(
  obid TEXT PRIMARY KEY,
  parent_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE,
  child_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  instance_name TEXT NOT NULL,
  matrix TEXT NOT NULL,
  quantity TEXT NOT NULL DEFAULT '1',
  class_name TEXT NOT NULL,
  db_name TEXT NOT NULL,
  UNIQUE(parent_obid, instance_name));
CREATE TABLE choice(position INTEGER PRIMARY KEY, item_obid TEXT NOT NULL REFERENCES items(obid) ON DELETE CASCADE);
CREATE TABLE marks(item_obid TEXT PRIMARY KEY REFERENCES items(obid) ON DELETE CASCADE);
CREATE TABLE journal(
  seq INTEGER PRIMARY KEY AUTOINCREMENT,
  at TEXT NOT NULL,
  role TEXT NOT NULL,
  action TEXT NOT NULL,
  args TEXT NOT NULL,
  request_copy TEXT NOT NULL DEFAULT '',
  outcome TEXT NOT NULL DEFAULT '',
  answer_copy TEXT NOT NULL DEFAULT '',
  answer_source TEXT NOT NULL DEFAULT '',
  xmap_list_copy TEXT NOT NULL DEFAULT '',
  connect_port TEXT);
CREATE TABLE faults(
  action TEXT PRIMARY KEY,
  code TEXT,
  stats TEXT NOT NULL DEFAULT '',
  no_rewrite INTEGER NOT NULL DEFAULT 0,
  garbage INTEGER NOT NULL DEFAULT 0,
  truncate INTEGER NOT NULL DEFAULT 0,
  delay_ms INTEGER NOT NULL DEFAULT 0,
  fail_parts TEXT NOT NULL DEFAULT '',
  remaining INTEGER NOT NULL DEFAULT -1,
  answer_file TEXT NOT NULL DEFAULT '',
  validate_fail TEXT NOT NULL DEFAULT '');
CREATE TABLE dialogs(
  id INTEGER PRIMARY KEY,
  action TEXT NOT NULL,
  request_file TEXT NOT NULL,
  exmap TEXT NOT NULL,
  role TEXT NOT NULL,
  opened_at TEXT NOT NULL,
  state TEXT NOT NULL,
  closed_at TEXT NOT NULL DEFAULT '',
  outcome TEXT NOT NULL DEFAULT '');
)sql";

}  // namespace

Vault::Vault(std::string directory, std::unique_ptr<SqliteDb> db)
    : directory_(std::move(directory)), db_(std::move(db)) {}

std::string Vault::ResolveDirectory(const std::string& option) {
  if (!option.empty()) return option;
  if (const char* env = std::getenv("PDMSIM_VAULT"); env && *env) return env;
  throw PdmError("no vault given: set PDMSIM_VAULT or pass --vault DIR", 2);
}

std::unique_ptr<Vault> Vault::Create(const std::string& directory, const std::string& dbName) {
  std::error_code ec;
  fs::create_directories(directory, ec);
  if (ec) throw PdmError("cannot create the vault directory " + directory + ": " + ec.message());
  std::string dbPath = directory + "/" + kDatabaseName;
  if (fs::exists(dbPath)) {
    throw PdmError("a vault already exists in " + directory + " (remove the directory to start afresh)");
  }
  for (const char* sub : {"store", "journal"}) {
    fs::create_directories(directory + "/" + sub, ec);
    if (ec) throw PdmError("cannot create " + directory + "/" + sub + ": " + ec.message());
  }
  auto vault = std::unique_ptr<Vault>(
      new Vault(fs::absolute(directory).lexically_normal().string(), std::make_unique<SqliteDb>(dbPath)));
  vault->CreateSchema(dbName);
  return vault;
}

std::unique_ptr<Vault> Vault::Open(const std::string& directory) {
  std::string dbPath = directory + "/" + kDatabaseName;
  if (!fs::exists(dbPath)) {
    throw PdmError("no vault in " + directory + ": run `pdmsim vault init` first", 2);
  }
  auto vault = std::unique_ptr<Vault>(
      new Vault(fs::absolute(directory).lexically_normal().string(), std::make_unique<SqliteDb>(dbPath)));
  std::string layout;
  {
    SqliteStatement version(vault->Db(), "SELECT value FROM meta WHERE key = 'schema_version'");
    if (version.Step()) layout = version.Text(0);
  }
  // An older vault gains the new columns layout by layout; nothing it holds changes.
  if (layout == "1") {
    SqliteTransaction transaction(vault->Db());
    vault->Db().Exec(
        "ALTER TABLE journal ADD COLUMN answer_copy TEXT NOT NULL DEFAULT '';"
        "ALTER TABLE journal ADD COLUMN answer_source TEXT NOT NULL DEFAULT '';"
        "ALTER TABLE journal ADD COLUMN xmap_list_copy TEXT NOT NULL DEFAULT '';"
        "UPDATE meta SET value = '2' WHERE key = 'schema_version';");
    transaction.Commit();
    layout = "2";
  }
  if (layout == "2") {
    SqliteTransaction transaction(vault->Db());
    vault->Db().Exec(
        "ALTER TABLE faults ADD COLUMN validate_fail TEXT NOT NULL DEFAULT '';"
        "UPDATE meta SET value = '3' WHERE key = 'schema_version';");
    transaction.Commit();
    layout = "3";
  }
  if (layout == "3") {
    SqliteTransaction transaction(vault->Db());
    vault->Db().Exec(
        "ALTER TABLE journal ADD COLUMN connect_port TEXT;"
        "UPDATE meta SET value = '4' WHERE key = 'schema_version';");
    transaction.Commit();
    layout = kSchemaVersion;
  }
  if (layout != kSchemaVersion) throw PdmError("the vault in " + directory + " has an unknown layout", 2);
  return vault;
}

void Vault::CreateSchema(const std::string& dbName) {
  SqliteTransaction transaction(*db_);
  db_->Exec(kSchema);
  SqliteStatement meta(*db_, "INSERT INTO meta(key, value) VALUES (?, ?)");
  meta.Bind(1, "schema_version").Bind(2, kSchemaVersion).Run();
  meta.Reset();
  meta.Bind(1, "db_name").Bind(2, dbName).Run();
  meta.Reset();
  meta.Bind(1, "next_id").Bind(2, "1").Run();
  transaction.Commit();
}

std::string Vault::NewObid(std::string_view prefix) {
  SqliteStatement read(*db_, "SELECT value FROM meta WHERE key = 'next_id'");
  read.Step();
  long long next = std::atoll(read.Text(0).c_str());
  SqliteStatement write(*db_, "UPDATE meta SET value = ? WHERE key = 'next_id'");
  write.Bind(1, std::to_string(next + 1)).Run();
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%08lld", next);
  return std::string(prefix) + buffer;
}

std::string Vault::DbName() {
  SqliteStatement read(*db_, "SELECT value FROM meta WHERE key = 'db_name'");
  return read.Step() ? read.Text(0) : std::string();
}

std::optional<std::string> Vault::Setting(std::string_view key) {
  SqliteStatement read(*db_, "SELECT value FROM settings WHERE key = ?");
  read.Bind(1, key);
  if (!read.Step()) return std::nullopt;
  return read.Text(0);
}

void Vault::SetSetting(std::string_view key, std::string_view value) {
  SqliteStatement write(*db_,
                        "INSERT INTO settings(key, value) VALUES (?, ?) "
                        "ON CONFLICT(key) DO UPDATE SET value = excluded.value");
  write.Bind(1, key).Bind(2, value).Run();
}

void Vault::RemoveSetting(std::string_view key) {
  SqliteStatement erase(*db_, "DELETE FROM settings WHERE key = ?");
  erase.Bind(1, key).Run();
}

}  // namespace pdmsim
