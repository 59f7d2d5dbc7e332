#include "DialogCompleter.h"

#include <ostream>
#include <set>

#include "AnswerWriter.h"
#include "CachedFileList.h"
#include "CreateAnswer.h"
#include "DialogBook.h"
#include "FileStore.h"
#include "PdmError.h"
#include "PdmSelection.h"
#include "SenderClient.h"
#include "StructureAnswer.h"
#include "VaultCatalog.h"

namespace pdmsim {
namespace {

// The open dialog to act on; nullopt (with a message) when there is none.
std::optional<Dialog> OpenDialog(DialogBook& dialogs, std::optional<std::int64_t> id, std::ostream& out) {
  if (id) {
    auto dialog = dialogs.Find(*id);
    if (dialog && dialog->state == "open") return dialog;
    out << "dialog " << *id << " is no longer open; nothing to do\n";
    return std::nullopt;
  }
  auto dialog = dialogs.Current();
  if (!dialog) throw PdmError("no PDM dialog is open (a two-step command of the CAD session opens one)");
  return dialog;
}

}  // namespace

int DialogCompleter::Complete(const CompletionOptions& options, std::ostream& out) {
  DialogBook dialogs(vault_);
  auto dialog = OpenDialog(dialogs, options.dialogId, out);
  if (!dialog) return 0;
  if (CreateAnswer::IsDialogWord(dialog->action)) return CompleteCreate(*dialog, options, out);

  VaultCatalog catalog(vault_);
  std::vector<Item> chosen;
  if (!options.choose.empty()) {
    for (const std::string& partNumber : options.choose) {
      auto item = catalog.FindItemByPartNumber(partNumber);
      if (!item) throw PdmError("no item with part number " + partNumber + " in the vault");
      chosen.push_back(*item);
    }
  } else {
    for (const std::string& obid : PdmSelection(vault_).Choice()) {
      if (auto item = catalog.FindItem(obid)) chosen.push_back(*item);
    }
  }
  if (chosen.empty()) throw PdmError("choose what the dialog hands over: pdmsim dialog complete --choose PARTNUMBER");

  ParseReport report;
  std::string error;
  auto answer = ExchangeFile::Load(dialog->requestFile, &error, &report);
  if (!answer) throw PdmError("the dialog's request is gone: " + error);
  if (!report.complete) {
    throw PdmError(dialog->requestFile + " is unreadable at line " + std::to_string(report.stopLine) + " (" +
                   report.reason + "); it was left as it is");
  }
  answer->FindOrAdd("ROOT", true).Remove("STATS");
  const ExchangeObject* command = answer->Find("COMMAND");
  CachedFileList cached = CachedFileList::Load(command ? command->Get("XMAPCONTENT") : std::string());
  FileStore store(vault_);
  StructureAnswer builder(catalog, store, dialog->exmap, std::move(cached),
                          std::set<std::string, std::less<>>(options.failFor.begin(), options.failFor.end()));
  DeliveryReport delivery = builder.Build(*answer, "ROOT", chosen);
  ExchangeObject& root = *answer->Find("ROOT");
  root.Set("ACTION_SUCCESS", delivery.topLevel == 0 ? "0" : (delivery.warnings.empty() ? "1" : "3"));
  for (const std::string& line : delivery.warnings) root.Append("STATS", line);
  Fault adjustments;
  adjustments.code = options.code;
  adjustments.stats = options.stats;
  AnswerWriter::ApplyToRoot(*answer, adjustments);
  if (!answer->SaveAtomic(dialog->requestFile, &error)) throw PdmError(error);
  out << "answer written to " << dialog->requestFile << " (ACTION_SUCCESS " << root.Get("ACTION_SUCCESS") << ", "
      << delivery.delivered << " documents delivered)\n";

  std::string word = DialogBook::ReadyWordFor(dialog->action);
  std::string diagnostics;
  if (!SenderClient().SetStatus(word, &diagnostics)) {
    throw PdmError("the answer is written but the CAD session could not be told (" + word + "): " + diagnostics +
                   "\nrun the command again once the session is reachable");
  }
  SqliteTransaction transaction(vault_.Db());
  dialogs.Close(dialog->id, "completed", word);
  transaction.Commit();
  out << "sent " << word << " to the CAD session\n";
  return 0;
}

int DialogCompleter::Cancel(std::optional<std::int64_t> dialogId, std::ostream& out) {
  DialogBook dialogs(vault_);
  auto dialog = OpenDialog(dialogs, dialogId, out);
  if (!dialog) return 0;
  std::string diagnostics;
  if (!SenderClient().SetStatus("PDM_CANCEL", &diagnostics)) {
    throw PdmError("the CAD session could not be told (PDM_CANCEL): " + diagnostics);
  }
  SqliteTransaction transaction(vault_.Db());
  dialogs.Close(dialog->id, "cancelled", "PDM_CANCEL");
  transaction.Commit();
  out << "sent PDM_CANCEL to the CAD session\n";
  return 0;
}

}  // namespace pdmsim
