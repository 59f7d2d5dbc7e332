#include "FaultPlan.h"

#include "Journal.h"
#include "Sqlite.h"

namespace pdmsim {
namespace {

constexpr const char* kColumns =
    "action, code, stats, no_rewrite, garbage, truncate, delay_ms, fail_parts, remaining, answer_file, validate_fail";

Fault ReadFault(const SqliteStatement& row) {
  Fault fault;
  fault.action = row.Text(0);
  if (!row.IsNull(1)) fault.code = row.Text(1);
  fault.stats = Journal::SplitArgs(row.Text(2));
  fault.noRewrite = row.Int(3) != 0;
  fault.garbage = row.Int(4) != 0;
  fault.truncate = row.Int(5) != 0;
  fault.delayMs = static_cast<int>(row.Int(6));
  fault.failParts = Journal::SplitArgs(row.Text(7));
  fault.remaining = static_cast<int>(row.Int(8));
  fault.answerFile = row.Text(9);
  fault.validateFail = Journal::SplitArgs(row.Text(10));
  return fault;
}

}  // namespace

std::optional<Fault> FaultPlan::Find(std::string_view action) {
  for (std::string_view key : {action, std::string_view("*")}) {
    SqliteStatement query(vault_.Db(), std::string("SELECT ") + kColumns + " FROM faults WHERE action = ?");
    query.Bind(1, key);
    if (query.Step()) return ReadFault(query);
  }
  return std::nullopt;
}

std::optional<Fault> FaultPlan::Take(std::string_view action) {
  SqliteTransaction transaction(vault_.Db());
  auto fault = Find(action);
  if (fault && fault->remaining > 0) {
    if (fault->remaining == 1) {
      Clear(fault->action);
    } else {
      SqliteStatement update(vault_.Db(), "UPDATE faults SET remaining = remaining - 1 WHERE action = ?");
      update.Bind(1, fault->action).Run();
    }
  }
  transaction.Commit();
  return fault;
}

void FaultPlan::Set(const Fault& fault) {
  SqliteStatement write(vault_.Db(), std::string("INSERT OR REPLACE INTO faults(") + kColumns +
                                         ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  write.Bind(1, fault.action);
  if (fault.code) {
    write.Bind(2, *fault.code);
  } else {
    write.BindNull(2);
  }
  write.Bind(3, Journal::JoinArgs(fault.stats)).Bind(4, std::int64_t{fault.noRewrite});
  write.Bind(5, std::int64_t{fault.garbage}).Bind(6, std::int64_t{fault.truncate});
  write.Bind(7, std::int64_t{fault.delayMs}).Bind(8, Journal::JoinArgs(fault.failParts));
  write.Bind(9, std::int64_t{fault.remaining}).Bind(10, fault.answerFile);
  write.Bind(11, Journal::JoinArgs(fault.validateFail)).Run();
}

void FaultPlan::Clear(std::string_view action) {
  SqliteStatement erase(vault_.Db(), "DELETE FROM faults WHERE action = ?");
  erase.Bind(1, action).Run();
}

void FaultPlan::ClearAll() { vault_.Db().Exec("DELETE FROM faults"); }

std::vector<Fault> FaultPlan::All() {
  SqliteStatement query(vault_.Db(), std::string("SELECT ") + kColumns + " FROM faults ORDER BY action");
  std::vector<Fault> faults;
  while (query.Step()) faults.push_back(ReadFault(query));
  return faults;
}

}  // namespace pdmsim
