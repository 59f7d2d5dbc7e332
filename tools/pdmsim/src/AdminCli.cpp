#include "AdminCli.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <thread>

#include <nlohmann/json.hpp>

#include "ArgReader.h"
#include "DelayedDialogAction.h"
#include "DialogBook.h"
#include "DialogCompleter.h"
#include "ExchangeFile.h"
#include "FaultPlan.h"
#include "Journal.h"
#include "PdmError.h"
#include "PdmSelection.h"
#include "SenderClient.h"
#include "TextTable.h"
#include "Vault.h"
#include "VaultCatalog.h"
#include "VaultCommands.h"

namespace pdmsim {
namespace {

std::unique_ptr<Vault> OpenVault(const std::string& option) { return Vault::Open(Vault::ResolveDirectory(option)); }

std::vector<std::string> ResolveObids(VaultCatalog& catalog, const std::vector<std::string>& partNumbers) {
  std::vector<std::string> obids;
  for (const std::string& partNumber : partNumbers) {
    auto item = catalog.FindItemByPartNumber(partNumber);
    if (!item) throw PdmError("no item with part number " + partNumber + " in the vault (see pdmsim vault ls)");
    obids.push_back(item->obid);
  }
  return obids;
}

std::vector<std::string> PartNumbersOf(VaultCatalog& catalog, const std::vector<std::string>& obids) {
  std::vector<std::string> names;
  for (const std::string& obid : obids) {
    if (auto item = catalog.FindItem(obid)) names.push_back(item->partNumber);
  }
  return names;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator = " ") {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
  return text;
}

int ParseNumber(const std::string& text, const char* what) {
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 0 || value > 1000000) {
    throw PdmError(std::string(what) + " must be a whole number, not \"" + text + "\"", 2);
  }
  return static_cast<int>(value);
}

void WaitSeconds(std::optional<std::string> after) {
  if (after) std::this_thread::sleep_for(std::chrono::seconds(ParseNumber(*after, "--after")));
}

std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"'") == std::string::npos) return arg;
  return "\"" + arg + "\"";
}

}  // namespace

void AdminCli::PrintHelp(std::ostream& out) {
  out << "pdmsim: the reference PDM (a SQLite vault and the PDM side of the exchange protocol)\n"
         "\n"
         "usage: pdmsim [--vault DIR] COMMAND ...   (the vault also comes from PDMSIM_VAULT)\n"
         "\n"
         "The vault:\n";
  VaultCommands::PrintHelp(out);
  out << "\n"
         "Acting as the PDM user:\n"
         "  load-into-cad [--add] [--no-start] PARTNUMBER...\n"
         "                                       choose items and have the CAD session read them\n"
         "  mark PARTNUMBER... | mark --clear | mark\n"
         "                                       the items the read-marked command delivers\n"
         "  dialog status                        the PDM dialog a two-step command opened\n"
         "  dialog complete [--choose PARTNUMBER...] [--code C] [--stats TEXT]... [--fail-for PARTNUMBER]...\n"
         "                                       answer it and send its ready word to the CAD session\n"
         "  dialog cancel                        close it and send PDM_CANCEL\n"
         "  dialog auto --after SECONDS complete|cancel [options of complete]\n"
         "  dialog auto off                      complete or cancel every new dialog by itself\n"
         "\n"
         "Looking at and steering the session calls:\n"
         "  journal [--json] | journal show SEQ [--answer | --xmap-list] | journal clear\n"
         "                                       session calls with copies of their requests, answers and\n"
         "                                       exchange-map file lists\n"
         "  fault set ACTION|* [--code C] [--stats TEXT]... [--no-rewrite] [--garbage] [--truncate]\n"
         "                [--delay MS] [--fail-for PARTNUMBER]... [--answer-file FILE] [--times N]\n"
         "  fault ls | fault clear [ACTION]\n"
         "  settings [[set] KEY [VALUE]]         answers of x3GetPDMSettings (pdm.data_model,\n"
         "                                       pdm.product_support, pdm.design_tables)\n"
         "\n"
         "The session command the CAD module runs (installed also as pdmcl and samcl):\n"
         "  pdmcl -b -- PdmSessn ACTION \"FILE\"    samcl PdmSessn ACTION \"FILE\"\n";
}

