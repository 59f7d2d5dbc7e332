#include "Journal.h"

#include <cstdio>
#include <filesystem>

#include "ExchangeFile.h"
#include "GmtTime.h"
#include "Sqlite.h"

namespace pdmsim {
namespace fs = std::filesystem;
namespace {
constexpr char kArgSeparator = '\x1f';
}

std::string Journal::JoinArgs(const std::vector<std::string>& args) {
  std::string joined;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i) joined += kArgSeparator;
    joined += args[i];
  }
  return joined;
}

std::vector<std::string> Journal::SplitArgs(std::string_view joined) {
  std::vector<std::string> args;
  if (joined.empty()) return args;
  std::size_t start = 0;
  while (true) {
    std::size_t end = joined.find(kArgSeparator, start);
    args.emplace_back(joined.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return args;
}

std::int64_t Journal::Record(std::string_view role, std::string_view action, const std::vector<std::string>& args,
                             const std::string& requestFile) {
  SqliteTransaction transaction(vault_.Db());
  SqliteStatement insert(vault_.Db(), "INSERT INTO journal(at, role, action, args) VALUES (?, ?, ?, ?)");
  insert.Bind(1, GmtTime::Now()).Bind(2, role).Bind(3, action).Bind(4, JoinArgs(args)).Run();
  SqliteStatement last(vault_.Db(), "SELECT last_insert_rowid()");
  last.Step();
  std::int64_t seq = last.Int(0);
  if (!requestFile.empty()) {
    std::string error;
    const std::string copy = CopyIn(seq, requestFile, fs::path(requestFile).filename().string(), error);
    if (copy.empty()) SetOutcome(seq, "request not copied: " + error);
    SqliteStatement update(vault_.Db(), "UPDATE journal SET request_copy = ? WHERE seq = ?");
    update.Bind(1, copy).Bind(2, seq).Run();
  }
  transaction.Commit();
  return seq;
}

std::string Journal::CopyIn(std::int64_t seq, const std::string& file, const std::string& label, std::string& error) {
  std::string bytes;
  if (!ReadWholeFile(file, bytes, &error)) return std::string();
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "%06lld-", static_cast<long long>(seq));
  const std::string copy = vault_.JournalDirectory() + "/" + prefix + label;
  return WriteFileAtomic(copy, bytes, &error) ? copy : std::string();
}

void Journal::KeepAnswer(std::int64_t seq, const std::string& answerFile, std::string_view source) {
  std::string copy, error;
  if (!answerFile.empty()) copy = CopyIn(seq, answerFile, "answer-" + fs::path(answerFile).filename().string(), error);
  SqliteStatement update(vault_.Db(), "UPDATE journal SET answer_copy = ?, answer_source = ? WHERE seq = ?");
  update.Bind(1, copy).Bind(2, source).Bind(3, seq).Run();
}

void Journal::KeepExchangeMapList(std::int64_t seq, const std::string& listFile) {
  if (listFile.empty()) return;
  std::string error;
  std::string copy = CopyIn(seq, listFile, "xmaplist-" + fs::path(listFile).filename().string(), error);
  // The list's absence is worth knowing: the PDM then sends everything again.
  if (copy.empty()) copy = "(not readable: " + listFile + ")";
  SqliteStatement update(vault_.Db(), "UPDATE journal SET xmap_list_copy = ? WHERE seq = ?");
  update.Bind(1, copy).Bind(2, seq).Run();
}

void Journal::KeepConnectPort(std::int64_t seq, const char* port) {
  SqliteStatement update(vault_.Db(), "UPDATE journal SET connect_port = ? WHERE seq = ?");
  if (port) update.Bind(1, std::string_view(port));
  update.Bind(2, seq).Run();
}

void Journal::SetOutcome(std::int64_t seq, std::string_view outcome) {
  SqliteStatement update(vault_.Db(), "UPDATE journal SET outcome = ? WHERE seq = ?");
  update.Bind(1, outcome).Bind(2, seq).Run();
}

namespace {
JournalEntry ReadEntry(const SqliteStatement& row) {
  JournalEntry entry;
  entry.seq = row.Int(0);
  entry.at = row.Text(1);
  entry.role = row.Text(2);
  entry.action = row.Text(3);
  entry.args = Journal::SplitArgs(row.Text(4));
  entry.requestCopy = row.Text(5);
  entry.outcome = row.Text(6);
  entry.answerCopy = row.Text(7);
  entry.answerSource = row.Text(8);
  entry.xmapListCopy = row.Text(9);
  if (!row.IsNull(10)) entry.connectPort = row.Text(10);
  return entry;
}
}  // namespace

std::vector<JournalEntry> Journal::Entries() {
  SqliteStatement query(vault_.Db(),
                        "SELECT seq, at, role, action, args, request_copy, outcome, answer_copy, answer_source, "
                        "xmap_list_copy, connect_port FROM journal ORDER BY seq");
  std::vector<JournalEntry> entries;
  while (query.Step()) entries.push_back(ReadEntry(query));
  return entries;
}

std::optional<JournalEntry> Journal::Entry(std::int64_t seq) {
  SqliteStatement query(vault_.Db(),
                        "SELECT seq, at, role, action, args, request_copy, outcome, answer_copy, answer_source, "
                        "xmap_list_copy, connect_port FROM journal WHERE seq = ?");
  query.Bind(1, seq);
  if (!query.Step()) return std::nullopt;
  return ReadEntry(query);
}

void Journal::Clear() {
  for (const JournalEntry& entry : Entries())
    for (const std::string* copy : {&entry.requestCopy, &entry.answerCopy, &entry.xmapListCopy})
      if (!copy->empty() && copy->front() == '/') std::remove(copy->c_str());
  // The numbering goes on: dialogs are known by the number of the call that opened them, and a number given
  // twice would clash with a dialog of the cleared part.
  vault_.Db().Exec("DELETE FROM journal");
}

}  // namespace pdmsim
