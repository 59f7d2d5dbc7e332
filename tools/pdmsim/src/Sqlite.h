// Thin RAII wrappers over the SQLite C API: a connection, a prepared statement
// and an immediate transaction that rolls back unless committed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace pdmsim {

class SqliteDb {
 public:
  // --- lifecycle
  explicit SqliteDb(const std::string& path);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  // --- use
  void Exec(std::string_view sql);
  sqlite3* Handle() const { return db_; }
  std::string LastError() const;
  // Rows changed by the last statement.
  int Changes() const;

 private:
  sqlite3* db_ = nullptr;
};

class SqliteStatement {
 public:
  SqliteStatement(SqliteDb& db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // --- binding (1-based, chainable)
  SqliteStatement& Bind(int index, std::string_view text);
  SqliteStatement& Bind(int index, std::int64_t value);
  SqliteStatement& BindNull(int index);

  // --- stepping: true while a row is available; Run() steps to completion
  bool Step();
  void Run();
  void Reset();

  // --- columns of the current row (0-based)
  std::string Text(int column) const;
  std::int64_t Int(int column) const;
  bool IsNull(int column) const;

 private:
  SqliteDb& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteDb& db);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;
  void Commit();

 private:
  SqliteDb& db_;
  bool open_ = true;
};

}  // namespace pdmsim
