#include "AdminCli.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <thread>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "ArchiveAnswer.h"
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

// Counts and waits on the command line: whole numbers CLI11 checks.
const CLI::Range kCount(0, 1000000);

void WaitSeconds(std::optional<int> after) {
  if (after) std::this_thread::sleep_for(std::chrono::seconds(*after));
}

// The client that received a call, with the port the SAM client saw.
std::string ClientText(const JournalEntry& e) {
  if (e.role != "sam") return "pdmcl";
  return e.connectPort ? "samcl (SAMCONNECTPORT " + *e.connectPort + ")" : "samcl";
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
         "  dialog complete --name PARTNUMBER [--relative-path NAME] [--code C] [--stats TEXT]...\n"
         "                                       the same for a create-for-document or save-as dialog\n"
         "  dialog cancel                        close it and send PDM_CANCEL\n"
         "  dialog auto --after SECONDS complete|cancel [options of complete]\n"
         "  dialog auto off                      complete or cancel every new dialog by itself\n"
         "  workplane [--xmap DIR] ITEM-PATH     have the CAD session work in one instance: a part number,\n"
         "                                       then instance names (Assembly/Bracket.1/Bolt.2)\n"
         "  highlight [--xmap DIR] ITEM-PATH...  have the CAD session select these instances\n"
         "\n"
         "Looking at and steering the session calls:\n"
         "  journal [--json] | journal show SEQ [--answer | --xmap-list] | journal clear\n"
         "                                       session calls with copies of their requests, answers and\n"
         "                                       exchange-map file lists\n"
         "  fault set ACTION|* [--code C] [--stats TEXT]... [--no-rewrite] [--garbage] [--truncate]\n"
         "                [--delay MS] [--fail-for PARTNUMBER]... [--validate-fail PARTNUMBER]...\n"
         "                [--answer-file FILE] [--times N]\n"
         "  fault ls | fault clear [ACTION]\n"
         "  settings [[set] KEY [VALUE]]         answers of x3GetPDMSettings (pdm.data_model,\n"
         "                                       pdm.product_support, pdm.design_tables) and the rules of\n"
         "                                       x3ValidateArchive (archive.refuse_parts, archive.require_filename),\n"
         "                                       flaws of x3AttachBlackBoxCmd (blackbox.flaw),\n"
         "                                       the SAM client's port (sam.port) and strict mode\n"
         "                                       (pdm.strict_clients ON: refuse words a client never sends);\n"
         "                                       sam.pdm.KEY answers the SAM client in place of pdm.KEY\n"
         "  archive-check FILE                   unpack an archive; check its structure file, DTD and members\n"
         "  archive-store PARTNUMBER FILE        keep a checked archive for an item; its reads deliver it\n"
         "  part-info standard [--off] PARTNUMBER... | part-info bom-type PARTNUMBER|* [TYPE] | part-info ls\n"
         "                                       standard parts (x3GetInfoForParts) and part types (x3GetBomTypes)\n"
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
      {"workplane", "have the CAD session work in one instance of its structure", &AdminCli::WorkplaneCommand},
      {"highlight", "have the CAD session select instances of its structure", &AdminCli::HighlightCommand},
      {"archive-check", "unpack an archive and check it holds what its structure file names",
       &AdminCli::ArchiveCheckCommand},
      {"archive-store", "keep a checked archive as an item's archive; reads deliver it",
       &AdminCli::ArchiveStoreCommand},
      {"part-info", "standard parts and part types the PDM tells before a save", &AdminCli::PartInfoCommand},
  };
  return commands;
}

void AdminCli::Define(CLI::App& app) {
  app.add_option("--vault", vaultOption_, "the vault directory (default: PDMSIM_VAULT)")->type_name("DIR");
  for (const AdminCommand& command : Commands())
    (this->*command.define)(*app.add_subcommand(command.name, command.summary));
}

void AdminCli::VaultCommand(CLI::App& sub) { vault_.Define(sub); }

