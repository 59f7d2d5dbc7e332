#include "SessionCommand.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <thread>

#include "AnswerWriter.h"
#include "ArchiveAnswer.h"
#include "BlackBoxAnswer.h"
#include "CachedFileList.h"
#include "CreateAnswer.h"
#include "CustomAttributes.h"
#include "DelayedDialogAction.h"
#include "DependencyAnswers.h"
#include "DialogBook.h"
#include "FileStore.h"
#include "GmtTime.h"
#include "Journal.h"
#include "OrigGeoAnswer.h"
#include "PartInfoAnswer.h"
#include "PdmError.h"
#include "PdmSelection.h"
#include "Pointing.h"
#include "SamClient.h"
#include "SaveAnswer.h"
#include "StructureAnswer.h"
#include "ToolboxAnswer.h"
#include "VaultCatalog.h"
#include "WorkbenchAnswer.h"

namespace pdmsim {
namespace fs = std::filesystem;

namespace {

std::string RequestPathOf(const SessionCall& call) { return call.args.empty() ? std::string() : call.args.front(); }

void SetFailure(ExchangeFile& file, const std::string& line) {
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", "0");
  root.Append("STATS", line);
}

std::vector<Item> ResolveItems(VaultCatalog& catalog, const std::vector<std::string>& obids) {
  std::vector<Item> items;
  for (const std::string& obid : obids) {
    if (auto item = catalog.FindItem(obid)) items.push_back(*item);
  }
  return items;
}

}  // namespace

std::string SessionCommand::ExchangeMapOf(const ExchangeFile& request, const std::string& requestPath) {
  if (const ExchangeObject* command = request.Find("COMMAND")) {
    std::string exmap = command->Get("EXMAP");
    while (exmap.size() > 1 && exmap.back() == '/') exmap.pop_back();
    if (!exmap.empty()) return exmap;
  }
  return fs::absolute(requestPath).parent_path().string();
}

int SessionCommand::RunWithoutVault(const std::string& reason) {
  // Without a vault nothing can be journaled; still tell the designer why.
  std::cerr << "pdmsim: " << reason << "\n";
  std::string path = RequestPathOf(call_);
  if (path.empty() || DialogBook::IsCancelWord(call_.action)) return 2;
  ParseReport report;
  std::string error;
  auto request = ExchangeFile::Load(path, &error, &report);
  if (!request || !report.complete) return 2;
  SetFailure(*request, "Reference PDM: " + reason);
  request->SaveAtomic(path, &error);
  return 2;
}

int SessionCommand::Run() {
  try {
    return RunJournaled();
  } catch (const std::exception& error) {
    // The journal keeps why the call went unanswered; main reports it.
    if (journaledSeq_ > 0 && vault_) {
      try {
        Journal(*vault_).SetOutcome(journaledSeq_, std::string("failed: ") + error.what());
      } catch (...) {
        // The vault itself is failing; the message on standard error must do.
      }
    }
    throw;
  }
}

int SessionCommand::RunJournaled() {
  std::unique_ptr<Vault>& vault = vault_;
  try {
    vault = Vault::Open(Vault::ResolveDirectory(call_.vaultOption));
  } catch (const PdmError& error) {
    return RunWithoutVault(error.what());
  }
  Journal journal(*vault);
  const bool cancelWord = DialogBook::IsCancelWord(call_.action);
  const bool takesFile = !cancelWord && call_.action != "StartSam";
  std::string requestPath = takesFile ? RequestPathOf(call_) : std::string();
  if (takesFile && CreateAnswer::IsCreateWord(call_.action)) requestPath = CreateAnswer::RequestPathFor(call_.args);
  std::int64_t seq = journal.Record(call_.role, call_.action, call_.args, requestPath);
  journaledSeq_ = seq;
  if (call_.role == "sam") journal.KeepConnectPort(seq, std::getenv("SAMCONNECTPORT"));
  if (std::string refusal = SamClient::RefusalFor(*vault, call_.role, call_.action); !refusal.empty())
    return SamClient::Refuse(journal, seq, refusal, requestPath);

  FaultPlan faults(*vault);
  std::optional<Fault> fault = faults.Take(call_.action);
  if (fault && fault->delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));