const std::vector<AdminCommand>& AdminCli::Commands() {
  static const std::vector<AdminCommand> commands = {
      {"vault", "the vault: init, import, ls, show, add-item, relate, add-table, attr, set, touch, replace",
       &AdminCli::VaultCommand},
      {"load-into-cad", "choose items and have the CAD session read them", &AdminCli::LoadIntoCad},
      {"mark", "the items the read-marked command delivers", &AdminCli::Mark},
      {"dialog", "the PDM dialog a two-step command opened: status, complete, cancel, auto", &AdminCli::DialogCommand},
      {"journal", "the session calls with their requests, answers and exchange-map file lists",
       &AdminCli::JournalCommand},
      {"fault", "faults injected into the session calls: set, ls, clear", &AdminCli::FaultCommand},
      {"settings", "answers of x3GetPDMSettings", &AdminCli::SettingsCommand},
  };
  return commands;
}

int AdminCli::Run(const std::vector<std::string>& args) {
  if (args.empty() || args.front() == "help" || args.front() == "--help" || args.front() == "-h") {
    PrintHelp(out_);
    return args.empty() ? 2 : 0;
  }
  std::vector<std::string> rest(args.begin() + 1, args.end());
  for (const AdminCommand& command : Commands())
    if (args.front() == command.name) return (this->*command.run)(std::move(rest));
  throw PdmError("unknown command " + args.front() + " (pdmsim help)", 2);
}

int AdminCli::VaultCommand(std::vector<std::string> args) { return VaultCommands(vaultOption_, out_).Run(args); }

int AdminCli::LoadIntoCad(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  bool add = reader.Flag("--add");
  bool noStart = reader.Flag("--no-start");
  std::vector<std::string> names = reader.Positionals();
  if (names.empty()) throw PdmError("load-into-cad needs the part numbers to send", 2);
  auto vault = OpenVault(vaultOption_);
  {
    SqliteTransaction transaction(vault->Db());
    VaultCatalog catalog(*vault);
    PdmSelection(*vault).SetChoice(ResolveObids(catalog, names));
    transaction.Commit();
  }
  out_ << "chose " << Joined(names) << " for the CAD session\n";
  if (noStart) return 0;
  std::string argument = add ? "ZRB_ADD_CMD" : "";
  std::string diagnostics;
  if (!SenderClient().StartCmd("ZRBReadCmd", argument, &diagnostics)) {
    throw PdmError("the choice is kept, but the CAD session could not be asked to read it:\n" + diagnostics);
  }
  out_ << "asked the CAD session to read them (StartCmd ZRBReadCmd" << (add ? " ZRB_ADD_CMD" : "") << ")\n";
  return 0;
}

int AdminCli::Mark(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  bool clear = reader.Flag("--clear");
  std::vector<std::string> names = reader.Positionals();
  auto vault = OpenVault(vaultOption_);
  VaultCatalog catalog(*vault);
  PdmSelection selection(*vault);
  if (clear || !names.empty()) {
    SqliteTransaction transaction(vault->Db());
    selection.SetMarks(clear ? std::vector<std::string>{} : ResolveObids(catalog, names));
    transaction.Commit();
  }
  std::vector<std::string> marked = PartNumbersOf(catalog, selection.Marks());
  out_ << (marked.empty() ? std::string("no items are marked") : "marked: " + Joined(marked)) << '\n';
  return 0;
}