void AdminCli::LoadIntoCad(CLI::App& sub) {
  struct Options {
    bool add = false;
    bool noStart = false;
    std::vector<std::string> names;
  };
  auto o = std::make_shared<Options>();
  sub.add_flag("--add", o->add, "add them to what the session holds (ZRB_ADD_CMD)");
  sub.add_flag("--no-start", o->noStart, "only remember the choice");
  sub.add_option("PARTNUMBER", o->names, "the items to send")->required();
  chosen_.On(sub, [this, o] {
    auto vault = OpenVault(vaultOption_);
    {
      SqliteTransaction transaction(vault->Db());
      VaultCatalog catalog(*vault);
      PdmSelection(*vault).SetChoice(ResolveObids(catalog, o->names));
      transaction.Commit();
    }
    out_ << "chose " << Joined(o->names) << " for the CAD session\n";
    if (o->noStart) return 0;
    std::string argument = o->add ? "ZRB_ADD_CMD" : "";
    std::string diagnostics;
    if (!SenderClient().StartCmd("ZRBReadCmd", argument, &diagnostics)) {
      throw PdmError("the choice is kept, but the CAD session could not be asked to read it:\n" + diagnostics);
    }
    out_ << "asked the CAD session to read them (StartCmd ZRBReadCmd" << (o->add ? " ZRB_ADD_CMD" : "") << ")\n";
    return 0;
  });
}

void AdminCli::Mark(CLI::App& sub) {
  struct Options {
    bool clear = false;
    std::vector<std::string> names;
  };
  auto o = std::make_shared<Options>();
  sub.add_flag("--clear", o->clear, "forget every mark");
  sub.add_option("PARTNUMBER", o->names, "the items to mark (none: show the marks)");
  chosen_.On(sub, [this, o] {
    auto vault = OpenVault(vaultOption_);
    VaultCatalog catalog(*vault);
    PdmSelection selection(*vault);
    if (o->clear || !o->names.empty()) {
      SqliteTransaction transaction(vault->Db());
      selection.SetMarks(o->clear ? std::vector<std::string>{} : ResolveObids(catalog, o->names));
      transaction.Commit();
    }
    std::vector<std::string> marked = PartNumbersOf(catalog, selection.Marks());
    out_ << (marked.empty() ? std::string("no items are marked") : "marked: " + Joined(marked)) << '\n';
    return 0;
  });
}