  if (cancelWord) return CloseDialogFor(*vault, seq);
  if (call_.action == "StartSam") return SamClient::Start(*vault, journal, seq, fault);
  if (!takesFile) {
    journal.SetOutcome(seq, "noted");
    return 0;
  }
  if (requestPath.empty()) {
    journal.SetOutcome(seq, "no request file named");
    std::cerr << "pdmsim: " << call_.action << " needs the request file as its argument\n";
    return 3;
  }
  ParseReport report;
  std::string error;
  auto request = ExchangeFile::Load(requestPath, &error, &report);
  if (!request) {
    journal.SetOutcome(seq, "no request: " + error);
    std::cerr << "pdmsim: " << error << "\n";
    return 3;
  }
  if (!report.complete) {
    // Rewriting would drop whatever the reader could not follow.
    std::string note =
        "request unreadable at line " + std::to_string(report.stopLine) + " (" + report.reason + "); left as it was";
    journal.SetOutcome(seq, note);
    std::cerr << "pdmsim: " << requestPath << ": " << note << "\n";
    return 3;
  }

  if (const ExchangeObject* command = request->Find("COMMAND"))
    journal.KeepExchangeMapList(seq, command->Get("XMAPCONTENT"));

  Answering answering;
  answering.file = std::move(*request);
  // "STATS" is the PDM's own slot: lines of an earlier answer do not carry over.
  ExchangeObject& root = answering.file.FindOrAdd("ROOT", true);
  root.Remove("STATS");
  // The result code leads a "ROOT" the PDM had to create.
  if (!root.Has("ACTION_SUCCESS")) root.Set("ACTION_SUCCESS", "0");
  answering.exchangeMap = ExchangeMapOf(answering.file, requestPath);
  answering.seq = seq;
  answering.fault = fault;

  std::optional<SqliteTransaction> transaction(std::in_place, vault->Db());
  if (call_.action == "x3WriteZRBFile") {
    AnswerRead(*vault, answering);
  } else if (call_.action == "x3AddTempCad" || call_.action == "x3UsePdmStructure") {
    AnswerAddTemp(answering);
  } else if (call_.action == "x3GetDependencyInfo") {
    answering.outcome = AnswerDependencyInfo(*vault, answering.file);
  } else if (call_.action == "x3GetDependentFiles") {
    answering.outcome = AnswerDependentFiles(*vault, answering.file, answering.exchangeMap);
  } else if (call_.action == "x3GetOrigGeoForVis") {
    answering.outcome = AnswerOrigGeo(*vault, answering.file, answering.exchangeMap, fault);
  } else if (call_.action == "x3GetPDMSettings") {
    AnswerSettings(*vault, answering);
  } else if (call_.action == "x3GetCustomAttrsCad") {
    answering.outcome = CustomAttributes(*vault).Answer(answering.file);
  } else if (call_.action == "x3UpdateFromFile" || call_.action == "x3CreateArchiveFrFile") {
    // The SAM client attaches an archive with a word of its own; the request is the same save request.
    AnswerUpdate(*vault, answering);
  } else if (call_.action == "x3ValidateCadNodes") {
    AnswerValidate(answering);
  } else if (call_.action == "x3ValidateArchive") {
    answering.outcome = AnswerValidateArchive(*vault, answering.file, fault);
  } else if (call_.action == "x3HighlightInWB") {
    answering.outcome = AnswerShowInWorkbench(*vault, answering.file);
  } else if (CreateAnswer::IsCreateWord(call_.action)) {
    answering.outcome = CreateAnswer::AnswerCall(*vault, call_.action, call_.args, answering.file,
                                                 answering.exchangeMap, answering.fault);
  } else if (call_.action == "x3GetInfoForParts") {
    answering.outcome = PartInfoAnswer(*vault).AnswerStandardParts(answering.file, fault);
  } else if (call_.action == "x3GetBomTypes") {
    answering.outcome = PartInfoAnswer(*vault).AnswerBomTypes(answering.file, fault);
  } else if (call_.action == "x3UpdateWBFromFile") {
    answering.outcome = WorkbenchAnswer(*vault).Answer(answering.file);
  } else if (call_.action == "x3AttachBlackBoxCmd") {
    answering.outcome = BlackBoxAnswer(*vault).Answer(answering.file, answering.exchangeMap);
  } else if (ToolboxAnswer::IsToolboxWord(call_.action)) {
    answering.outcome = ToolboxAnswer(*vault).Answer(call_.action, answering.file, answering.exchangeMap);
  } else {
    AnswerUnsupported(answering);
  }
  AnswerWriter::ApplyToRoot(answering.file, fault);
  const std::string code = answering.file.FindOrAdd("ROOT", true).Get("ACTION_SUCCESS");