int AdminCli::DialogCommand(std::vector<std::string> args) {
  if (args.empty()) throw PdmError("dialog needs a subcommand: status, complete, cancel or auto", 2);
  std::string sub = args.front();
  ArgReader reader(std::vector<std::string>(args.begin() + 1, args.end()));
  auto vault = OpenVault(vaultOption_);
  if (sub == "status") {
    reader.Positionals();
    auto dialog = DialogBook(*vault).Current();
    if (!dialog) {
      out_ << "no PDM dialog is open\n";
    } else {
      out_ << "open: " << dialog->action << " since " << dialog->openedAt << " (dialog " << dialog->id << ", request "
           << dialog->requestFile << ")\n";
    }
    if (auto setting = DelayedDialogAction::Load(*vault)) {
      out_ << "new dialogs: " << Joined(setting->dialogArgs) << " after " << setting->afterSeconds << " s\n";
    }
    return 0;
  }
  if (sub == "complete" || sub == "cancel") {
    std::optional<std::int64_t> id;
    if (auto text = reader.Option("--dialog")) id = ParseNumber(*text, "--dialog");
    auto after = reader.Option("--after");
    CompletionOptions options;
    options.dialogId = id;
    if (sub == "complete") {
      options.choose = reader.Options("--choose", true);
      options.code = reader.Option("--code");
      options.stats = reader.Options("--stats");
      options.failFor = reader.Options("--fail-for", true);
    }
    if (!reader.Positionals().empty()) throw PdmError("unexpected arguments to dialog " + sub, 2);
    WaitSeconds(after);
    DialogCompleter completer(*vault);
    return sub == "complete" ? completer.Complete(options, out_) : completer.Cancel(id, out_);
  }
  if (sub == "auto") {
    auto after = reader.Option("--after");
    std::vector<std::string> rest = reader.Rest();
    SqliteTransaction transaction(vault->Db());
    if (rest.size() == 1 && rest.front() == "off") {
      DelayedDialogAction::Clear(*vault);
      transaction.Commit();
      out_ << "dialogs wait for the PDM user again\n";
      return 0;
    }
    if (!after || rest.empty() || (rest.front() != "complete" && rest.front() != "cancel")) {
      throw PdmError("usage: dialog auto --after SECONDS complete|cancel [options] | dialog auto off", 2);
    }
    AutoDialogSetting setting{ParseNumber(*after, "--after"), rest};
    DelayedDialogAction::Save(*vault, setting);
    transaction.Commit();
    out_ << "every new PDM dialog: " << Joined(rest) << " after " << setting.afterSeconds << " s\n";
    return 0;
  }
  throw PdmError("unknown dialog subcommand " + sub, 2);
}

int AdminCli::JournalCommand(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  bool json = reader.Flag("--json");
  bool showAnswer = reader.Flag("--answer");
  bool showList = reader.Flag("--xmap-list");
  std::vector<std::string> positionals = reader.Positionals();
  auto vault = OpenVault(vaultOption_);
  Journal journal(*vault);
  if (!positionals.empty() && positionals.front() == "clear") {
    SqliteTransaction transaction(vault->Db());
    journal.Clear();
    transaction.Commit();
    out_ << "journal cleared\n";
    return 0;
  }
  if (!positionals.empty() && positionals.front() == "show") {
    if (positionals.size() != 2) throw PdmError("journal show needs a sequence number", 2);
    auto entry = journal.Entry(ParseNumber(positionals[1], "the sequence number"));
    if (!entry) throw PdmError("no journal entry " + positionals[1]);
    const std::string& copy = showAnswer ? entry->answerCopy : showList ? entry->xmapListCopy : entry->requestCopy;
    const char* what = showAnswer ? "an answer" : showList ? "an exchange-map file list" : "a request file";
    if (copy.empty() || copy.front() != '/') throw PdmError("call " + positionals[1] + " came without " + what);
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(copy, bytes, &error)) throw PdmError(error);
    out_ << bytes;
    return 0;
  }
  if (!positionals.empty()) throw PdmError("unknown journal subcommand " + positionals.front(), 2);
  std::vector<JournalEntry> entries = journal.Entries();
  if (json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const JournalEntry& e : entries)
      list.push_back({{"seq", e.seq},
                      {"at", e.at},
                      {"role", e.role},
                      {"action", e.action},
                      {"args", e.args},
                      {"request_copy", e.requestCopy},
                      {"outcome", e.outcome},
                      {"answer_copy", e.answerCopy},
                      {"answer_source", e.answerSource},
                      {"xmap_list_copy", e.xmapListCopy}});
    out_ << list.dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    return 0;
  }
  if (entries.empty()) {
    out_ << "no session calls yet\n";
    return 0;
  }
  TextTable table({"SEQ", "TIME (UTC)", "CLIENT", "ACTION", "ARGUMENTS", "OUTCOME"});
  for (const JournalEntry& e : entries) {
    std::vector<std::string> quoted;
    for (const std::string& arg : e.args) quoted.push_back(Quote(arg));
    table.AddRow(
        {std::to_string(e.seq), e.at, e.role == "sam" ? "samcl" : "pdmcl", e.action, Joined(quoted), e.outcome});
  }
  table.Print(out_);
  return 0;
}