void AdminCli::DialogCommand(CLI::App& dialog) {
  dialog.require_subcommand(1);
  CLI::App* status = dialog.add_subcommand("status", "the open dialog and what new dialogs do by themselves");
  chosen_.On(*status, [this] {
    auto vault = OpenVault(vaultOption_);
    auto current = DialogBook(*vault).Current();
    if (!current) {
      out_ << "no PDM dialog is open\n";
    } else {
      out_ << "open: " << current->action << " since " << current->openedAt << " (dialog " << current->id
           << ", request " << current->requestFile << ")\n";
    }
    if (auto setting = DelayedDialogAction::Load(*vault)) {
      out_ << "new dialogs: " << Joined(setting->dialogArgs) << " after " << setting->afterSeconds << " s\n";
    }
    return 0;
  });

  for (const bool complete : {true, false}) {
    struct Options {
      CompletionOptions completion;
      std::optional<int> after;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub = complete ? dialog.add_subcommand("complete", "answer it and send its ready word")
                             : dialog.add_subcommand("cancel", "close it and send PDM_CANCEL");
    sub->add_option("--dialog", o->completion.dialogId, "act only on this dialog")->check(kCount);
    sub->add_option("--after", o->after, "wait this long first")->type_name("SECONDS")->check(kCount);
    if (complete) {
      sub->add_option("--choose", o->completion.choose, "the part numbers chosen (default: the current choice)");
      sub->add_option("--code", o->completion.code, "the ACTION_SUCCESS to answer");
      sub->add_option("--stats", o->completion.stats, "a STATS line of the answer")->allow_extra_args(false);
      sub->add_option("--fail-for", o->completion.failFor, "part numbers that cannot be delivered");
      sub->add_option("--name", o->completion.name, "create for document, save-as: the new part number");
      sub->add_option("--relative-path", o->completion.relativePath, "create for document, save-as: the new file name");
    }
    chosen_.On(*sub, [this, o, complete] {
      WaitSeconds(o->after);
      auto vault = OpenVault(vaultOption_);
      DialogCompleter completer(*vault);
      return complete ? completer.Complete(o->completion, out_) : completer.Cancel(o->completion.dialogId, out_);
    });
  }

  // What every new dialog does by itself is a dialog command line kept for later: its words pass as they are.
  struct Auto {
    std::optional<int> after;
    std::string what;
  };
  auto a = std::make_shared<Auto>();
  CLI::App* automatic = dialog.add_subcommand("auto", "complete or cancel every new dialog by itself");
  automatic->add_option("--after", a->after, "wait this long after the dialog opened")
      ->type_name("SECONDS")
      ->check(kCount);
  // A required word here keeps "complete" and "cancel" from being taken for the sibling commands.
  automatic->add_option("WHAT", a->what, "complete, cancel (with their options) or off")->required();
  automatic->allow_extras();
  chosen_.On(*automatic, [this, a, automatic] {
    std::vector<std::string> rest = automatic->remaining();
    rest.insert(rest.begin(), a->what);
    auto vault = OpenVault(vaultOption_);
    SqliteTransaction transaction(vault->Db());
    if (rest.size() == 1 && rest.front() == "off") {
      DelayedDialogAction::Clear(*vault);
      transaction.Commit();
      out_ << "dialogs wait for the PDM user again\n";
      return 0;
    }
    if (!a->after || rest.empty() || (rest.front() != "complete" && rest.front() != "cancel")) {
      throw PdmError("usage: dialog auto --after SECONDS complete|cancel [options] | dialog auto off", 2);
    }
    AutoDialogSetting setting{*a->after, rest};
    DelayedDialogAction::Save(*vault, setting);
    transaction.Commit();
    out_ << "every new PDM dialog: " << Joined(rest) << " after " << setting.afterSeconds << " s\n";
    return 0;
  });
}

void AdminCli::JournalCommand(CLI::App& journal) {
  auto json = std::make_shared<bool>(false);
  journal.add_flag("--json", *json, "every field of every call, as JSON");
  chosen_.On(journal, [this, json] {
    auto vault = OpenVault(vaultOption_);
    std::vector<JournalEntry> entries = Journal(*vault).Entries();
    if (*json) {
      nlohmann::ordered_json list = nlohmann::ordered_json::array();
      for (const JournalEntry& e : entries) {
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
        // Only where the SAM client saw one: every other field stays a string for the simple readers.
        if (e.connectPort) list.back()["connect_port"] = *e.connectPort;
      }
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
      table.AddRow({std::to_string(e.seq), e.at, ClientText(e), e.action, Joined(quoted), e.outcome});
    }
    table.Print(out_);
    return 0;
  });

  chosen_.On(*journal.add_subcommand("clear", "forget every call"), [this] {
    auto vault = OpenVault(vaultOption_);
    SqliteTransaction transaction(vault->Db());
    Journal(*vault).Clear();
    transaction.Commit();
    out_ << "journal cleared\n";
    return 0;
  });

  struct Show {
    int seq = 0;
    bool answer = false;
    bool xmapList = false;
  };
  auto o = std::make_shared<Show>();
  CLI::App* show = journal.add_subcommand("show", "the copy of a call's request file (or answer, or file list)");
  show->add_option("SEQ", o->seq, "the call's sequence number")->required()->check(kCount);
  CLI::Option* answer = show->add_flag("--answer", o->answer, "the answer instead of the request");
  show->add_flag("--xmap-list", o->xmapList, "the exchange-map file list the module sent")->excludes(answer);
  chosen_.On(*show, [this, o] {
    auto vault = OpenVault(vaultOption_);
    auto entry = Journal(*vault).Entry(o->seq);
    const std::string seq = std::to_string(o->seq);
    if (!entry) throw PdmError("no journal entry " + seq);
    const std::string& copy = o->answer ? entry->answerCopy : o->xmapList ? entry->xmapListCopy : entry->requestCopy;
    const char* what = o->answer ? "an answer" : o->xmapList ? "an exchange-map file list" : "a request file";
    if (copy.empty() || copy.front() != '/') throw PdmError("call " + seq + " came without " + what);
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(copy, bytes, &error)) throw PdmError(error);
    out_ << bytes;
    return 0;
  });
}