  bool opensDialog = (call_.action == "x3AddTempCad" || call_.action == "x3UsePdmStructure" ||
                      CreateAnswer::IsDialogWord(call_.action)) &&
                     code == "2";
  if (opensDialog) {
    Dialog dialog;
    dialog.id = seq;
    dialog.action = call_.action;
    dialog.requestFile = fs::absolute(requestPath).string();
    dialog.exmap = answering.exchangeMap;
    dialog.role = call_.role;
    dialog.openedAt = GmtTime::Now();
    DialogBook(*vault).Open(dialog);
  }

  std::string note;
  if (!AnswerWriter::Write(answering.file, requestPath, fault, answering.exchangeMap, note, &error)) {
    transaction.reset();  // nothing of this call stays in the vault
    journal.SetOutcome(seq, "answer not written: " + error);
    std::cerr << "pdmsim: " << error << "\n";
    return 3;
  }
  journal.KeepAnswer(seq, fault && fault->noRewrite ? std::string() : requestPath, AnswerWriter::SourceOf(fault));
  journal.SetOutcome(seq,
                     note + ": ACTION_SUCCESS " + code + (answering.outcome.empty() ? "" : "; ") + answering.outcome);
  transaction->Commit();

  if (opensDialog) DelayedDialogAction::StartIfConfigured(*vault, seq);
  return 0;
}

int SessionCommand::CloseDialogFor(Vault& vault, std::int64_t seq) {
  SqliteTransaction transaction(vault.Db());
  DialogBook dialogs(vault);
  Journal journal(vault);
  auto current = dialogs.Current();
  if (current && DialogBook::CancelWordCloses(call_.action, current->action)) {
    dialogs.Close(current->id, "closed by CAD", call_.action);
    journal.SetOutcome(seq, "dialog " + std::to_string(current->id) + " closed");
  } else {
    journal.SetOutcome(seq, "no open dialog to close");
  }
  transaction.Commit();
  return 0;
}

void SessionCommand::AnswerRead(Vault& vault, Answering& answering) {
  ExchangeObject& root = answering.file.FindOrAdd("ROOT", true);
  const ExchangeObject* command = answering.file.Find("COMMAND");
  const bool marked = command && command->Get("MARKEDFLAG") == "ON";
  VaultCatalog catalog(vault);
  PdmSelection selection(vault);
  std::vector<Item> chosen = ResolveItems(catalog, marked ? selection.Marks() : selection.Choice());
  std::error_code ec;
  if (!fs::is_directory(answering.exchangeMap, ec)) {
    root.Set("ACTION_SUCCESS", "0");
    root.Append("STATS", "Reference PDM: the exchange map " + answering.exchangeMap + " is not a directory.");
    answering.outcome = "no exchange map";
    return;
  }
  if (chosen.empty()) {
    root.Set("ACTION_SUCCESS", "0");
    root.Append("STATS", marked ? "Reference PDM: no items are marked (pdmsim mark PARTNUMBER)."
                                : "Reference PDM: nothing was chosen for the CAD session "
                                  "(pdmsim load-into-cad PARTNUMBER).");
    answering.outcome = "nothing chosen";
    return;
  }
  std::set<std::string, std::less<>> failParts;
  if (answering.fault) failParts.insert(answering.fault->failParts.begin(), answering.fault->failParts.end());
  CachedFileList cached = CachedFileList::Load(command ? command->Get("XMAPCONTENT") : std::string());
  FileStore store(vault);
  StructureAnswer builder(catalog, store, answering.exchangeMap, std::move(cached), std::move(failParts));
  DeliveryReport report = builder.Build(answering.file, "ROOT", chosen);
  std::vector<std::string> chosenParts;
  for (const Item& item : chosen) chosenParts.push_back(item.partNumber);
  if (report.topLevel > 0) ArchiveStore::Deliver(vault, answering.file, chosenParts, answering.exchangeMap);
  ExchangeObject& answerRoot = *answering.file.Find("ROOT");
  answerRoot.Set("ACTION_SUCCESS", report.topLevel == 0 ? "0" : (report.warnings.empty() ? "1" : "3"));
  for (const std::string& line : report.warnings) answerRoot.Append("STATS", line);
  answering.outcome =
      std::to_string(report.delivered) + " delivered, " + std::to_string(report.reused) + " from the exchange map";
}

