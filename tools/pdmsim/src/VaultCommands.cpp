#include "VaultCommands.h"

#include <filesystem>
#include <memory>

#include <CLI/CLI.hpp>
#include <ostream>

#include "CustomAttributes.h"
#include "DependencyAnswers.h"
#include "DocumentImporter.h"
#include "FileStore.h"
#include "GmtTime.h"
#include "ItemJson.h"
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
  // A process or an analysis is an item with one document of its own, kept as a part is.
  if (extension == ".CADProcess" || extension == ".CADAnalysis") return "part";
  return "";
}

// The item class of a process or analysis, which the vault keeps with the kind of a part.
std::string ClassFromFileName(const std::string& fileName) {
  std::string extension = fs::path(fileName).extension().string();
  if (extension == ".CADProcess") return "Process";
  if (extension == ".CADAnalysis") return "Analysis";
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
         "  vault show PARTNUMBER... [--json]    the item's structure with positions and attributes\n"
         "  vault add-item PARTNUMBER --file PATH [--kind assembly|part|drawing] [--rev R]\n"
         "                [--nomenclature N] [--definition D] [--description TEXT] [--read-only]\n"
         "  vault relate PARENT CHILD [--instance NAME] [--matrix \"16 NUMBERS\"] [--quantity Q]\n"
         "  vault link-dependency A B            record that item A depends on item B\n"
         "  vault add-table PARTNUMBER FILE [--name NAME] [--inactive]\n"
         "  vault attr PARTNUMBER NAME=VALUE... [--remove NAME]...\n"
         "  vault set-attr PARTNUMBER NAME VALUE a custom attribute (what the CAD info dialog asks for)\n"
         "  vault set PARTNUMBER [--rev R] [--nomenclature N] [--definition D] [--description TEXT]\n"
         "                [--changeable 0|1]      change an item (it gets a new modification date)\n"
         "  vault touch PARTNUMBER...            give items and their documents a new modification date\n"
         "  vault replace PARTNUMBER FILE        store a new version of the item's document\n";
}

void VaultCommands::Define(CLI::App& vault) {
  vault.require_subcommand(1);
  Init(*vault.add_subcommand("init", "create an empty vault"));
  Import(*vault.add_subcommand("import", "import host documents with the documents they link to"));
  List(*vault.add_subcommand("ls", "list the items"));
  Show(*vault.add_subcommand("show", "the item's structure with positions and attributes"));
  AddItem(*vault.add_subcommand("add-item", "add an item with its CAD document"));
  Relate(*vault.add_subcommand("relate", "place CHILD in the assembly PARENT"));
  LinkDependency(*vault.add_subcommand("link-dependency", "record that item A depends on item B"));
  AddTable(*vault.add_subcommand("add-table", "attach a design table to an item"));
  SetAttributes(*vault.add_subcommand("attr", "set or remove an item's attributes"));
  SetFields(*vault.add_subcommand("set", "change an item (it gets a new modification date)"));
  SetCustomAttribute(*vault.add_subcommand("set-attr", "set a custom attribute of an item"));
  Touch(*vault.add_subcommand("touch", "give items and their documents a new modification date"));
  Replace(*vault.add_subcommand("replace", "store a new version of the item's document"));
}

void VaultCommands::Init(CLI::App& sub) {
  auto dbName = std::make_shared<std::string>("PDMSIM");
  sub.add_option("--db-name", *dbName, "the database name the session is told")->type_name("NAME");
  chosen_.On(sub, [this, dbName] {
    auto vault = Vault::Create(Vault::ResolveDirectory(vaultOption_), *dbName);
    out_ << "created an empty vault in " << vault->Directory() << " (database " << *dbName << ")\n";
    return 0;
  });
}

void VaultCommands::Import(CLI::App& sub) {
  auto paths = std::make_shared<std::vector<std::string>>();
  sub.add_option("PATH", *paths, "documents, or directories of documents")->required();
  chosen_.On(sub, [this, paths] {
    auto vault = OpenVault(vaultOption_);
    SqliteTransaction transaction(vault->Db());
    DocumentImporter importer(*vault, out_);
    for (const std::string& path : *paths) importer.Import(path);
    transaction.Commit();
    importer.PrintSummary();
    return 0;
  });
}

void VaultCommands::List(CLI::App& sub) {
  chosen_.On(sub, [this] {
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
  });
}

