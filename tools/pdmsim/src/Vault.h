// The vault of the reference PDM: a directory holding the SQLite database
// ("vault.db"), the file store ("store/") and the journal's request copies
// ("journal/"). Owns the connection; the catalog, journal and the other
// services work through it. Several pdmsim processes may use one vault at a
// time (a session call, a delayed dialog completion, the PDM user): SQLite's
// locks serialise their transactions, each waiting up to 15 s for the others.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Sqlite.h"

namespace pdmsim {

class Vault {
 public:
  // --- lifecycle
  // The directory from --vault, else from "PDMSIM_VAULT"; throws when neither is set.
  static std::string ResolveDirectory(const std::string& option);
  // Creates a new vault; refuses a directory that already holds one.
  static std::unique_ptr<Vault> Create(const std::string& directory, const std::string& dbName);
  // Opens an existing vault; throws with a hint when there is none.
  static std::unique_ptr<Vault> Open(const std::string& directory);

  // --- places
  const std::string& Directory() const { return directory_; }
  std::string StoreDirectory() const { return directory_ + "/store"; }
  std::string JournalDirectory() const { return directory_ + "/journal"; }
  SqliteDb& Db() { return *db_; }

  // --- identity of new PDM objects
  // A new OBID such as "IT00000042" (prefix + 8 digits), unique in this vault.
  std::string NewObid(std::string_view prefix);
  std::string DbName();

  // --- small settings kept in the vault
  std::optional<std::string> Setting(std::string_view key);
  void SetSetting(std::string_view key, std::string_view value);
  void RemoveSetting(std::string_view key);

 private:
  Vault(std::string directory, std::unique_ptr<SqliteDb> db);
  void CreateSchema(const std::string& dbName);

  std::string directory_;
  std::unique_ptr<SqliteDb> db_;
};

}  // namespace pdmsim