void AdminCli::FaultCommand(CLI::App& faults) {
  faults.require_subcommand(1);
  struct Options {
    Fault fault;
    std::optional<int> times;
    std::string answerFile;
  };
  auto o = std::make_shared<Options>();
  CLI::App* set = faults.add_subcommand("set", "change how the PDM answers an action (* for every other action)");
  set->add_option("ACTION", o->fault.action, "the action word, or *")->required();
  set->add_option("--code", o->fault.code, "the ACTION_SUCCESS to answer");
  set->add_option("--stats", o->fault.stats, "a STATS line of the answer")->allow_extra_args(false);
  set->add_flag("--no-rewrite", o->fault.noRewrite, "leave the request file as it is");
  set->add_flag("--garbage", o->fault.garbage, "answer with bytes that are no exchange file");
  set->add_flag("--truncate", o->fault.truncate, "cut the answer off in the middle of a line");
  set->add_option("--delay", o->fault.delayMs, "wait before answering")->type_name("MS")->check(kCount);
  set->add_option("--fail-for", o->fault.failParts, "part numbers that cannot be delivered, created or saved");
  set->add_option("--validate-fail", o->fault.validateFail, "part numbers whose node validation fails")
      ->type_name("PARTNUMBER");
  set->add_option("--answer-file", o->answerFile, "write this answer instead of the PDM's own")->type_name("FILE");
  set->add_option("--times", o->times, "for this many calls only")->type_name("N")->check(kCount);
  chosen_.On(*set, [this, o] {
    Fault& fault = o->fault;
    if (o->times) fault.remaining = *o->times;
    if (!o->answerFile.empty()) {
      std::error_code ec;
      fault.answerFile = std::filesystem::absolute(o->answerFile, ec).string();
      if (ec || !std::filesystem::is_regular_file(fault.answerFile, ec)) {
        throw PdmError("--answer-file names no readable file: " + o->answerFile, 2);
      }
    }
    if (fault.remaining == 0) throw PdmError("--times must be at least 1", 2);
    for (const std::string& line : fault.stats) {
      if (line.find_first_of("{}") != std::string::npos) {
        throw PdmError("a STATS line cannot hold braces (the exchange list format)", 2);
      }
    }
    auto vault = OpenVault(vaultOption_);
    SqliteTransaction transaction(vault->Db());
    FaultPlan(*vault).Set(fault);
    transaction.Commit();
    out_ << "fault set for " << fault.action << '\n';
    return 0;
  });

  auto cleared = std::make_shared<std::vector<std::string>>();
  CLI::App* clear = faults.add_subcommand("clear", "remove the faults of these actions (none: every fault)");
  clear->add_option("ACTION", *cleared, "the action words");
  chosen_.On(*clear, [this, cleared] {
    auto vault = OpenVault(vaultOption_);
    FaultPlan plan(*vault);
    SqliteTransaction transaction(vault->Db());
    if (cleared->empty()) {
      plan.ClearAll();
    } else {
      for (const std::string& action : *cleared) plan.Clear(action);
    }
    transaction.Commit();
    out_ << "faults cleared\n";
    return 0;
  });

  chosen_.On(*faults.add_subcommand("ls", "the faults set"), [this] {
    auto vault = OpenVault(vaultOption_);
    TextTable table({"ACTION", "CODE", "STATS", "REWRITE", "DELAY MS", "FAIL FOR", "VALIDATE FAIL", "TIMES"});
    for (const Fault& f : FaultPlan(*vault).All()) {
      std::string rewrite = f.noRewrite             ? "none"
                            : f.garbage             ? "garbage"
                            : !f.answerFile.empty() ? "canned " + f.answerFile + (f.truncate ? ", truncated" : "")
                            : f.truncate            ? "truncated"
                                                    : "normal";
      table.AddRow({f.action, f.code.value_or(""), Joined(f.stats, " | "), rewrite, std::to_string(f.delayMs),
                    Joined(f.failParts), Joined(f.validateFail),
                    f.remaining < 0 ? "always" : std::to_string(f.remaining)});
    }
    if (table.Empty()) {
      out_ << "no faults set\n";
    } else {
      table.Print(out_);
    }
    return 0;
  });
}

