#include "VaultCommands.h"

#include <filesystem>
#include <ostream>

#include "ArgReader.h"
#include "DocumentImporter.h"
#include "FileStore.h"
#include "GmtTime.h"
#include "PdmError.h"
#include "PlainFileName.h"
#include "TextTable.h"
#include "Vault.h"
#include "VaultCatalog.h"
#include "VaultTreePrinter.h"

namespace pdmsim {
namespace fs = std::filesystem;
namespace {

constexpr const char* kIdentityMatrix = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";

std::unique_ptr<Vault> OpenVault(const std::string& option) { return Vault::Open(Vault::ResolveDirectory(option)); }

Item RequireItem(VaultCatalog& catalog, const std::string& partNumber) {
  auto item = catalog.FindItemByPartNumber(partNumber);
  if (!item) throw PdmError("no item with part number " + partNumber + " in the vault (see pdmsim vault ls)");
  return *item;
}

std::string KindFromFileName(const std::string& fileName) {
  std::string extension = fs::path(fileName).extension().string();
  if (extension == ".CADProduct") return "assembly";
  if (extension == ".CADPart") return "part";
  if (extension == ".CADDrawing") return "drawing";
  return "";
}

std::string RoleForKind(const std::string& kind) {
  if (kind == "assembly") return "product";
  if (kind == "drawing") return "drawing";
  return "part";
}

// Text that has to travel in an exchange list item must not close the item.
void RequireListSafe(const std::string& what, const std::string& text) {
  if (text.find('}') != std::string::npos || text.find('{') != std::string::npos) {
    throw PdmError(what + " \"" + text + "\" holds a brace, which the exchange format cannot carry in a list");
  }
}

void RequireOneLine(const std::string& what, const std::string& text) {
  if (text.find_first_of("\r\n") != std::string::npos) throw PdmError(what + " must be a single line");
}

}  // namespace

void VaultCommands::PrintHelp(std::ostream& out) {
  out << "  vault init [--db-name NAME]          create an empty vault\n"
         "  vault import PATH...                 import host documents (files, or every document of a\n"
         "                                       directory) with the documents they link to\n"
         "  vault ls                             list the items\n"
         "  vault show PARTNUMBER                the item's structure with positions and attributes\n"
         "  vault add-item PARTNUMBER --file PATH [--kind assembly|part|drawing] [--rev R]\n"
         "                [--nomenclature N] [--definition D] [--description TEXT] [--read-only]\n"
         "  vault relate PARENT CHILD [--instance NAME] [--matrix \"16 NUMBERS\"] [--quantity Q]\n"
         "  vault add-table PARTNUMBER FILE [--name NAME] [--inactive]\n"
         "  vault attr PARTNUMBER NAME=VALUE... [--remove NAME]...\n"
         "  vault set PARTNUMBER [--rev R] [--nomenclature N] [--definition D] [--description TEXT]\n"
         "                [--changeable 0|1]      change an item (it gets a new modification date)\n"
         "  vault touch PARTNUMBER...            give items and their documents a new modification date\n"
         "  vault replace PARTNUMBER FILE        store a new version of the item's document\n";
}

int VaultCommands::Run(const std::vector<std::string>& args) {
  if (args.empty()) throw PdmError("vault needs a subcommand (pdmsim help)", 2);
  std::string sub = args.front();
  std::vector<std::string> rest(args.begin() + 1, args.end());
  if (sub == "init") return Init(rest);
  if (sub == "import") return Import(rest);
  if (sub == "ls") return List(rest);
  if (sub == "show") return Show(rest);
  if (sub == "add-item") return AddItem(rest);
  if (sub == "relate") return Relate(rest);
  if (sub == "add-table") return AddTable(rest);
  if (sub == "attr") return SetAttributes(rest);
  if (sub == "set") return SetFields(rest);
  if (sub == "touch") return Touch(rest);
  if (sub == "replace") return Replace(rest);
  throw PdmError("unknown vault subcommand " + sub + " (pdmsim help)", 2);
}

int VaultCommands::Init(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  std::string dbName = reader.Option("--db-name").value_or("PDMSIM");
  if (!reader.Positionals().empty()) throw PdmError("vault init takes no arguments", 2);
  auto vault = Vault::Create(Vault::ResolveDirectory(vaultOption_), dbName);
  out_ << "created an empty vault in " << vault->Directory() << " (database " << dbName << ")\n";
  return 0;
}

int VaultCommands::Import(std::vector<std::string> args) {
  std::vector<std::string> paths = ArgReader(std::move(args)).Positionals();
  if (paths.empty()) throw PdmError("vault import needs at least one document path", 2);
  auto vault = OpenVault(vaultOption_);
  SqliteTransaction transaction(vault->Db());
  DocumentImporter importer(*vault, out_);
  for (const std::string& path : paths) importer.Import(path);
  transaction.Commit();
  importer.PrintSummary();
  return 0;
}

int VaultCommands::List(std::vector<std::string> args) {
  if (!ArgReader(std::move(args)).Positionals().empty()) throw PdmError("vault ls takes no arguments", 2);
  auto vault = OpenVault(vaultOption_);
  VaultCatalog catalog(*vault);
  TextTable table({"PARTNUMBER", "KIND", "REV", "NOMENCLATURE", "OBID", "MODIFIED (UTC)", "FILES"});
  for (const Item& item : catalog.Items()) {
    std::string files;
    for (const Document& doc : catalog.Documents(item.obid)) files += (files.empty() ? "" : ", ") + doc.fileName;
    table.AddRow({item.partNumber, item.embedded ? item.kind + " (embedded)" : item.kind, item.revision,
                  item.nomenclature, item.obid, item.modified, files});
  }
  if (table.Empty()) {
    out_ << "the vault is empty (pdmsim vault import PATH, or pdmsim vault add-item)\n";
  } else {
    table.Print(out_);
  }
  return 0;
}

int VaultCommands::Show(std::vector<std::string> args) {
  std::vector<std::string> names = ArgReader(std::move(args)).Positionals();
  if (names.empty()) throw PdmError("vault show needs a part number", 2);
  auto vault = OpenVault(vaultOption_);
  VaultCatalog catalog(*vault);
  VaultTreePrinter printer(catalog, out_);
  for (const std::string& name : names) printer.Print(RequireItem(catalog, name));
  return 0;
}

int VaultCommands::AddItem(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  Item item;
  std::optional<std::string> file = reader.Option("--file");
  item.kind = reader.Option("--kind").value_or("");
  item.revision = reader.Option("--rev").value_or("");
  item.nomenclature = reader.Option("--nomenclature").value_or("");
  item.definition = reader.Option("--definition").value_or("");
  item.description = reader.Option("--description").value_or("");
  item.changeable = !reader.Flag("--read-only");
  std::vector<std::string> names = reader.Positionals();
  if (names.size() != 1) throw PdmError("vault add-item needs exactly one part number", 2);
  if (!file) throw PdmError("vault add-item needs --file PATH (the item's CAD document)", 2);
  item.partNumber = names.front();
  std::string fileName = fs::path(*file).filename().string();
  if (item.kind.empty()) item.kind = KindFromFileName(fileName);
  if (item.kind != "assembly" && item.kind != "part" && item.kind != "drawing") {
    throw PdmError("--kind must be assembly, part or drawing", 2);
  }
  if (!IsPlainFileName(fileName)) throw PdmError("\"" + fileName + "\" cannot be a file name in the exchange map");
  for (const auto& [what, text] : {std::pair<const char*, std::string>{"the part number", item.partNumber},
                                   {"the revision", item.revision},
                                   {"the nomenclature", item.nomenclature},
                                   {"the definition", item.definition},
                                   {"the description", item.description}}) {
    RequireListSafe(what, text);
    RequireOneLine(what, text);
  }

  auto vault = OpenVault(vaultOption_);
  SqliteTransaction transaction(vault->Db());
  VaultCatalog catalog(*vault);
  FileStore store(*vault);
  item = catalog.AddItem(item);
  Document doc;
  doc.itemObid = item.obid;
  doc.role = RoleForKind(item.kind);
  doc.fileName = fileName;
  doc.blob = store.PutFile(*file, doc.size);
  doc.modified = item.modified;
  doc = catalog.AddDocument(doc);
  transaction.Commit();
  out_ << "added " << VaultTreePrinter::Label(item) << " with " << doc.fileName << '\n';
  return 0;
}

int VaultCommands::Relate(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  std::optional<std::string> instance = reader.Option("--instance");
  std::string matrix = reader.Option("--matrix").value_or(kIdentityMatrix);
  std::string quantity = reader.Option("--quantity").value_or("1");
  std::vector<std::string> names = reader.Positionals();
  if (names.size() != 2) throw PdmError("vault relate needs PARENT and CHILD part numbers", 2);
  RequireOneLine("the position", matrix);
  RequireOneLine("the quantity", quantity);
  auto vault = OpenVault(vaultOption_);
  SqliteTransaction transaction(vault->Db());
  VaultCatalog catalog(*vault);
  Item parent = RequireItem(catalog, names[0]);
  Item child = RequireItem(catalog, names[1]);
  if (parent.kind != "assembly") throw PdmError(parent.partNumber + " is no assembly; only assemblies have children");
  if (child.kind == "drawing") throw PdmError("a drawing cannot be placed in an assembly");
  Relation rel;
  rel.parentObid = parent.obid;
  rel.childObid = child.obid;
  rel.matrix = matrix;
  rel.quantity = quantity;
  if (instance) {
    rel.instanceName = *instance;
  } else {
    int uses = 0;
    for (const Relation& existing : catalog.Children(parent.obid)) uses += existing.childObid == child.obid;
    rel.instanceName = child.partNumber + "." + std::to_string(uses + 1);
  }
  RequireOneLine("the instance name", rel.instanceName);
  for (const Relation& existing : catalog.Children(parent.obid)) {
    if (existing.instanceName == rel.instanceName) {
      throw PdmError(parent.partNumber + " already has an instance named " + rel.instanceName);
    }
  }
  rel = catalog.AddRelation(rel);
  parent.modified = GmtTime::NextAfter(parent.modified);
  catalog.UpdateItem(parent);
  transaction.Commit();
  out_ << "placed " << child.partNumber << " in " << parent.partNumber << " as " << rel.instanceName << " (" << rel.obid
       << ")\n";
  return 0;
}

int VaultCommands::AddTable(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  std::optional<std::string> name = reader.Option("--name");
  bool inactive = reader.Flag("--inactive");
  std::vector<std::string> positionals = reader.Positionals();
  if (positionals.size() != 2) throw PdmError("vault add-table needs PARTNUMBER and FILE", 2);
  std::string fileName = fs::path(positionals[1]).filename().string();
  if (!IsPlainFileName(fileName)) throw PdmError("\"" + fileName + "\" cannot be a file name in the exchange map");
  auto vault = OpenVault(vaultOption_);
  SqliteTransaction transaction(vault->Db());
  VaultCatalog catalog(*vault);
  FileStore store(*vault);
  Item item = RequireItem(catalog, positionals[0]);
  Document doc;
  doc.itemObid = item.obid;
  doc.role = "table";
  doc.fileName = fileName;
  doc.blob = store.PutFile(positionals[1], doc.size);
  doc = catalog.AddDocument(doc);
  DesignTable table{doc.obid, item.obid, name.value_or(fs::path(fileName).stem().string()), !inactive};
  RequireOneLine("the table name", table.name);
  catalog.AddDesignTable(table);
  transaction.Commit();
  out_ << "attached design table " << fileName << " to " << item.partNumber << '\n';
  return 0;
}

int VaultCommands::SetAttributes(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  std::vector<std::string> removals = reader.Options("--remove");
  std::vector<std::string> positionals = reader.Positionals();
  if (positionals.empty()) throw PdmError("vault attr needs a part number", 2);
  auto vault = OpenVault(vaultOption_);
  SqliteTransaction transaction(vault->Db());
  VaultCatalog catalog(*vault);
  Item item = RequireItem(catalog, positionals[0]);
  for (std::size_t i = 1; i < positionals.size(); ++i) {
    std::size_t eq = positionals[i].find('=');
    if (eq == std::string::npos || eq == 0) throw PdmError("attributes are given as NAME=VALUE", 2);
    std::string name = positionals[i].substr(0, eq);
    std::string value = positionals[i].substr(eq + 1);
    RequireListSafe("the attribute name", name);
    RequireListSafe("the attribute value", value);
    RequireOneLine("an attribute", positionals[i]);
    catalog.SetAttribute(item.obid, name, value);
  }
  for (const std::string& name : removals) catalog.RemoveAttribute(item.obid, name);
  item.modified = GmtTime::NextAfter(item.modified);
  catalog.UpdateItem(item);
  transaction.Commit();
  out_ << "attributes of " << item.partNumber << " updated\n";
  return 0;
}

int VaultCommands::SetFields(std::vector<std::string> args) {
  ArgReader reader(std::move(args));
  auto revision = reader.Option("--rev");
  auto nomenclature = reader.Option("--nomenclature");
  auto definition = reader.Option("--definition");
  auto description = reader.Option("--description");
  auto changeable = reader.Option("--changeable");
  std::vector<std::string> positionals = reader.Positionals();
  if (positionals.size() != 1) throw PdmError("vault set needs one part number", 2);
  auto vault = OpenVault(vaultOption_);
  SqliteTransaction transaction(vault->Db());
  VaultCatalog catalog(*vault);
  Item item = RequireItem(catalog, positionals[0]);
  auto apply = [&](const std::optional<std::string>& value, std::string& field, const char* what) {
    if (!value) return;
    RequireListSafe(what, *value);
    RequireOneLine(what, *value);
    field = *value;
  };
  apply(revision, item.revision, "the revision");
  apply(nomenclature, item.nomenclature, "the nomenclature");
  apply(definition, item.definition, "the definition");
  apply(description, item.description, "the description");
  if (changeable) {
    if (*changeable != "0" && *changeable != "1") throw PdmError("--changeable takes 0 or 1", 2);
    item.changeable = *changeable == "1";
  }
  item.modified = GmtTime::NextAfter(item.modified);
  catalog.UpdateItem(item);
  transaction.Commit();
  out_ << "updated " << VaultTreePrinter::Label(item) << '\n';
  return 0;
}

int VaultCommands::Touch(std::vector<std::string> args) {
  std::vector<std::string> names = ArgReader(std::move(args)).Positionals();
  if (names.empty()) throw PdmError("vault touch needs part numbers", 2);
  auto vault = OpenVault(vaultOption_);
  SqliteTransaction transaction(vault->Db());
  VaultCatalog catalog(*vault);
  for (const std::string& name : names) catalog.TouchItem(RequireItem(catalog, name).obid);
  transaction.Commit();
  out_ << "touched " << names.size() << " item(s)\n";
  return 0;
}

int VaultCommands::Replace(std::vector<std::string> args) {
  std::vector<std::string> positionals = ArgReader(std::move(args)).Positionals();
  if (positionals.size() != 2) throw PdmError("vault replace needs PARTNUMBER and FILE", 2);
  auto vault = OpenVault(vaultOption_);
  SqliteTransaction transaction(vault->Db());
  VaultCatalog catalog(*vault);
  FileStore store(*vault);
  Item item = RequireItem(catalog, positionals[0]);
  auto doc = catalog.DocumentByRole(item.obid, RoleForKind(item.kind));
  if (!doc) throw PdmError(item.partNumber + " has no document to replace");
  std::int64_t size = 0;
  std::string blob = store.PutFile(positionals[1], size);
  catalog.UpdateDocumentBlob(doc->obid, blob, size);
  item.modified = GmtTime::NextAfter(item.modified);
  catalog.UpdateItem(item);
  transaction.Commit();
  out_ << "stored a new version of " << doc->fileName << " (" << size << " bytes)\n";
  return 0;
}

}  // namespace pdmsim
