#include "SaveAnswer.h"

#include <algorithm>
#include <filesystem>
#include <locale>
#include <sstream>

#include "GmtTime.h"
#include "PlainFileName.h"

namespace pdmsim {
namespace fs = std::filesystem;
namespace {

constexpr const char* kIdentityMatrix = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";

std::string RoleFor(std::string_view kind) {
  if (kind == "assembly") return "product";
  if (kind == "drawing") return "drawing";
  return "part";
}

bool Yes(const ExchangeObject& object, std::string_view slot) { return object.Get(slot) == "1"; }

// A product object asks for its document to be saved with either word: "UPD_PRODUCT" is what the module writes,
// "UPD_GEOMETRY" what a component's object carries.
bool AsksProductSave(const ExchangeObject* product) {
  return product && (Yes(*product, "UPD_GEOMETRY") || Yes(*product, "UPD_PRODUCT"));
}

// Text that travels in exchange lists and single lines: no braces, no line breaks.
bool Carriable(std::string_view text) { return text.find_first_of("{}\r\n") == std::string_view::npos; }

std::string Who(const ExchangeObject& object) {
  std::string name = object.Get("PARTNUMBER");
  if (name.empty()) name = object.Get("OBID");
  return name.empty() ? "object " + object.Key() : name;
}

}  // namespace

std::string SaveAnswer::KindOf(const ExchangeObject& node, const ExchangeObject* product) {
  std::string path = node.Get("PATH");
  if (path.empty() && product) path = product->Get("PATH");
  std::string extension = fs::path(path).extension().string();
  if (extension == ".CADDrawing") return "drawing";
  if (extension == ".CADProduct" || product || !node.Get("SUBASSEMBLIES").empty()) return "assembly";
  return "part";
}

std::string SaveReport::Summary() const {
  return std::to_string(created) + " created, " + std::to_string(related) + " related, " + std::to_string(saved) +
         " saved, " + std::to_string(moved) + " moved, " + std::to_string(removed) + " removed, " +
         std::to_string(failed) + " failed";
}

SaveAnswer::SaveAnswer(Vault& vault, std::string exchangeMap, std::set<std::string, std::less<>> failParts)
    : vault_(vault),
      catalog_(vault),
      store_(vault),
      exchangeMap_(std::move(exchangeMap)),
      failParts_(std::move(failParts)) {}

bool SaveAnswer::IsPositionText(std::string_view text) {
  std::istringstream in{std::string(text)};
  in.imbue(std::locale::classic());
  double value = 0;
  int count = 0;
  while (in >> value) {
    if (count % 4 == 3 && value != (count == 15 ? 1.0 : 0.0)) return false;
    ++count;
  }
  return in.eof() && count == 16;
}

void SaveAnswer::Fail(ExchangeObject& object, const char* successSlot, const std::string& line) {
  if (successSlot) object.Set(successSlot, "0");
  report_.warnings.push_back("Reference PDM: " + Who(object) + ": " + line);
  ++report_.failed;
}

void SaveAnswer::Touch(const Item& parent) { touched_.insert(parent.obid); }

std::string SaveAnswer::ResolvePath(const std::string& path) const {
  if (path.empty() || fs::path(path).is_absolute()) return path;
  return exchangeMap_ + "/" + path;
}

ExchangeObject* SaveAnswer::Lookup(std::string_view key) {
  auto found = objects_.find(key);
  return found == objects_.end() ? nullptr : found->second;
}

SaveReport SaveAnswer::Apply(ExchangeFile& request) {
  ExchangeObject& root = request.FindOrAdd("ROOT", true);
  // Keys are unique in a file the reader took; the first object of a key is the one a search would find.
  for (ExchangeObject& object : request.Objects()) objects_.emplace(object.Key(), &object);
  // Removals first: a child removed and another placed under the same instance name is a rename.
  for (ExchangeObject& object : request.Objects()) {
    if (!object.Get("REMOVED_SUBASS").empty()) RemovedChildren(object);
  }
  std::optional<Item> rootItem;
  if (Yes(root, "VIRTUALROOT")) {
    VirtualRoot(root);
    rootItem = catalog_.FindItem(root.Get("WBSESSOBID"));
  }
  if (rootItem) {
    visited_.insert("ROOT");
    for (const std::string& key : root.GetList("SUBASSEMBLIES")) {
      ExchangeObject* child = Lookup(key);
      if (!child || key == "ROOT") {
        report_.refused = true;
        report_.warnings.push_back("Reference PDM: ROOT lists " + key + ", which the request does not hold.");
        continue;
      }
      Node(*child, &*rootItem, false, false, 1);
    }
  } else {
    Node(root, nullptr, false, true, 0);
  }
  for (const std::string& obid : touched_) {
    if (auto item = catalog_.FindItem(obid)) {
      item->modified = GmtTime::NextAfter(item->modified);
      catalog_.UpdateItem(*item);
    }
  }
  return report_;
}

void SaveAnswer::Node(ExchangeObject& node, const Item* parent, bool orphan, bool isRoot, int depth) {
  if (!visited_.insert(node.Key()).second || depth > kMaxDepth) {
    // A node reached twice (or a structure deeper than any real one) is a request no module writes.
    report_.refused = true;
    report_.warnings.push_back("Reference PDM: the node " + node.Key() +
                               " is reached twice or lies too deep; the save was not done.");
    return;
  }
  const std::string obid = node.Get("OBID");
  const std::string create = node.Get("CREATE_PART_IN_PDM");
  const bool failing = failParts_.count(node.Get("PARTNUMBER")) > 0;
  std::optional<Item> item;
  bool created = false;
  bool linked = false;
  const bool toCreate = obid.empty() && (create == "1" || create == "2");
  if (!obid.empty()) {
    item = catalog_.FindItem(obid);
    if (!item) Fail(node, nullptr, "the PDM holds no item " + obid + ".");
  } else if (toCreate) {
    if (orphan) {
      Fail(node, "CREATE_PART_SUCCESS", "its parent is not in the PDM.");
    } else if (failing) {
      Fail(node, "CREATE_PART_SUCCESS", "the item could not be created.");
    } else if (parent && !parent->changeable) {
      Fail(node, "CREATE_PART_SUCCESS", "its parent " + parent->partNumber + " is read-only.");
    } else {
      bool refused = false;
      if (Yes(node, "LINK_IN_PDM")) {
        item = LinkItem(node, isRoot ? nullptr : parent, refused);
        linked = item.has_value();
      }
      if (!item && !refused) {
        item = CreateItem(node);
        created = item.has_value();
      }
    }
  }
  if (item && !isRoot && parent) {
    // A renamed instance keeps its relation: found by its identity or its old name, it takes the new name.
    const bool renamed = !node.Get("CAD_ORIG_INSTANCENAME").empty() && Rename(node, *parent);
    if (node.Get("REL_OBID").empty() && !renamed) {
      if (!node.Get("INSTANCENAME").empty() || created) Relate(node, *parent, *item);
    } else if (Yes(node, "UPD_MATRIX")) {
      Move(node, *parent);
    }
  }
  // A link asked for and not made: the item was created (or refused) instead, and the answer says so.
  if (toCreate && !linked && Yes(node, "LINK_IN_PDM")) node.Set("LINK_SUCCESS", "0");
  if (item) {
    const ExchangeObject* product = Lookup(node.Get("PRODUCT"));
    // A document object may name no part number (a drawing): its item's number picks it out.
    if ((failing || failParts_.count(item->partNumber) > 0) && !created) {
      if (Yes(node, "UPD_GEOMETRY") || Yes(node, "UPD_PRODUCT") || AsksProductSave(product))
        Fail(node, "MODEL_UPD_SUCCESS", "the document could not be saved.");
    } else {
      SaveDocuments(node, *item, created);
      Tables(node, *item);
    }
  }
  for (const std::string& key : node.GetList("SUBASSEMBLIES")) {
    ExchangeObject* child = Lookup(key);
    if (!child || key == "ROOT") {
      report_.refused = true;
      report_.warnings.push_back("Reference PDM: " + node.Key() + " lists " + key +
                                 ", which the request does not hold.");
      continue;
    }
    // Below a node the PDM does not hold (or could not create) nothing can be placed.
    const bool known = item && item->kind == "assembly";
    Node(*child, known ? &*item : nullptr, !known && (!obid.empty() || !create.empty()), false, depth + 1);
  }
}

std::optional<Item> SaveAnswer::CreateItem(ExchangeObject& node) {
  ExchangeObject* product = Lookup(node.Get("PRODUCT"));
  std::string path = node.Get("PATH");
  if (path.empty() && product) path = product->Get("PATH");
  path = ResolvePath(path);
  const std::string partNumber = node.Get("PARTNUMBER");
  const std::string fileName = fs::path(path).filename().string();
  if (partNumber.empty() || !Carriable(partNumber)) {
    Fail(node, "CREATE_PART_SUCCESS", "a new item needs a part number the exchange format can carry.");
    return std::nullopt;
  }
  std::error_code ec;
  if (path.empty() || !IsPlainFileName(fileName) || !fs::is_regular_file(path, ec)) {
    Fail(node, "CREATE_PART_SUCCESS", "the new item's document \"" + path + "\" cannot be read.");
    return std::nullopt;
  }
  Item item;
  item.partNumber = partNumber;
  item.kind = KindOf(node, product);
  const std::string role = RoleFor(item.kind);
  if (auto existing = catalog_.FindItemByPartNumber(partNumber)) {
    // The same request sent again: the item it created before is taken, not a second one.
    auto doc = catalog_.DocumentByRole(existing->obid, role);
    if (existing->kind != item.kind || !doc || doc->fileName != fileName) {
      Fail(node, "CREATE_PART_SUCCESS", "the part number is already used in the PDM.");
      return std::nullopt;
    }
    item = *existing;
  } else {
    if (auto clash = catalog_.FindDocumentByFileName(fileName)) {
      Fail(node, "CREATE_PART_SUCCESS", "the PDM already holds a document named " + fileName + ".");
      return std::nullopt;
    }
    std::vector<std::string> names = node.GetList("STANDARD_ATTRS");
    std::vector<std::string> values = node.GetList("STANDARD_VALS");
    for (std::size_t i = 0; i < names.size() && i < values.size(); ++i) {
      if (!Carriable(values[i])) continue;
      if (names[i] == "CADRevision") item.revision = values[i];
      if (names[i] == "CADNomenclature") item.nomenclature = values[i];
      if (names[i] == "CADDefinition") item.definition = values[i];
      if (names[i] == "CADDescription") item.description = values[i];
    }
    if (item.nomenclature.empty() && Carriable(node.Get("NOMENCLATURE"))) item.nomenclature = node.Get("NOMENCLATURE");
    item = catalog_.AddItem(item);
    Document doc;
    doc.itemObid = item.obid;
    doc.role = role;
    doc.fileName = fileName;
    doc.blob = store_.PutFile(path, doc.size);
    doc.modified = item.modified;
    catalog_.AddDocument(doc);
    ++report_.created;
  }
  node.Set("OBID", item.obid);
  node.Set("CLASSNAME", item.className);
  node.Set("DB_NAME", item.dbName);
  node.Set("CHANGEABLE", item.changeable ? "1" : "0");
  node.SetList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature", "CADDefinition", "CADDescription"});
  node.SetList("STANDARD_VALS", {item.revision, item.nomenclature, item.definition, item.description});
  // A document item speaks for its document as a read does, so the session learns the document's identity too.
  if (item.kind != "assembly")
    if (auto doc = catalog_.DocumentByRole(item.obid, role)) {
      node.Set("DOC_OBID", doc->obid);
      node.Set("DOC_CLASSNAME", doc->className);
      node.Set("DOC_DB_NAME", doc->dbName);
    }
  node.Set("CREATE_PART_SUCCESS", "1");
  return item;
}

void SaveAnswer::Relate(ExchangeObject& node, const Item& parent, const Item& child) {
  std::string instance = node.Get("INSTANCENAME");
  if (instance.empty()) instance = child.partNumber + ".1";
  std::string matrix = node.Get("MATRIX");
  if (matrix.empty()) matrix = kIdentityMatrix;
  const char* slot = "INSTANTIATE_SUCCESS";
  if (!parent.changeable) return Fail(node, slot, "its parent " + parent.partNumber + " is read-only.");
  if (!IsPositionText(matrix)) return Fail(node, slot, "the position \"" + matrix + "\" is no position text.");
  if (instance.find_first_of("\r\n") != std::string::npos)
    return Fail(node, slot, "the instance name must be a single line.");
  if (Contains(child.obid, parent.obid))
    return Fail(node, slot, parent.partNumber + " lies within " + child.partNumber + "; it cannot hold it.");
  std::optional<Relation> relation;
  for (const Relation& existing : catalog_.Children(parent.obid)) {
    if (existing.instanceName != instance) continue;
    // The same request sent again finds its relation; another child under that name is a clash.
    if (existing.childObid != child.obid)
      return Fail(node, slot, parent.partNumber + " already has an instance named " + instance + ".");
    relation = existing;
  }
  if (relation) {
    if (relation->matrix != matrix) {
      relation->matrix = matrix;
      catalog_.UpdateRelation(*relation);
      Touch(parent);
    }
  } else {
    Relation fresh;
    fresh.parentObid = parent.obid;
    fresh.childObid = child.obid;
    fresh.instanceName = instance;
    fresh.matrix = matrix;
    relation = catalog_.AddRelation(fresh);
    ++report_.related;
    Touch(parent);
  }
  node.Set("INSTANTIATE_SUCCESS", "1");
  if (Yes(node, "LINK_IN_PDM")) node.Set("LINK_SUCCESS", "1");
  node.Set("DOCREL_ID", relation->obid);
  node.Set("REL_OBID", relation->obid);
  node.Set("REL_DB_NAME", relation->dbName);
  node.Set("DOCREL_DESC", node.Get("REL_DESC"));
}

void SaveAnswer::Move(ExchangeObject& node, const Item& parent) {
  const char* slot = "UPD_MATRIX_SUCCESS";
  const std::string relObid = node.Get("REL_OBID");
  const std::string matrix = node.Get("MATRIX");
  std::optional<Relation> relation;
  for (const Relation& existing : catalog_.Children(parent.obid)) {
    if (existing.obid == relObid) relation = existing;
  }
  if (!relation) return Fail(node, slot, "the relation " + relObid + " is not in " + parent.partNumber + ".");
  if (!parent.changeable) return Fail(node, slot, "its parent " + parent.partNumber + " is read-only.");
  if (!IsPositionText(matrix)) return Fail(node, slot, "the position \"" + matrix + "\" is no position text.");
  if (relation->matrix != matrix) {
    relation->matrix = matrix;
    catalog_.UpdateRelation(*relation);
    ++report_.moved;
    Touch(parent);
  }
  node.Set(slot, "1");
}

bool SaveAnswer::StoreVersion(Document& doc, const std::string& path, const std::string& who) {
  std::string bytes;
  std::string error;
  std::error_code ec;
  // Only a plain file is read: a pipe or a device named by the request would hang or never end.
  if (path.empty() || !fs::is_regular_file(ResolvePath(path), ec) || !ReadWholeFile(ResolvePath(path), bytes, &error)) {
    report_.warnings.push_back("Reference PDM: " + who + ": the document \"" + path + "\" cannot be read.");
    ++report_.failed;
    return false;
  }
  std::string stored;
  // The same bytes sent again are no new version: the date stays, so the cached copy stays current.
  if (doc.size == static_cast<std::int64_t>(bytes.size()) && ReadWholeFile(store_.PathOf(doc.blob), stored, &error) &&
      stored == bytes)
    return true;
  catalog_.UpdateDocumentBlob(doc.obid, store_.PutBytes(bytes), static_cast<std::int64_t>(bytes.size()));
  for (const Document& fresh : catalog_.Documents(doc.itemObid)) {
    if (fresh.obid == doc.obid) doc = fresh;
  }
  touched_.insert(doc.itemObid);
  ++report_.saved;
  return true;
}

void SaveAnswer::SaveDocuments(ExchangeObject& node, const Item& item, bool created) {
  ExchangeObject* product = Lookup(node.Get("PRODUCT"));
  if (product == &node) product = nullptr;
  // A new item's document was stored with it; storing it again changes nothing unless the bytes differ.
  const bool nodeSave = Yes(node, "UPD_GEOMETRY") || Yes(node, "UPD_PRODUCT") || created;
  if (!item.changeable && (nodeSave || AsksProductSave(product))) {
    return Fail(node, "MODEL_UPD_SUCCESS", "the item is read-only; its document was not saved.");
  }
  auto doc = catalog_.DocumentByRole(item.obid, RoleFor(item.kind));
  if (product) {
    // The product document's own object: its identity, saved when either object asks.
    std::string path = product->Get("PATH");
    if (path.empty()) path = node.Get("PATH");
    if (!doc) return Fail(*product, "PRODUCT_SUCCESS", "the item has no product document.");
    if (nodeSave || AsksProductSave(product)) {
      if (!StoreVersion(*doc, path, Who(node))) return Fail(*product, "PRODUCT_SUCCESS", "not saved.");
      product->Set("MODEL_UPD_SUCCESS", "1");
      if (nodeSave) node.Set("MODEL_UPD_SUCCESS", "1");
    }
    product->Set("OBID", doc->obid);
    product->Set("CLASSNAME", doc->className);
    product->Set("DB_NAME", doc->dbName);
    product->Set("CHANGEABLE", item.changeable ? "1" : "0");
    product->Set("MODIFICATION_DATE_GMT", doc->modified);
    if (product->Get("PATH").empty()) product->Set("PATH", path);
    product->Set("PRODUCT_SUCCESS", "1");
    return;
  }
  if (!nodeSave) return;
  if (!doc) return Fail(node, "MODEL_UPD_SUCCESS", "the item has no document to save.");
  if (!StoreVersion(*doc, node.Get("PATH"), Who(node))) {
    node.Set("MODEL_UPD_SUCCESS", "0");
    return;
  }
  node.Set("MODEL_UPD_SUCCESS", "1");
  node.Set("MODIFICATION_DATE_GMT", doc->modified);
  if (!node.Get("PATH").empty()) node.Set("EXTERNAL_LOCATION", node.Get("PATH"));
}

void SaveAnswer::Tables(ExchangeObject& node, const Item& item) {
  for (const std::string& key : node.GetList("TABLES")) {
    ExchangeObject* table = Lookup(key);
    if (!table || table == &node) continue;
    std::string location = table->Get("EXTERNAL_LOCATION");
    if (location.empty()) location = table->Get("PATH");
    const std::string fileName = fs::path(location).filename().string();
    if (Yes(*table, "REMOVE_IN_PDM")) {
      if (!item.changeable) {
        Fail(*table, "REMOVE_SUCCESS", "the item is read-only; its design table stays.");
        continue;
      }
      std::string obid = table->Get("OBID");
      for (const DesignTable& known : catalog_.DesignTables(item.obid)) {
        if (known.docObid == obid) catalog_.RemoveDesignTable(obid);
      }
      table->Set("REMOVE_SUCCESS", "1");
      continue;
    }
    std::optional<Document> doc;
    for (const DesignTable& known : catalog_.DesignTables(item.obid)) {
      for (const Document& candidate : catalog_.Documents(item.obid)) {
        if (candidate.obid == known.docObid && (candidate.obid == table->Get("OBID") || candidate.fileName == fileName))
          doc = candidate;
      }
    }
    const bool link = Yes(*table, "LINK_DESTAB");
    if (!doc && link) {
      std::error_code ec;
      if (!item.changeable || !IsPlainFileName(fileName) || !fs::is_regular_file(ResolvePath(location), ec) ||
          catalog_.FindDocumentByFileName(fileName)) {
        Fail(*table, "LINK_SUCCESS", "the design table \"" + location + "\" cannot be linked.");
        continue;
      }
      Document fresh;
      fresh.itemObid = item.obid;
      fresh.role = "table";
      fresh.fileName = fileName;
      fresh.blob = store_.PutFile(ResolvePath(location), fresh.size);
      doc = catalog_.AddDocument(fresh);
      catalog_.AddDesignTable({doc->obid, item.obid, fs::path(fileName).stem().string(), true});
      ++report_.saved;
    } else if (!doc) {
      Fail(*table, "TABLE_UPD_SUCCESS", "the PDM holds no design table " + table->Get("OBID") + ".");
      continue;
    } else if (!location.empty() && item.changeable && !StoreVersion(*doc, location, Who(node))) {
      table->Set("TABLE_UPD_SUCCESS", "0");
      continue;
    }
    if (link) table->Set("LINK_SUCCESS", "1");
    table->Set("TABLE_UPD_SUCCESS", "1");
    table->Set("OBID", doc->obid);
    table->Set("CLASSNAME", doc->className);
    table->Set("DB_NAME", doc->dbName);
    table->Set("MODIFICATION_DATE_GMT", doc->modified);
  }
}

void SaveAnswer::VirtualRoot(ExchangeObject& root) {
  std::optional<Item> item = catalog_.FindItem(root.Get("VRSESSOBID"));
  if (item && item->kind != "assembly") item.reset();
  if (!item) {
    // The workbench becomes an assembly of its own, named by the PDM.
    Item fresh;
    fresh.kind = "assembly";
    fresh.obid = vault_.NewObid("WB");
    fresh.partNumber = "WORKBENCH-" + fresh.obid.substr(2);
    fresh.nomenclature = "Workbench";
    item = catalog_.AddItem(fresh);
    const std::string path = ResolvePath(root.Get("PATH"));
    std::error_code ec;
    Document doc;
    doc.itemObid = item->obid;
    doc.role = "product";
    doc.fileName = item->partNumber + ".CADProduct";
    if (!path.empty() && fs::is_regular_file(path, ec)) {
      doc.blob = store_.PutFile(path, doc.size);
    } else {
      doc.blob = store_.PutBytes("");
    }
    doc.modified = item->modified;
    catalog_.AddDocument(doc);
    ++report_.created;
    root.Set("NEWFILENAME", doc.fileName);
    root.Set("PARTNUMBER", item->partNumber);
  } else if (Yes(root, "UPD_GEOMETRY")) {
    if (auto doc = catalog_.DocumentByRole(item->obid, "product"))
      StoreVersion(*doc, root.Get("PATH"), item->partNumber);
  }
  root.Set("WBSESSOBID", item->obid);
}

void SaveAnswer::RemovedChildren(ExchangeObject& object) {
  const std::vector<std::string> parents = object.GetList("PARENT_OBID");
  auto parent = catalog_.FindItem(parents.empty() ? std::string() : parents.front());
  const char* slot = "REMOVE_SUCCESS";
  if (!parent) return Fail(object, slot, "the parent of the removed children is not in the PDM.");
  if (failParts_.count(parent->partNumber))
    return Fail(object, slot, "the children of " + parent->partNumber + " could not be removed.");
  if (!parent->changeable) return Fail(object, slot, parent->partNumber + " is read-only; its children stay.");
  const std::vector<std::string> listed = object.GetList("REMOVED_SUBASS");
  const std::vector<std::string> relations = object.GetList("REL_OBID");
  const std::vector<std::string> instances = object.GetList("INSTANCENAME");
  const std::vector<std::string> remove = object.GetList("REMOVE_IN_PDM");
  const std::size_t count = std::max({listed.size(), relations.size(), instances.size()});
  std::vector<Relation> children = catalog_.Children(parent->obid);
  for (std::size_t i = 0; i < count; ++i) {
    if (i < remove.size() && remove[i] == "0") continue;
    auto at = [](const std::vector<std::string>& list, std::size_t index) {
      return index < list.size() ? list[index] : std::string();
    };
    for (const Relation& rel : children) {
      // Named by its relation, else by its instance name; one already gone is removed all the same.
      const std::string name = !at(instances, i).empty() ? at(instances, i) : at(listed, i);
      bool named = !at(relations, i).empty() ? rel.obid == at(relations, i) : !name.empty() && rel.instanceName == name;
      if (!named) continue;
      catalog_.RemoveRelation(rel.obid);
      ++report_.removed;
      Touch(*parent);
    }
  }
  object.Set("REMOVE_SUCCESS", "1");
}

}  // namespace pdmsim