void AdminCli::SettingsCommand(CLI::App& sub) {
  auto words = std::make_shared<std::vector<std::string>>();
  sub.add_option("WORDS", *words, "[set] KEY [VALUE]: one setting, or a new value for it")->expected(0, 3);
  chosen_.On(sub, [this, words] {
    std::vector<std::string> positionals = *words;
    // "settings set KEY VALUE" is the same as "settings KEY VALUE".
    if (positionals.size() == 3 && positionals[0] == "set") positionals.erase(positionals.begin());
    auto vault = OpenVault(vaultOption_);
    static const std::vector<std::pair<std::string, std::string>> kKnown = {{"pdm.data_model", "LEGACY_DATA_MODEL"},
                                                                            {"pdm.product_support", "1"},
                                                                            {"pdm.design_tables", "ON"},
                                                                            {"archive.refuse_parts", ""},
                                                                            {"archive.require_filename", "ON"},
                                                                            {"blackbox.flaw", ""},
                                                                            {"sam.port", "7411"},
                                                                            {"pdm.strict_clients", "OFF"},
                                                                            {"sam.pdm.data_model", ""},
                                                                            {"sam.pdm.product_support", ""},
                                                                            {"sam.pdm.design_tables", ""}};
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
  });
}

void AdminCli::ArchiveCheckCommand(CLI::App& sub) {
  auto file = std::make_shared<std::string>();
  sub.add_option("FILE", *file, "the packed archive")->required();
  chosen_.On(sub, [this, file] {
    const ArchiveContent content = ArchiveStore::Check(*file);
    out_ << "structure file: " << (content.structureFile.empty() ? "-" : content.structureFile) << '\n';
    for (const std::string& member : content.members) out_ << "member: " << member << '\n';
    for (const std::string& problem : content.problems) out_ << "problem: " << problem << '\n';
    return content.Ok() ? 0 : 1;
  });
}

void AdminCli::ArchiveStoreCommand(CLI::App& sub) {
  auto partNumber = std::make_shared<std::string>();
  auto file = std::make_shared<std::string>();
  sub.add_option("PARTNUMBER", *partNumber, "the item the archive belongs to")->required();
  sub.add_option("FILE", *file, "the packed archive")->required();
  chosen_.On(sub, [this, partNumber, file] {
    auto vault = OpenVault(vaultOption_);
    if (!VaultCatalog(*vault).FindItemByPartNumber(*partNumber)) throw PdmError("no item " + *partNumber, 2);
    SqliteTransaction transaction(vault->Db());
    std::string error;
    if (!ArchiveStore::Keep(*vault, *partNumber, *file, error)) throw PdmError(error, 1);
    transaction.Commit();
    out_ << "archive of " << *partNumber << " kept\n";
    return 0;
  });
}

}  // namespace pdmsim
