#include "Sqlite.h"

#include <sqlite3.h>

#include "PdmError.h"

namespace pdmsim {

SqliteDb::SqliteDb(const std::string& path) {
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw PdmError("cannot open the vault database " + path + ": " + message);
  }
  // Several pdmsim processes may meet (a session call and a delayed dialog
  // completion); wait for each other instead of failing.
  sqlite3_busy_timeout(db_, 15000);
  Exec("PRAGMA foreign_keys = ON");
  Exec("PRAGMA journal_mode = WAL");
  Exec("PRAGMA synchronous = FULL");
}

SqliteDb::~SqliteDb() { sqlite3_close(db_); }

std::string SqliteDb::LastError() const { return sqlite3_errmsg(db_); }

int SqliteDb::Changes() const { return sqlite3_changes(db_); }

void SqliteDb::Exec(std::string_view sql) {
  char* message = nullptr;
  std::string text(sql);
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string error = message ? message : LastError();
    sqlite3_free(message);
    throw PdmError("vault database: " + error);
  }
}

SqliteStatement::SqliteStatement(SqliteDb& db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
    throw PdmError("vault database: " + db.LastError() + " in: " + std::string(sql));
  }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
  sqlite3_bind_null(stmt_, index);
  return *this;
}

bool SqliteStatement::Step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throw PdmError("vault database: " + db_.LastError());
}

void SqliteStatement::Run() {
  while (Step()) {
  }
}

void SqliteStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::string SqliteStatement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  int bytes = sqlite3_column_bytes(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes)) : std::string();
}

std::int64_t SqliteStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

bool SqliteStatement::IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

SqliteTransaction::SqliteTransaction(SqliteDb& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }

SqliteTransaction::~SqliteTransaction() {
  if (open_) {
    try {
      db_.Exec("ROLLBACK");
    } catch (...) {
      // The connection is closing with the process; nothing left to undo.
    }
  }
}

void SqliteTransaction::Commit() {
  db_.Exec("COMMIT");
  open_ = false;
}

}  // namespace pdmsim
