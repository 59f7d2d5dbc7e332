// The PDM's side of the create and save-as words: a new item made from the
// document the request names, at once ("x3CreateCADPartFrFile",
// "x3CreateCADDrawFrFile", "x3CreateCADLegacyFromFile") or when the PDM user
// completes the dialog that create-for-document and save-as open, with the new
// part number chosen there. These words carry the document's path, not the
// request's: the request lies beside it as "rfile.zrb".
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ExchangeFile.h"
#include "FaultPlan.h"
#include "Vault.h"
#include "VaultRecords.h"

namespace pdmsim {

struct CreateChoice {
  std::string partNumber;    // the new item's; empty: the document's own
  std::string relativePath;  // the file name the PDM gives the document; empty keeps it
  std::string partType;      // "BOM" or "NO_BOM"; empty: not told
};

class CreateAnswer {
 public:
  static bool IsCreateWord(std::string_view action);
  // Words whose first step opens a dialog (create for document, save-as).
  static bool IsDialogWord(std::string_view action);
  // "rfile.zrb" beside the document the call names; "" without one.
  static std::string RequestPathFor(const std::vector<std::string>& args);

  // One session call of a create word: dialog words open their dialog ("2"); the others create at once, and a
  // failure or a forced code other than "1"/"3" keeps nothing in the vault. Returns the journal's note.
  static std::string AnswerCall(Vault& vault, std::string_view action, const std::vector<std::string>& args,
                                ExchangeFile& file, const std::string& exchangeMap, const std::optional<Fault>& fault);

  CreateAnswer(Vault& vault, std::string exchangeMap, std::set<std::string, std::less<>> failParts)
      : vault_(vault), exchangeMap_(std::move(exchangeMap)), failParts_(std::move(failParts)) {}

  // Creates the item and writes its identity into the request's first object; returns the journal's note.
  // "ACTION_SUCCESS" becomes "1", or "0" with a "STATS" line when nothing was created.
  std::string Apply(ExchangeFile& file, const CreateChoice& choice);

 private:
  std::string Fail(ExchangeFile& file, const std::string& line);
  // The request's new design tables ("LINK_DESTAB" "1") become documents of the new item ("LINK_SUCCESS").
  void LinkTables(ExchangeFile& file, ExchangeObject& node, const Item& item);

  Vault& vault_;
  std::string exchangeMap_;
  std::set<std::string, std::less<>> failParts_;
};

}  // namespace pdmsim
