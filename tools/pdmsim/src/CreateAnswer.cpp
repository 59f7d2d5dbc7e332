#include "CreateAnswer.h"

#include <filesystem>
#include <system_error>

#include "FileStore.h"
#include "PlainFileName.h"
#include "Sqlite.h"
#include "VaultCatalog.h"

namespace pdmsim {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kCreateWords[] = {
    "x3CreateCADPartFrFile",   "x3CreateCADDrawFrFile", "x3CreateCADLegacyFromFile", "x3CreateCadPrtDocFrFile",
    "x3CreateCadDrwDocFrFile", "x3SaveAsCADPartFrFile", "x3SaveAsCADDrawFrFile",     "x3SaveAsCADPartLegacyFrFl"};

bool Carriable(std::string_view text) { return text.find_first_of("{}\r\n") == std::string_view::npos; }

}  // namespace

bool CreateAnswer::IsCreateWord(std::string_view action) {
  for (std::string_view word : kCreateWords) {
    if (word == action) return true;
  }
  return false;
}

bool CreateAnswer::IsDialogWord(std::string_view action) {
  return IsCreateWord(action) && action != "x3CreateCADPartFrFile" && action != "x3CreateCADDrawFrFile" &&
         action != "x3CreateCADLegacyFromFile";
}

std::string CreateAnswer::RequestPathFor(const std::vector<std::string>& args) {
  if (args.empty() || args.front().empty()) return {};
  return (fs::absolute(args.front()).parent_path() / "rfile.zrb").string();
}

std::string CreateAnswer::AnswerCall(Vault& vault, std::string_view action, const std::vector<std::string>& args,
                                     ExchangeFile& file, const std::string& exchangeMap,
                                     const std::optional<Fault>& fault) {
  if (IsDialogWord(action)) {
    // The first step only opens the PDM dialog; `dialog complete --name` answers it.
    file.FindOrAdd("ROOT", true).Set("ACTION_SUCCESS", "2");
    return "dialog opened";
  }
  std::set<std::string, std::less<>> failParts;
  if (fault) failParts.insert(fault->failParts.begin(), fault->failParts.end());
  const ExchangeFile request = file;
  CreateChoice choice;
  if (args.size() > 1) choice.partType = args[1];
  // A legacy model is an item of its own beside the part it was made from: its file name is its part number.
  if (action == "x3CreateCADLegacyFromFile" && !args.empty()) choice.partNumber = fs::path(args[0]).filename().string();
  vault.Db().Exec("SAVEPOINT create_action");
  std::string note = CreateAnswer(vault, exchangeMap, std::move(failParts)).Apply(file, choice);
  const std::string code = file.FindOrAdd("ROOT", true).Get("ACTION_SUCCESS");
  const std::string taken = fault && fault->code ? *fault->code : code;
  // An answer the module cannot read leaves it without the identity: the vault must not keep the item either.
  const bool unreadable =
      fault && (fault->noRewrite || fault->garbage || fault->truncate || !fault->answerFile.empty());
  if ((taken == "1" || taken == "3") && code == "1" && !unreadable) {
    vault.Db().Exec("RELEASE create_action");
    return note;
  }
  vault.Db().Exec("ROLLBACK TO create_action; RELEASE create_action");
  // A failed create answers no identity: the request goes back with the result code and the reasons only.
  const std::vector<std::string> stats = file.FindOrAdd("ROOT", true).GetList("STATS");
  file = request;
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", code);
  root.SetList("STATS", stats);
  return note + "; nothing kept";
}

std::string CreateAnswer::Fail(ExchangeFile& file, const std::string& line) {
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", "0");
  root.Append("STATS", "Reference PDM: " + line);
  return "not created";
}

