#include "StructureAnswer.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "BlackBoxDelivery.h"
#include "PlainFileName.h"

namespace pdmsim {
namespace fs = std::filesystem;
namespace {

constexpr const char* kIdentityMatrix = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";
constexpr const char* kBackupPrefix = "ZRBBACKUP_";

std::string CadClassFor(std::string_view role) {
  if (role == "product") return "CADProduct";
  if (role == "drawing") return "CADDrawing";
  if (role == "part") return "CADPart";
  return "";
}

std::string RoleFor(std::string_view kind) {
  if (kind == "assembly") return "product";
  if (kind == "drawing") return "drawing";
  return "part";
}

}  // namespace

void StructureAnswer::Put(ExchangeFile& answer, ExchangeObject object) {
  // Merging into an object the request already holds keeps the request's
  // slots; every other key is new (keys of the answer are unique), so no
  // search is needed for it.
  if (requestKeys_.count(object.Key())) {
    if (ExchangeObject* existing = answer.Find(object.Key())) {
      for (const auto& [name, value] : object.Slots()) existing->SetRaw(name, value);
      return;
    }
  }
  answer.Objects().push_back(std::move(object));
}

StructureAnswer::StructureAnswer(VaultCatalog& catalog, FileStore& store, std::string exchangeMap,
                                 CachedFileList cached, std::set<std::string, std::less<>> failParts)
    : catalog_(catalog),
      store_(store),
      exchangeMap_(std::move(exchangeMap)),
      cached_(std::move(cached)),
      failParts_(std::move(failParts)) {}

DeliveryReport StructureAnswer::Build(ExchangeFile& answer, std::string_view rootKey, const std::vector<Item>& chosen) {
  for (const ExchangeObject& object : answer.Objects()) requestKeys_.insert(object.Key());
  std::vector<std::string> relationKeys;
  std::vector<std::string> documentKeys;
  int topIndex = 0;
  for (const Item& item : chosen) {
    if (item.embedded) {
      report_.warnings.push_back("Reference PDM: " + item.partNumber +
                                 " is embedded in another product; choose the product that holds it.");
      continue;
    }
    std::vector<std::string> path;
    if (!AddItem(answer, item, path)) continue;
    ++report_.topLevel;
    if (item.kind == "drawing") {
      // A drawing is no positioned node: it is opened on its own.
      if (auto doc = catalog_.DocumentByRole(item.obid, "drawing")) documentKeys.push_back(doc->obid);
      continue;
    }
    Relation top;
    top.instanceName = item.partNumber + "." + std::to_string(1);
    top.matrix = kIdentityMatrix;
    top.quantity = "1";
    std::string key = "ROOT_REL_" + std::to_string(++topIndex);
    AddRelationObject(answer, key, top, item);
    relationKeys.push_back(key);
  }
  ExchangeObject* root = answer.Find(rootKey);
  root->SetList("SUBASSRELATIONS", relationKeys);
  root->SetList("DOCCOMS", documentKeys);
  root->Set("SEND_MODELS", "1");
  return report_;
}

void StructureAnswer::SetIdentityAttributes(ExchangeObject& object, const Item& item) {
  object.Set("PARTNUMBER", item.partNumber);
  object.Set("DESCRIPTION", item.partNumber);
  object.SetList("STANDARD_ATTRS", {"CADRevision", "CADNomenclature", "CADDefinition", "CADDescription"});
  object.SetList("STANDARD_VALS", {item.revision, item.nomenclature, item.definition, item.description});
}

bool StructureAnswer::AddItem(ExchangeFile& answer, const Item& item, std::vector<std::string>& path) {
  if (auto done = itemDone_.find(item.obid); done != itemDone_.end()) return done->second;
  if (failParts_.count(item.partNumber)) {
    report_.warnings.push_back("Reference PDM: " + item.partNumber + " could not be delivered.");
    itemDone_[item.obid] = false;
    return false;
  }
  if (static_cast<int>(path.size()) >= kMaxDepth) {
    report_.warnings.push_back("Reference PDM: the structure below " + item.partNumber + " is deeper than " +
                               std::to_string(kMaxDepth) + " levels and was cut off.");
    return false;
  }
  std::optional<Document> document;
  if (!item.embedded) document = catalog_.DocumentByRole(item.obid, RoleFor(item.kind));
  if (!item.embedded && !document) {
    report_.warnings.push_back("Reference PDM: " + item.partNumber + " has no " + CadClassFor(RoleFor(item.kind)) +
                               " document and was left out.");
    itemDone_[item.obid] = false;
    return false;
  }

  // Reserve the item's place so the file lists parents before children.
  // Objects are only appended after this point (a failing child removes its
  // own place, which lies behind this one), so the index stays valid.
  const bool reserved = requestKeys_.count(item.obid) == 0;
  const std::size_t slot = answer.Objects().size();
  if (reserved) answer.Add(item.obid);
  ExchangeObject object(item.obid);
  object.Set("OBID", item.obid);
  object.Set("CLASSNAME", item.className);
  object.Set("DB_NAME", item.dbName);
  object.Set("CHANGEABLE", item.changeable ? "1" : "0");
  object.Set("MODIFICATION_DATE_GMT", item.modified);
  SetIdentityAttributes(object, item);
  object.Set("REVISION", item.revision);
  object.Set("NOMENCLATURE", item.nomenclature);
  object.Set("ISCOMPONENT", "0");
  object.Set("IS_STD_PART", "0");
  std::vector<Attribute> attrs = catalog_.Attributes(item.obid);
  if (!attrs.empty()) {
    std::vector<std::string> names;
    std::vector<std::string> values;
    for (const Attribute& attr : attrs) {
      names.push_back(attr.name);
      values.push_back(attr.value);
    }
    object.SetList("USER_DEF_DISPLAYS", names);
    object.SetList("USER_DEF_PROPS", names);
    object.SetList("USER_DEF_VALS", values);
  }

  if (item.embedded) {
    // Its reference lives in the parent's product document: nothing to deliver.
    object.Set("USE_EMBEDDED_PRODUCT", "1");
    object.SetList("DOCCOMS", {});
  } else {
    if (!AddDocumentObject(answer, item, *document)) {
      if (reserved) answer.Objects().pop_back();
      itemDone_[item.obid] = false;
      return false;
    }
    if (item.kind == "assembly") {
      object.Set("PRODUCT", document->obid);
      object.SetList("DOCCOMS", {});
    } else {
      object.SetList("DOCCOMS", {document->obid});
    }
  }

  path.push_back(item.obid);
  if (item.kind == "assembly") {
    std::vector<std::string> relationKeys;
    for (const Relation& rel : catalog_.Children(item.obid)) {
      auto child = catalog_.FindItem(rel.childObid);
      if (!child) continue;
      if (std::find(path.begin(), path.end(), child->obid) != path.end()) {
        report_.warnings.push_back("Reference PDM: the use " + rel.instanceName + " of " + child->partNumber + " in " +
                                   item.partNumber + " closes a cycle and was left out.");
        continue;
      }
      if (!AddItem(answer, *child, path)) continue;
      AddRelationObject(answer, rel.obid, rel, *child);
      relationKeys.push_back(rel.obid);
    }
    object.SetList("SUBASSRELATIONS", relationKeys);
  }
  path.pop_back();
  if (item.kind == "assembly")
    BlackBoxDelivery(catalog_.Owner(), store_, exchangeMap_).Deliver(answer, object, item, report_.warnings);

  std::vector<std::string> tableKeys;
  for (const DesignTable& table : catalog_.DesignTables(item.obid)) {
    for (const Document& doc : catalog_.Documents(item.obid)) {
      if (doc.obid != table.docObid) continue;
      std::size_t before = answer.Objects().size();
      AddTableObject(answer, item, doc, table);
      if (answer.Objects().size() > before) tableKeys.push_back(doc.obid);
    }
  }
  if (!tableKeys.empty()) object.SetList("TABLES", tableKeys);

  if (reserved) {
    answer.Objects()[slot] = std::move(object);
  } else {
    Put(answer, std::move(object));
  }
  itemDone_[item.obid] = true;
  return true;
}

bool StructureAnswer::AddDocumentObject(ExchangeFile& answer, const Item& item, const Document& doc) {
  ExchangeObject object(doc.obid);
  if (doc.role == "product") {
    // The product document's own identity, with the assembly item's beside it.
    object.Set("OBID", doc.obid);
    object.Set("CLASSNAME", doc.className);
    object.Set("DB_NAME", doc.dbName);
    object.Set("CHANGEABLE", item.changeable ? "1" : "0");
    object.Set("ASSEMBLYOBID", item.obid);
    object.Set("ASSEMBLYCLASSNAME", item.className);
    object.Set("ASSEMBLYCHANGEABLE", item.changeable ? "1" : "0");
    object.Set("ASSEMBLY_DB_NAME", item.dbName);
  } else {
    // A document component speaks for its item; the document's own
    // identity rides along in the DOC_ slots.
    object.Set("OBID", item.obid);
    object.Set("CLASSNAME", item.className);
    object.Set("DB_NAME", item.dbName);
    object.Set("CHANGEABLE", item.changeable ? "1" : "0");
    object.Set("DOC_OBID", doc.obid);
    object.Set("DOC_CLASSNAME", doc.className);
    object.Set("DOC_DB_NAME", doc.dbName);
    object.Set("ISCOMPONENT", "0");
    object.Set("IS_VISUALIZATION", "0");
  }
  object.Set("MODIFICATION_DATE_GMT", doc.modified);
  SetIdentityAttributes(object, item);
  object.Set("CADCLASSNAME", CadClassFor(doc.role));
  if (!PlaceFile(object, doc)) return false;
  Put(answer, std::move(object));
  return true;
}

void StructureAnswer::AddTableObject(ExchangeFile& answer, const Item& item, const Document& doc,
                                     const DesignTable& table) {
  ExchangeObject object(doc.obid);
  object.Set("OBID", doc.obid);
  object.Set("CLASSNAME", doc.className);
  object.Set("DB_NAME", doc.dbName);
  object.Set("CHANGEABLE", item.changeable ? "1" : "0");
  object.Set("MODIFICATION_DATE_GMT", doc.modified);
  object.Set("NAME", table.name);
  object.Set("ACTIVATED", table.activated ? "1" : "0");
  if (!PlaceFile(object, doc)) return;
  Put(answer, std::move(object));
}

void StructureAnswer::AddRelationObject(ExchangeFile& answer, const std::string& key, const Relation& rel,
                                        const Item& child) {
  ExchangeObject object(key);
  object.Set("ASS_ITEM_ID", child.obid);
  object.Set("INSTANCE_NAME", rel.instanceName);
  object.Set("MATRIX", rel.matrix);
  object.Set("QUANTITY", rel.quantity);
  // A top-level use under "ROOT" is no PDM relation and says so by lacking these.
  if (!rel.obid.empty()) {
    object.Set("REL_OBID", rel.obid);
    object.Set("REL_DB_NAME", rel.dbName);
    object.Set("CLASSNAME", rel.className);
  }
  if (child.embedded) object.Set("USE_EMBEDDED_PRODUCT", "1");
  Put(answer, std::move(object));
}

bool StructureAnswer::PlaceFile(ExchangeObject& object, const Document& doc) {
  if (!IsPlainFileName(doc.fileName)) {
    report_.warnings.push_back("Reference PDM: the document " + doc.obid +
                               " has a file name that cannot go into the exchange map.");
    return false;
  }
  std::string target = exchangeMap_ + "/" + doc.fileName;
  object.Set("EXTERNAL_LOCATION", target);
  std::error_code ec;
  bool onDisk = fs::exists(exchangeMap_ + "/" + kBackupPrefix + doc.fileName, ec) || fs::exists(target, ec);
  if (onDisk && cached_.HoldsCurrent(object.Get("OBID"), object.Get("MODIFICATION_DATE_GMT"))) {
    object.Set("USE_FILE_IN_EXMAP", "1");
    ++report_.reused;
    return true;
  }
  std::string error;
  if (!store_.CopyTo(doc.blob, target, &error)) {
    report_.warnings.push_back("Reference PDM: " + doc.fileName + " could not be delivered: " + error);
    return false;
  }
  ++report_.delivered;
  return true;
}

bool StructureAnswer::DescribeDocument(ExchangeObject& object, const Item& item, const Document& doc) {
  object.Set("OBID", doc.obid);
  object.Set("CLASSNAME", doc.className);
  object.Set("DB_NAME", doc.dbName);
  object.Set("ZRB_OBID", item.obid);
  object.Set("ZRB_CLASSNAME", item.className);
  object.Set("ZRB_DB_NAME", item.dbName);
  object.Set("CHANGEABLE", item.changeable ? "1" : "0");
  object.Set("MODIFICATION_DATE_GMT", doc.modified);
  SetIdentityAttributes(object, item);
  return PlaceFile(object, doc);
}

}  // namespace pdmsim