void VaultCommands::Show(CLI::App& sub) {
  auto names = std::make_shared<std::vector<std::string>>();
  auto json = std::make_shared<bool>(false);
  sub.add_option("PARTNUMBER", *names, "the items to show")->required();
  sub.add_flag("--json", *json, "one JSON object per item, for scripts");
  chosen_.On(sub, [this, names, json] {
    auto vault = OpenVault(vaultOption_);
    VaultCatalog catalog(*vault);
    if (*json) {
      for (const std::string& name : *names) out_ << ItemJson::Of(catalog, RequireItem(catalog, name)).dump() << '\n';
      return 0;
    }
    VaultTreePrinter printer(catalog, out_);
    for (const std::string& name : *names) printer.Print(RequireItem(catalog, name));
    return 0;
  });
}

void VaultCommands::AddItem(CLI::App& sub) {
  struct Options {
    Item item;
    std::string file;
    bool readOnly = false;
  };
  auto o = std::make_shared<Options>();
  sub.add_option("PARTNUMBER", o->item.partNumber, "the new item's part number")->required();
  sub.add_option("--file", o->file, "the item's CAD document")->type_name("PATH")->required();
  sub.add_option("--kind", o->item.kind,
                 "assembly, part or drawing (default: from the file name; a .CADProcess or .CADAnalysis is a part)");
  sub.add_option("--rev", o->item.revision, "the revision")->type_name("R");
  sub.add_option("--nomenclature", o->item.nomenclature, "the nomenclature")->type_name("N");
  sub.add_option("--definition", o->item.definition, "the definition")->type_name("D");
  sub.add_option("--description", o->item.description, "the description");
  sub.add_flag("--read-only", o->readOnly, "the item cannot be changed in the CAD session");
  chosen_.On(sub, [this, o] {
    Item item = o->item;
    item.changeable = !o->readOnly;
    const std::string& file = o->file;
    std::string fileName = fs::path(file).filename().string();
    if (item.kind.empty()) item.kind = KindFromFileName(fileName);
    if (item.kind == "part") item.className = ClassFromFileName(fileName);
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
    doc.blob = store.PutFile(file, doc.size);
    doc.modified = item.modified;
    doc = catalog.AddDocument(doc);
    transaction.Commit();
    out_ << "added " << VaultTreePrinter::Label(item) << " with " << doc.fileName << '\n';
    return 0;
  });
}

void VaultCommands::LinkDependency(CLI::App& sub) {
  auto names = std::make_shared<std::pair<std::string, std::string>>();
  sub.add_option("A", names->first, "the dependent item's part number")->required();
  sub.add_option("B", names->second, "the part number of the item A depends on")->required();
  chosen_.On(sub, [this, names] {
    auto vault = OpenVault(vaultOption_);
    DependencyLinks links(*vault);
    SqliteTransaction transaction(vault->Db());
    VaultCatalog catalog(*vault);
    const Item dependent = RequireItem(catalog, names->first);
    const Item external = RequireItem(catalog, names->second);
    if (dependent.obid == external.obid) throw PdmError("an item cannot depend on itself");
    links.Link(dependent.obid, external.obid);
    transaction.Commit();
    out_ << dependent.partNumber << " depends on " << external.partNumber << '\n';
    return 0;
  });
}

void VaultCommands::Relate(CLI::App& sub) {
  struct Options {
    std::string parent;
    std::string child;
    std::optional<std::string> instance;
    std::string matrix = kIdentityMatrix;
    std::string quantity = "1";
  };
  auto o = std::make_shared<Options>();
  sub.add_option("PARENT", o->parent, "the assembly's part number")->required();
  sub.add_option("CHILD", o->child, "the placed item's part number")->required();
  sub.add_option("--instance", o->instance, "the instance name (default: CHILD.N)")->type_name("NAME");
  sub.add_option("--matrix", o->matrix, "the position: 16 numbers in one word");
  sub.add_option("--quantity", o->quantity, "the quantity")->type_name("Q");
  chosen_.On(sub, [this, o] {
    const std::optional<std::string>& instance = o->instance;
    const std::string& matrix = o->matrix;
    const std::string& quantity = o->quantity;
    const std::vector<std::string> names{o->parent, o->child};
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
    out_ << "placed " << child.partNumber << " in " << parent.partNumber << " as " << rel.instanceName << " ("
         << rel.obid << ")\n";
    return 0;
  });
}