std::string CreateAnswer::Apply(ExchangeFile& file, const CreateChoice& choice) {
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  const std::vector<std::string> keys = root.GetList("SUBASSEMBLIES");
  ExchangeObject* node = keys.empty() ? nullptr : file.Find(keys.front());
  if (!node) return Fail(file, "the request names no document object.");
  const std::string className = root.Get("CADCLASSNAME");
  std::string path = node->Get("PATH");
  if (!path.empty() && fs::path(path).is_relative()) path = (fs::path(exchangeMap_) / path).string();
  const std::string fileName = fs::path(path).filename().string();
  std::error_code ec;
  if (path.empty() || !IsPlainFileName(fileName) || !fs::is_regular_file(path, ec)) {
    return Fail(file, "the document \"" + path + "\" cannot be read.");
  }
  std::string partNumber = choice.partNumber.empty() ? node->Get("PARTNUMBER") : choice.partNumber;
  if (partNumber.empty()) partNumber = fs::path(path).stem().string();
  if (!Carriable(partNumber)) return Fail(file, "a new item needs a part number the exchange format can carry.");
  if (failParts_.count(partNumber) > 0) return Fail(file, partNumber + " cannot be created here.");
  std::string storedName = fileName;
  if (!choice.relativePath.empty()) storedName = choice.relativePath + fs::path(path).extension().string();
  if (!IsPlainFileName(storedName)) return Fail(file, "the new name \"" + storedName + "\" is no file name.");

  VaultCatalog catalog(vault_);
  // A legacy model saved from a part stays tied to that part, which the PDM must know.
  const std::string original = root.Get("CADORIGOBID");
  if (!original.empty() && !catalog.FindItem(original)) {
    return Fail(file, "the part " + original + " the legacy model is made from is not in the PDM.");
  }
  if (catalog.FindItemByPartNumber(partNumber)) return Fail(file, "the part number is already used in the PDM.");
  if (catalog.FindDocumentByFileName(storedName)) {
    return Fail(file, "the PDM already holds a document named " + storedName + ".");
  }
  Item item;
  item.partNumber = partNumber;
  item.kind = className == "CADDrawing" ? "drawing" : "part";
  item = catalog.AddItem(item);
  Document doc;
  doc.itemObid = item.obid;
  doc.role = item.kind == "drawing" ? "drawing" : "part";
  doc.fileName = storedName;
  doc.blob = FileStore(vault_).PutFile(path, doc.size);
  doc.modified = item.modified;
  catalog.AddDocument(doc);
  if (!choice.partType.empty()) catalog.SetAttribute(item.obid, "PART_TYPE", choice.partType);
  if (!original.empty()) catalog.SetAttribute(item.obid, "LEGACY_OF", original);
  LinkTables(file, *node, item);

  node->Set("OBID", item.obid);
  node->Set("CLASSNAME", item.className);
  node->Set("DB_NAME", item.dbName);
  node->Set("CHANGEABLE", "1");
  node->Set("DESCRIPTION", partNumber);
  node->Set("MODIFICATION_DATE_GMT", item.modified);
  node->Set("EXTERNAL_LOCATION", (fs::path(exchangeMap_) / storedName).string());
  node->Set("PATH", (fs::path(exchangeMap_) / storedName).string());
  node->Set("RELATIVE_PATH", choice.relativePath);
  root.Set("ACTION_SUCCESS", "1");
  return "created " + partNumber + " (" + item.obid + ")";
}

void CreateAnswer::LinkTables(ExchangeFile& file, ExchangeObject& node, const Item& item) {
  VaultCatalog catalog(vault_);
  for (const std::string& key : node.GetList("TABLES")) {
    ExchangeObject* table = file.Find(key);
    if (!table || table == &node || table->Get("LINK_DESTAB") != "1") continue;
    std::string location = table->Get("EXTERNAL_LOCATION");
    if (location.empty()) location = table->Get("PATH");
    const std::string fileName = fs::path(location).filename().string();
    const std::string stored = (fs::path(exchangeMap_) / fileName).string();
    std::error_code ec;
    // Tables are taken from the exchange map only, under a name the vault does not hold yet.
    if (!IsPlainFileName(fileName) || !fs::is_regular_file(stored, ec) || catalog.FindDocumentByFileName(fileName)) {
      table->Set("LINK_SUCCESS", "0");
      file.FindOrAdd("ROOT", true)
          .Append("STATS", "Reference PDM: the design table \"" + location + "\" cannot be linked.");
      continue;
    }
    Document doc;
    doc.itemObid = item.obid;
    doc.role = "table";
    doc.fileName = fileName;
    doc.blob = FileStore(vault_).PutFile(stored, doc.size);
    doc.modified = item.modified;
    doc = catalog.AddDocument(doc);
    catalog.AddDesignTable({doc.obid, item.obid, fs::path(fileName).stem().string(), true});
    table->Set("LINK_SUCCESS", "1");
    table->Set("OBID", doc.obid);
    table->Set("CLASSNAME", doc.className);
    table->Set("DB_NAME", doc.dbName);
    table->Set("MODIFICATION_DATE_GMT", doc.modified);
    table->Set("EXTERNAL_LOCATION", stored);
  }
}

}  // namespace pdmsim
