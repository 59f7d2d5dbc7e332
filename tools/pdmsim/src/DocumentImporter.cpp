#include "DocumentImporter.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <vector>

#include "CADDocumentReader.h"
#include "ExchangeFile.h"
#include "FileStore.h"
#include "GmtTime.h"
#include "PdmError.h"
#include "PlainFileName.h"

namespace pdmsim {
namespace fs = std::filesystem;
namespace {

std::string TypeOf(const fs::path& file) {
  std::string extension = file.extension().string();
  if (extension == ".CADPart" || extension == ".CADProduct" || extension == ".CADDrawing") {
    return extension.substr(1);
  }
  return "";
}

// Texts that travel in exchange lists and single lines.
void RequireCarriable(const fs::path& file, const std::string& what, const std::string& text) {
  if (text.find_first_of("{}\r\n") != std::string::npos) {
    throw PdmError(file.string() + ": " + what + " \"" + text +
                   "\" holds a brace or a line break, which the exchange format cannot carry");
  }
}

std::string Canonical(const fs::path& file) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(fs::absolute(file), ec);
  return (ec ? fs::absolute(file) : canonical).string();
}

}  // namespace

DocumentImporter::DocumentImporter(Vault& vault, std::ostream& out) : vault_(vault), catalog_(vault), out_(out) {}

std::string DocumentImporter::PositionText(const CADMathTransformation& position) {
  const auto& c = position.Coefficients();
  char buffer[512];
  std::snprintf(buffer, sizeof buffer,
                "%.16g %.16g %.16g 0 %.16g %.16g %.16g 0 %.16g %.16g %.16g 0 %.16g %.16g %.16g 1", c[0], c[1], c[2],
                c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10], c[11]);
  return buffer;
}

void DocumentImporter::Import(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(path, ec)) {
      if (entry.is_regular_file() && !TypeOf(entry.path()).empty()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) throw PdmError(path + " holds no .CADPart, .CADProduct or .CADDrawing document");
    for (const fs::path& file : files) ImportFile(file);
    return;
  }
  if (!fs::is_regular_file(path, ec)) throw PdmError("cannot import " + path + ": no such file or directory");
  ImportFile(path);
}

void DocumentImporter::PrintSummary() {
  out_ << "imported " << documents_ << " document(s): " << newItems_ << " new item(s), " << changedItems_
       << " changed, " << unchangedItems_ << " unchanged; " << relations_ << " relation(s), " << tables_
       << " design table(s)\n";
}

fs::path DocumentImporter::ResolveLink(const fs::path& from, const std::string& written) const {
  // Like the host: the linking file's directory first, then the written path.
  fs::path link(written);
  fs::path beside = from.parent_path() / link.filename();
  std::error_code ec;
  if (fs::is_regular_file(beside, ec)) return beside;
  if (link.is_absolute() && fs::is_regular_file(link, ec)) return link;
  throw PdmError(from.string() + " links to " + written + ", which is not there");
}

Item DocumentImporter::ImportFile(const fs::path& file) {
  std::string key = Canonical(file);
  if (auto done = imported_.find(key); done != imported_.end()) return done->second;
  if (inProgress_.count(key)) throw PdmError(file.string() + " contains itself through its links");
  std::string type = TypeOf(file);
  if (type.empty()) {
    throw PdmError("cannot import " + file.string() + ": only .CADPart, .CADProduct and .CADDrawing documents are");
  }
  if (!IsPlainFileName(file.filename().string())) {
    throw PdmError("\"" + file.filename().string() + "\" cannot be a file name in the exchange map");
  }
  std::string text;
  std::string error;
  if (!ReadWholeFile(file.string(), text, &error)) throw PdmError(error);
  CADDocumentImage image;
  CADUnicodeString why;
  if (FAILED(CADDocumentReader::Read(text, CADUnicodeString(type), false, image, why))) {
    throw PdmError(file.string() + ": " + why.str());
  }

  inProgress_.insert(key);
  Item wanted;
  std::string role;
  if (type == "CADDrawing") {
    wanted.kind = "drawing";
    wanted.partNumber = file.stem().string() + "-DRW";
    wanted.nomenclature = image.name.str();
    wanted.description = image.comment.str();
    role = "drawing";
  } else {
    const CADReferenceImage& root = image.root;
    wanted.kind = type == "CADProduct" ? "assembly" : "part";
    wanted.partNumber = root.partNumber.str();
    wanted.revision = root.revision.str();
    wanted.nomenclature = root.nomenclature.str();
    wanted.definition = root.definition.str();
    wanted.description = root.description.str();
    role = type == "CADProduct" ? "product" : "part";
  }
  Item item = StoreItem(wanted, file, role);
  if (type == "CADDrawing") {
    ImportAttributes(item, image.parameters, file);
    ImportTables(item, image.tables, file);
    // The documents a drawing shows come into the vault with it.
    for (const CADSheetImage& sheet : image.sheets) {
      for (const CADViewImage& view : sheet.views) ImportFile(ResolveLink(file, view.target.str()));
    }
  } else {
    ImportAttributes(item, image.root.parameters, file);
    ImportTables(item, image.root.tables, file);
    if (item.kind == "assembly") ImportInstances(item, image.root, image, file);
  }
  inProgress_.erase(key);
  imported_[key] = item;
  ++documents_;
  out_ << "  " << file.filename().string() << " -> " << item.partNumber << " (" << item.kind << ")\n";
  return item;
}

