// The PDM user completing a create-for-document or save-as dialog: the new part number (and file name) chosen
// there, the item made from the request's document, the ready word sent.
#include <ostream>

#include "AnswerWriter.h"
#include "CreateAnswer.h"
#include "DialogCompleter.h"
#include "PdmError.h"
#include "SenderClient.h"
#include "Sqlite.h"

namespace pdmsim {

int DialogCompleter::CompleteCreate(const Dialog& dialog, const CompletionOptions& options, std::ostream& out) {
  if (options.name.empty()) throw PdmError("name the new item: pdmsim dialog complete --name PARTNUMBER");
  ParseReport report;
  std::string error;
  auto answer = ExchangeFile::Load(dialog.requestFile, &error, &report);
  if (!answer) throw PdmError("the dialog's request is gone: " + error);
  if (!report.complete) {
    throw PdmError(dialog.requestFile + " is unreadable at line " + std::to_string(report.stopLine) + " (" +
                   report.reason + "); it was left as it is");
  }
  answer->FindOrAdd("ROOT", true).Remove("STATS");
  CreateChoice choice;
  choice.partNumber = options.name;
  choice.relativePath = options.relativePath;
  choice.partType = answer->FindOrAdd("ROOT", true).Get("USE_BOM_FOR_SAVE_AS");
  {
    SqliteTransaction transaction(vault_.Db());
    const ExchangeFile request = *answer;
    std::set<std::string, std::less<>> failFor(options.failFor.begin(), options.failFor.end());
    const std::string note = CreateAnswer(vault_, dialog.exmap, std::move(failFor)).Apply(*answer, choice);
    Fault adjustments;
    adjustments.code = options.code;
    adjustments.stats = options.stats;
    AnswerWriter::ApplyToRoot(*answer, adjustments);
    const std::string code = answer->FindOrAdd("ROOT", true).Get("ACTION_SUCCESS");
    if (code != "1" && code != "3") {
      // A refused create answers no identity: the request goes back with the code and the reasons only.
      const std::vector<std::string> stats = answer->FindOrAdd("ROOT", true).GetList("STATS");
      *answer = request;
      answer->FindOrAdd("ROOT", true).Set("ACTION_SUCCESS", code);
      answer->FindOrAdd("ROOT", true).SetList("STATS", stats);
    }
    if (!answer->SaveAtomic(dialog.requestFile, &error)) throw PdmError(error);
    // An item the answer does not report as made is not kept.
    if (code == "1" || code == "3") transaction.Commit();
    out << "answer written to " << dialog.requestFile << " (ACTION_SUCCESS " << code << ", " << note << ")\n";
  }
  const std::string word = DialogBook::ReadyWordFor(dialog.action);
  std::string diagnostics;
  if (!SenderClient().SetStatus(word, &diagnostics)) {
    throw PdmError("the answer is written but the CAD session could not be told (" + word + "): " + diagnostics +
                   "\nrun the command again once the session is reachable");
  }
  DialogBook dialogs(vault_);
  SqliteTransaction transaction(vault_.Db());
  dialogs.Close(dialog.id, "completed", word);
  transaction.Commit();
  out << "sent " << word << " to the CAD session\n";
  return 0;
}

}  // namespace pdmsim