int AdminCli::FaultCommand(std::vector<std::string> args) {
  if (args.empty()) throw PdmError("fault needs a subcommand: set, ls or clear", 2);
  std::string sub = args.front();
  ArgReader reader(std::vector<std::string>(args.begin() + 1, args.end()));
  auto vault = OpenVault(vaultOption_);
  FaultPlan plan(*vault);
  if (sub == "set") {
    Fault fault;
    fault.code = reader.Option("--code");
    fault.stats = reader.Options("--stats");
    fault.noRewrite = reader.Flag("--no-rewrite");
    fault.garbage = reader.Flag("--garbage");
    fault.truncate = reader.Flag("--truncate");
    if (auto delay = reader.Option("--delay")) fault.delayMs = ParseNumber(*delay, "--delay");
    fault.failParts = reader.Options("--fail-for", true);
    if (auto times = reader.Option("--times")) fault.remaining = ParseNumber(*times, "--times");
    if (auto canned = reader.Option("--answer-file")) {
      std::error_code ec;
      fault.answerFile = std::filesystem::absolute(*canned, ec).string();
      if (ec || !std::filesystem::is_regular_file(fault.answerFile, ec)) {
        throw PdmError("--answer-file names no readable file: " + *canned, 2);
      }
    }
    std::vector<std::string> positionals = reader.Positionals();
    if (positionals.size() != 1) throw PdmError("fault set needs one action word (or *)", 2);
    fault.action = positionals.front();
    if (fault.remaining == 0) throw PdmError("--times must be at least 1", 2);
    for (const std::string& line : fault.stats) {
      if (line.find_first_of("{}") != std::string::npos) {
        throw PdmError("a STATS line cannot hold braces (the exchange list format)", 2);
      }
    }
    SqliteTransaction transaction(vault->Db());
    plan.Set(fault);
    transaction.Commit();
    out_ << "fault set for " << fault.action << '\n';
    return 0;
  }
  if (sub == "clear") {
    std::vector<std::string> positionals = reader.Positionals();
    SqliteTransaction transaction(vault->Db());
    if (positionals.empty()) {
      plan.ClearAll();
    } else {
      for (const std::string& action : positionals) plan.Clear(action);
    }
    transaction.Commit();
    out_ << "faults cleared\n";
    return 0;
  }
  if (sub == "ls") {
    reader.Positionals();
    TextTable table({"ACTION", "CODE", "STATS", "REWRITE", "DELAY MS", "FAIL FOR", "TIMES"});
    for (const Fault& f : plan.All()) {
      std::string rewrite = f.noRewrite             ? "none"
                            : f.garbage             ? "garbage"
                            : !f.answerFile.empty() ? "canned " + f.answerFile + (f.truncate ? ", truncated" : "")
                            : f.truncate            ? "truncated"
                                                    : "normal";
      table.AddRow({f.action, f.code.value_or(""), Joined(f.stats, " | "), rewrite, std::to_string(f.delayMs),
                    Joined(f.failParts), f.remaining < 0 ? "always" : std::to_string(f.remaining)});
    }
    if (table.Empty()) {
      out_ << "no faults set\n";
    } else {
      table.Print(out_);
    }
    return 0;
  }
  throw PdmError("unknown fault subcommand " + sub, 2);
}

int AdminCli::SettingsCommand(std::vector<std::string> args) {
  std::vector<std::string> positionals = ArgReader(std::move(args)).Positionals();
  // "settings set KEY VALUE" is the same as "settings KEY VALUE".
  if (positionals.size() == 3 && positionals[0] == "set") positionals.erase(positionals.begin());
  auto vault = OpenVault(vaultOption_);
  static const std::vector<std::pair<std::string, std::string>> kKnown = {
      {"pdm.data_model", "LEGACY_DATA_MODEL"}, {"pdm.product_support", "1"}, {"pdm.design_tables", "ON"}};
  if (positionals.size() == 2) {
    bool known = false;
    for (const auto& [key, fallback] : kKnown) known = known || key == positionals[0];
    if (!known) throw PdmError("unknown setting " + positionals[0], 2);
    SqliteTransaction transaction(vault->Db());
    vault->SetSetting(positionals[0], positionals[1]);
    transaction.Commit();
  } else if (positionals.size() > 2) {
    throw PdmError("usage: settings [KEY [VALUE]]", 2);
  }
  for (const auto& [key, fallback] : kKnown) {
    if (positionals.empty() || positionals[0] == key) {
      out_ << key << " = " << vault->Setting(key).value_or(fallback) << '\n';
    }
  }
  return 0;
}

}  // namespace pdmsim