Item DocumentImporter::StoreItem(Item wanted, const fs::path& file, const std::string& role) {
  if (wanted.partNumber.empty()) throw PdmError(file.string() + " has no part number");
  for (const auto& [what, text] : {std::pair<const char*, const std::string&>{"the part number", wanted.partNumber},
                                   {"the revision", wanted.revision},
                                   {"the nomenclature", wanted.nomenclature},
                                   {"the definition", wanted.definition},
                                   {"the description", wanted.description}}) {
    RequireCarriable(file, what, text);
  }
  std::string fileName = file.filename().string();
  if (auto owner = catalog_.FindDocumentByFileName(fileName)) {
    auto ownerItem = catalog_.FindItem(owner->itemObid);
    if (!ownerItem || ownerItem->partNumber != wanted.partNumber) {
      throw PdmError(file.string() + ": the vault already holds a document " + fileName + " of item " +
                     (ownerItem ? ownerItem->partNumber : owner->itemObid));
    }
  }
  auto existing = catalog_.FindItemByPartNumber(wanted.partNumber);
  if (!existing) {
    Item item = catalog_.AddItem(wanted);
    StoreDocument(item, role, file);
    ++newItems_;
    return item;
  }
  if (existing->kind != wanted.kind || existing->embedded) {
    throw PdmError(file.string() + ": part number " + wanted.partNumber + " is already in the vault as " +
                   (existing->embedded ? "an embedded component" : "a " + existing->kind));
  }
  auto document = catalog_.DocumentByRole(existing->obid, role);
  if (document && document->fileName != fileName) {
    throw PdmError(file.string() + ": part number " + wanted.partNumber + " belongs to " + document->fileName +
                   " in the vault");
  }
  std::string before = document ? document->modified : std::string();
  StoreDocument(*existing, role, file);
  auto after = catalog_.DocumentByRole(existing->obid, role);
  bool changed = !document || (after && after->modified != before) || existing->revision != wanted.revision ||
                 existing->nomenclature != wanted.nomenclature || existing->definition != wanted.definition ||
                 existing->description != wanted.description;
  preexisting_.insert(existing->obid);
  Item item = *existing;
  item.revision = wanted.revision;
  item.nomenclature = wanted.nomenclature;
  item.definition = wanted.definition;
  item.description = wanted.description;
  if (changed) {
    item.modified = GmtTime::NextAfter(item.modified);
    bumped_.insert(item.obid);
    ++changedItems_;
  } else {
    ++unchangedItems_;
  }
  catalog_.UpdateItem(item);
  return item;
}

void DocumentImporter::StoreDocument(const Item& item, const std::string& role, const fs::path& file) {
  std::string bytes;
  std::string error;
  if (!ReadWholeFile(file.string(), bytes, &error)) throw PdmError(error);
  FileStore store(vault_);
  std::string fileName = file.filename().string();
  for (const Document& doc : catalog_.Documents(item.obid)) {
    if (doc.fileName != fileName) continue;
    std::string stored;
    if (ReadWholeFile(store.PathOf(doc.blob), stored, nullptr) && stored == bytes) return;
    catalog_.UpdateDocumentBlob(doc.obid, store.PutBytes(bytes), static_cast<std::int64_t>(bytes.size()));
    return;
  }
  Document doc;
  doc.itemObid = item.obid;
  doc.role = role;
  doc.fileName = fileName;
  doc.blob = store.PutBytes(bytes);
  doc.size = static_cast<std::int64_t>(bytes.size());
  catalog_.AddDocument(doc);
}

void DocumentImporter::ImportAttributes(const Item& item, const std::vector<CADParameterImage>& parameters,
                                        const fs::path& file) {
  for (const CADParameterImage& parameter : parameters) {
    RequireCarriable(file, "the parameter name", parameter.name.str());
    RequireCarriable(file, "the value of parameter " + parameter.name.str(), parameter.value.str());
    catalog_.SetAttribute(item.obid, parameter.name.str(), parameter.value.str());
  }
}