void VaultCommands::AddTable(CLI::App& sub) {
  struct Options {
    std::string partNumber;
    std::string file;
    std::optional<std::string> name;
    bool inactive = false;
  };
  auto o = std::make_shared<Options>();
  sub.add_option("PARTNUMBER", o->partNumber, "the item")->required();
  sub.add_option("FILE", o->file, "the design table")->required();
  sub.add_option("--name", o->name, "the table's name (default: the file name's stem)");
  sub.add_flag("--inactive", o->inactive, "the table is not active");
  chosen_.On(sub, [this, o] {
    const std::optional<std::string>& name = o->name;
    const bool inactive = o->inactive;
    const std::vector<std::string> positionals{o->partNumber, o->file};
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
  });
}

void VaultCommands::SetAttributes(CLI::App& sub) {
  struct Options {
    std::vector<std::string> positionals;
    std::vector<std::string> removals;
  };
  auto o = std::make_shared<Options>();
  sub.add_option("PARTNUMBER NAME=VALUE", o->positionals, "the item, then the attributes to set")->required();
  sub.add_option("--remove", o->removals, "an attribute to remove")->type_name("NAME")->allow_extra_args(false);
  chosen_.On(sub, [this, o] {
    const std::vector<std::string>& positionals = o->positionals;
    const std::vector<std::string>& removals = o->removals;
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
  });
}

void VaultCommands::SetCustomAttribute(CLI::App& sub) {
  auto words = std::make_shared<std::vector<std::string>>();
  sub.add_option("PARTNUMBER NAME VALUE", *words, "the item, the attribute's name and its value")
      ->required()
      ->expected(3);
  chosen_.On(sub, [this, words] {
    const std::string& name = (*words)[1];
    const std::string& value = (*words)[2];
    if (name.empty()) throw PdmError("the attribute name is empty", 2);
    RequireListSafe("the attribute name", name);
    RequireListSafe("the attribute value", value);
    RequireOneLine("the attribute name", name);
    RequireOneLine("the attribute value", value);
    auto vault = OpenVault(vaultOption_);
    SqliteTransaction transaction(vault->Db());
    VaultCatalog catalog(*vault);
    Item item = RequireItem(catalog, (*words)[0]);
    CustomAttributes(*vault).Set(item.obid, name, value);
    transaction.Commit();
    out_ << "custom attribute " << name << " of " << item.partNumber << " set\n";
    return 0;
  });
}

void VaultCommands::SetFields(CLI::App& sub) {
  struct Options {
    std::string partNumber;
    std::optional<std::string> revision, nomenclature, definition, description, changeable;
  };
  auto o = std::make_shared<Options>();
  sub.add_option("PARTNUMBER", o->partNumber, "the item")->required();
  sub.add_option("--rev", o->revision, "the revision")->type_name("R");
  sub.add_option("--nomenclature", o->nomenclature, "the nomenclature")->type_name("N");
  sub.add_option("--definition", o->definition, "the definition")->type_name("D");
  sub.add_option("--description", o->description, "the description");
  sub.add_option("--changeable", o->changeable, "whether the CAD session may change it")->type_name("0|1");
  chosen_.On(sub, [this, o] {
    const auto& [partNumber, revision, nomenclature, definition, description, changeable] = *o;
    const std::vector<std::string> positionals{partNumber};
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
  });
}

void VaultCommands::Touch(CLI::App& sub) {
  auto o = std::make_shared<std::vector<std::string>>();
  sub.add_option("PARTNUMBER", *o, "the items")->required();
  chosen_.On(sub, [this, o] {
    const std::vector<std::string>& names = *o;
    auto vault = OpenVault(vaultOption_);
    SqliteTransaction transaction(vault->Db());
    VaultCatalog catalog(*vault);
    for (const std::string& name : names) catalog.TouchItem(RequireItem(catalog, name).obid);
    transaction.Commit();
    out_ << "touched " << names.size() << " item(s)\n";
    return 0;
  });
}

void VaultCommands::Replace(CLI::App& sub) {
  struct Options {
    std::string partNumber;
    std::string file;
  };
  auto o = std::make_shared<Options>();
  sub.add_option("PARTNUMBER", o->partNumber, "the item")->required();
  sub.add_option("FILE", o->file, "the new version")->required();
  chosen_.On(sub, [this, o] {
    const std::vector<std::string> positionals{o->partNumber, o->file};
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
  });
}

}  // namespace pdmsim