void SessionCommand::AnswerAddTemp(Answering& answering) {
  // Step 1 only opens the PDM dialog; the answer comes with `dialog complete`.
  answering.file.FindOrAdd("ROOT", true).Set("ACTION_SUCCESS", "2");
  answering.outcome = "dialog opened";
}

void SessionCommand::AnswerSettings(Vault& vault, Answering& answering) {
  ExchangeObject& root = answering.file.FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", "1");
  // The SAM client's PDM may be set up apart: "sam.pdm.KEY" before the common "pdm.KEY".
  const auto setting = [&](const std::string& key, const char* fallback) {
    std::optional<std::string> value;
    if (call_.role == "sam") value = vault.Setting("sam." + key);
    if (!value) value = vault.Setting(key);
    return value.value_or(fallback);
  };
  root.Set("CADPART_DATA_MODEL", setting("pdm.data_model", "LEGACY_DATA_MODEL"));
  root.Set("PRDSUPPORT", setting("pdm.product_support", "1"));
  root.Set("ZRB_DESIGN_TABLES", setting("pdm.design_tables", "ON"));
}

void SessionCommand::AnswerUpdate(Vault& vault, Answering& answering) {
  const ExchangeFile request = answering.file;
  const std::optional<Fault>& fault = answering.fault;
  std::set<std::string, std::less<>> failParts;
  if (fault) failParts.insert(fault->failParts.begin(), fault->failParts.end());
  // The save's own changes sit in a savepoint: an answer the module will not take leaves the vault as it was,
  // while the journal of the call is kept.
  vault.Db().Exec("SAVEPOINT save_action");
  const ArchiveSaveReport archives = ApplySaveArchives(vault, answering.file, answering.exchangeMap);
  SaveReport report = SaveAnswer(vault, answering.exchangeMap, std::move(failParts)).Apply(answering.file);
  report.created += archives.created;
  report.saved += archives.stored;
  report.failed += archives.failed;
  report.warnings.insert(report.warnings.begin(), archives.warnings.begin(), archives.warnings.end());
  const std::string code = report.refused ? "0" : report.failed > 0 ? "3" : "1";
  const std::string taken = fault && fault->code ? *fault->code : code;
  const bool unreadable =
      fault && (fault->noRewrite || fault->garbage || fault->truncate || !fault->answerFile.empty());
  // A request that could not be followed keeps nothing, whatever code a fault forces.
  const bool keep = (taken == "1" || taken == "3") && !unreadable && !report.refused;
  if (keep) {
    vault.Db().Exec("RELEASE save_action");
  } else {
    vault.Db().Exec("ROLLBACK TO save_action; RELEASE save_action");
    // A failed or cancelled save answers no identities: the request goes back with the result code only.
    if (report.refused || (taken != "1" && taken != "3")) answering.file = request;
  }
  ExchangeObject& root = answering.file.FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", code);
  for (const std::string& line : report.warnings) root.Append("STATS", line);
  answering.outcome = report.Summary() + (keep ? "" : "; nothing kept");
}

void SessionCommand::AnswerValidate(Answering& answering) {
  std::set<std::string, std::less<>> refused;
  if (answering.fault) refused.insert(answering.fault->validateFail.begin(), answering.fault->validateFail.end());
  int nodes = 0;
  int failed = 0;
  ExchangeObject& root = answering.file.FindOrAdd("ROOT", true);
  for (ExchangeObject& node : answering.file.Objects()) {
    if (node.Key() == "ROOT" || node.Key() == "COMMAND") continue;
    ++nodes;
    const std::string partNumber = node.Get("PARTNUMBER");
    if (refused.count(partNumber) == 0) {
      node.Set("VALIDATE_SUCCESS", "1");
      continue;
    }
    ++failed;
    const std::string line = "Reference PDM: " + partNumber + " (" + node.Get("OPERATION") + ") is not valid here.";
    node.Set("VALIDATE_SUCCESS", "0");
    node.Set("VALIDATE_MSG", line);
    root.Append("STATS", line);
  }
  root.Set("ACTION_SUCCESS", "1");
  answering.outcome = std::to_string(nodes) + " nodes, " + std::to_string(failed) + " not valid";
}

void SessionCommand::AnswerUnsupported(Answering& answering) {
  ExchangeObject& root = answering.file.FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", "0");
  root.Append("STATS", "Reference PDM: the action " + call_.action + " is not supported yet.");
  answering.outcome = "not supported";
}

}  // namespace pdmsim