void DocumentImporter::ImportTables(const Item& item, const std::vector<CADDesignTableImage>& tables,
                                    const fs::path& file) {
  for (const CADDesignTableImage& table : tables) {
    fs::path sheet = ResolveLink(file, table.sheetPath.str());
    std::string fileName = sheet.filename().string();
    if (!IsPlainFileName(fileName)) throw PdmError("\"" + fileName + "\" cannot be a file name in the exchange map");
    RequireCarriable(file, "the design table name", table.name.str());
    if (auto owner = catalog_.FindDocumentByFileName(fileName); owner && owner->itemObid != item.obid) {
      throw PdmError(file.string() + ": the sheet " + fileName + " already belongs to another item");
    }
    bool known = false;
    for (const DesignTable& existing : catalog_.DesignTables(item.obid)) {
      auto doc = catalog_.FindDocumentByFileName(fileName);
      known = known || (doc && doc->obid == existing.docObid);
    }
    StoreDocument(item, "table", sheet);
    if (!known) {
      auto doc = catalog_.FindDocumentByFileName(fileName);
      catalog_.AddDesignTable({doc->obid, item.obid, table.name.str(), table.active});
    }
    ++tables_;
  }
}

void DocumentImporter::ImportInstances(const Item& parent, const CADReferenceImage& reference,
                                       const CADDocumentImage& image, const fs::path& file) {
  // The document is the truth about its children. Uses that stay keep their
  // relation (and its OBID, which the CAD side records), matched by instance name.
  std::map<std::string, Relation> previous;
  for (const Relation& rel : catalog_.Children(parent.obid)) previous[rel.instanceName] = rel;
  bool changed = false;
  std::int64_t position = 0;
  for (const CADInstanceImage& instance : reference.instances) {
    RequireCarriable(file, "the instance name", instance.name.str());
    Item child = instance.component ? ImportComponent(image, instance.target.str(), file)
                                    : ImportFile(ResolveLink(file, instance.target.str()));
    if (child.kind == "drawing") throw PdmError(file.string() + " places a drawing as an instance");
    Relation relation;
    relation.parentObid = parent.obid;
    relation.childObid = child.obid;
    relation.instanceName = instance.name.str();
    relation.matrix = PositionText(instance.position);
    relation.position = ++position;
    if (auto found = previous.find(relation.instanceName); found != previous.end()) {
      const Relation& old = found->second;
      if (old.childObid != relation.childObid || old.matrix != relation.matrix || old.position != position) {
        relation.obid = old.obid;
        relation.quantity = old.quantity;
        catalog_.UpdateRelation(relation);
        changed = true;
      }
      previous.erase(found);
    } else {
      catalog_.AddRelation(relation);
      changed = true;
    }
    ++relations_;
  }
  for (const auto& [name, gone] : previous) {
    catalog_.RemoveRelation(gone.obid);
    changed = true;
  }
  // A changed structure is a change of an item the vault held before.
  if (changed && preexisting_.count(parent.obid) && !bumped_.count(parent.obid)) {
    if (auto current = catalog_.FindItem(parent.obid)) {
      current->modified = GmtTime::NextAfter(current->modified);
      catalog_.UpdateItem(*current);
      bumped_.insert(parent.obid);
    }
  }
}

Item DocumentImporter::ImportComponent(const CADDocumentImage& image, const std::string& partNumber,
                                       const fs::path& file) {
  std::string key = Canonical(file) + "#" + partNumber;
  if (auto done = imported_.find(key); done != imported_.end()) return done->second;
  if (inProgress_.count(key)) throw PdmError(file.string() + ": component " + partNumber + " contains itself");
  const CADReferenceImage* component = nullptr;
  for (const CADReferenceImage& candidate : image.components) {
    if (candidate.partNumber.str() == partNumber) component = &candidate;
  }
  if (!component) throw PdmError(file.string() + " names a component " + partNumber + " it does not hold");
  inProgress_.insert(key);
  Item wanted;
  wanted.kind = "assembly";
  wanted.embedded = true;
  wanted.partNumber = partNumber;
  wanted.revision = component->revision.str();
  wanted.nomenclature = component->nomenclature.str();
  wanted.definition = component->definition.str();
  wanted.description = component->description.str();
  for (const auto& [what, text] : {std::pair<const char*, const std::string&>{"the part number", wanted.partNumber},
                                   {"the nomenclature", wanted.nomenclature},
                                   {"the description", wanted.description}}) {
    RequireCarriable(file, what, text);
  }
  Item item;
  if (auto existing = catalog_.FindItemByPartNumber(partNumber)) {
    if (!existing->embedded) {
      throw PdmError(file.string() + ": component " + partNumber + " has the part number of a vault item");
    }
    preexisting_.insert(existing->obid);
    item = *existing;
    item.revision = wanted.revision;
    item.nomenclature = wanted.nomenclature;
    item.definition = wanted.definition;
    item.description = wanted.description;
    catalog_.UpdateItem(item);
  } else {
    item = catalog_.AddItem(wanted);
    ++newItems_;
  }
  ImportAttributes(item, component->parameters, file);
  ImportInstances(item, *component, image, file);
  inProgress_.erase(key);
  imported_[key] = item;
  return item;
}

}  // namespace pdmsim
