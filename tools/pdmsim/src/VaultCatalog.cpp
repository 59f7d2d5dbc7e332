#include "VaultCatalog.h"

#include "GmtTime.h"
#include "PdmError.h"

namespace pdmsim {
namespace {

constexpr const char* kItemColumns =
    "obid, class_name, db_name, part_number, kind, revision, nomenclature, definition, description, "
    "changeable, modified, embedded";
constexpr const char* kDocumentColumns = "obid, item_obid, role, class_name, db_name, file_name, blob, size, modified";
constexpr const char* kRelationColumns =
    "obid, parent_obid, child_obid, position, instance_name, matrix, quantity, class_name, db_name";

Item ReadItem(const SqliteStatement& row) {
  Item item;
  item.obid = row.Text(0);
  item.className = row.Text(1);
  item.dbName = row.Text(2);
  item.partNumber = row.Text(3);
  item.kind = row.Text(4);
  item.revision = row.Text(5);
  item.nomenclature = row.Text(6);
  item.definition = row.Text(7);
  item.description = row.Text(8);
  item.changeable = row.Int(9) != 0;
  item.modified = row.Text(10);
  item.embedded = row.Int(11) != 0;
  return item;
}

Document ReadDocument(const SqliteStatement& row) {
  Document doc;
  doc.obid = row.Text(0);
  doc.itemObid = row.Text(1);
  doc.role = row.Text(2);
  doc.className = row.Text(3);
  doc.dbName = row.Text(4);
  doc.fileName = row.Text(5);
  doc.blob = row.Text(6);
  doc.size = row.Int(7);
  doc.modified = row.Text(8);
  return doc;
}

Relation ReadRelation(const SqliteStatement& row) {
  Relation rel;
  rel.obid = row.Text(0);
  rel.parentObid = row.Text(1);
  rel.childObid = row.Text(2);
  rel.position = row.Int(3);
  rel.instanceName = row.Text(4);
  rel.matrix = row.Text(5);
  rel.quantity = row.Text(6);
  rel.className = row.Text(7);
  rel.dbName = row.Text(8);
  return rel;
}

std::string Sql(std::string_view head, const char* columns, std::string_view tail) {
  return std::string(head) + columns + std::string(tail);
}

}  // namespace

std::string VaultCatalog::ItemClassFor(std::string_view kind) {
  if (kind == "assembly") return "Assembly";
  if (kind == "drawing") return "Drawing";
  return "Part";
}

std::string VaultCatalog::DocumentClassFor(std::string_view role) {
  if (role == "product") return "CadProductDoc";
  if (role == "drawing") return "CadDrawingDoc";
  if (role == "table") return "DesignTableDoc";
  return "CadPartDoc";
}

std::optional<Item> VaultCatalog::FindItemByPartNumber(std::string_view partNumber) {
  SqliteStatement query(vault_.Db(), Sql("SELECT ", kItemColumns, " FROM items WHERE part_number = ?"));
  query.Bind(1, partNumber);
  if (!query.Step()) return std::nullopt;
  return ReadItem(query);
}

std::optional<Item> VaultCatalog::FindItem(std::string_view obid) {
  SqliteStatement query(vault_.Db(), Sql("SELECT ", kItemColumns, " FROM items WHERE obid = ?"));
  query.Bind(1, obid);
  if (!query.Step()) return std::nullopt;
  return ReadItem(query);
}

std::vector<Item> VaultCatalog::Items() {
  SqliteStatement query(vault_.Db(), Sql("SELECT ", kItemColumns, " FROM items ORDER BY part_number"));
  std::vector<Item> items;
  while (query.Step()) items.push_back(ReadItem(query));
  return items;
}

Item VaultCatalog::AddItem(Item item) {
  if (item.partNumber.empty()) throw PdmError("an item needs a part number");
  if (FindItemByPartNumber(item.partNumber)) {
    throw PdmError("the vault already holds an item with part number " + item.partNumber);
  }
  if (item.obid.empty()) item.obid = vault_.NewObid("IT");
  if (item.className.empty()) item.className = ItemClassFor(item.kind);
  if (item.dbName.empty()) item.dbName = vault_.DbName();
  if (item.modified.empty()) item.modified = GmtTime::Now();
  SqliteStatement insert(vault_.Db(),
                         Sql("INSERT INTO items(", kItemColumns, ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  insert.Bind(1, item.obid).Bind(2, item.className).Bind(3, item.dbName).Bind(4, item.partNumber);
  insert.Bind(5, item.kind).Bind(6, item.revision).Bind(7, item.nomenclature).Bind(8, item.definition);
  insert.Bind(9, item.description).Bind(10, std::int64_t{item.changeable ? 1 : 0}).Bind(11, item.modified);
  insert.Bind(12, std::int64_t{item.embedded ? 1 : 0}).Run();
  return item;
}

void VaultCatalog::UpdateItem(const Item& item) {
  SqliteStatement update(vault_.Db(),
                         "UPDATE items SET class_name = ?, kind = ?, revision = ?, nomenclature = ?, "
                         "definition = ?, description = ?, changeable = ?, modified = ? WHERE obid = ?");
  update.Bind(1, item.className).Bind(2, item.kind).Bind(3, item.revision).Bind(4, item.nomenclature);
  update.Bind(5, item.definition).Bind(6, item.description).Bind(7, std::int64_t{item.changeable ? 1 : 0});
  update.Bind(8, item.modified).Bind(9, item.obid).Run();
}

void VaultCatalog::TouchItem(std::string_view obid) {
  auto item = FindItem(obid);
  if (!item) return;
  item->modified = GmtTime::NextAfter(item->modified);
  UpdateItem(*item);
  for (const Document& doc : Documents(obid)) {
    SqliteStatement update(vault_.Db(), "UPDATE documents SET modified = ? WHERE obid = ?");
    update.Bind(1, GmtTime::NextAfter(doc.modified)).Bind(2, doc.obid).Run();
  }
}

std::vector<Attribute> VaultCatalog::Attributes(std::string_view itemObid) {
  SqliteStatement query(vault_.Db(), "SELECT name, value FROM item_attrs WHERE item_obid = ? ORDER BY position");
  query.Bind(1, itemObid);
  std::vector<Attribute> attrs;
  while (query.Step()) attrs.push_back({query.Text(0), query.Text(1)});
  return attrs;
}

void VaultCatalog::SetAttribute(std::string_view itemObid, std::string_view name, std::string_view value) {
  SqliteStatement update(vault_.Db(), "UPDATE item_attrs SET value = ? WHERE item_obid = ? AND name = ?");
  update.Bind(1, value).Bind(2, itemObid).Bind(3, name).Run();
  if (vault_.Db().Changes() > 0) return;
  SqliteStatement insert(vault_.Db(),
                         "INSERT INTO item_attrs(item_obid, name, value, position) VALUES (?, ?, ?, "
                         "(SELECT COALESCE(MAX(position), 0) + 1 FROM item_attrs WHERE item_obid = ?))");
  insert.Bind(1, itemObid).Bind(2, name).Bind(3, value).Bind(4, itemObid).Run();
}

void VaultCatalog::RemoveAttribute(std::string_view itemObid, std::string_view name) {
  SqliteStatement erase(vault_.Db(), "DELETE FROM item_attrs WHERE item_obid = ? AND name = ?");
  erase.Bind(1, itemObid).Bind(2, name).Run();
}

std::vector<Document> VaultCatalog::Documents(std::string_view itemObid) {
  SqliteStatement query(vault_.Db(),
                        Sql("SELECT ", kDocumentColumns, " FROM documents WHERE item_obid = ? ORDER BY obid"));
  query.Bind(1, itemObid);
  std::vector<Document> docs;
  while (query.Step()) docs.push_back(ReadDocument(query));
  return docs;
}

std::optional<Document> VaultCatalog::DocumentByRole(std::string_view itemObid, std::string_view role) {
  SqliteStatement query(
      vault_.Db(), Sql("SELECT ", kDocumentColumns, " FROM documents WHERE item_obid = ? AND role = ? ORDER BY obid"));
  query.Bind(1, itemObid).Bind(2, role);
  if (!query.Step()) return std::nullopt;
  return ReadDocument(query);
}

std::optional<Document> VaultCatalog::FindDocumentByFileName(std::string_view fileName) {
  SqliteStatement query(vault_.Db(), Sql("SELECT ", kDocumentColumns, " FROM documents WHERE file_name = ?"));
  query.Bind(1, fileName);
  if (!query.Step()) return std::nullopt;
  return ReadDocument(query);
}

Document VaultCatalog::AddDocument(Document doc) {
  if (FindDocumentByFileName(doc.fileName)) {
    throw PdmError("the vault already holds a document named " + doc.fileName);
  }
  if (doc.obid.empty()) doc.obid = vault_.NewObid("DC");
  if (doc.className.empty()) doc.className = DocumentClassFor(doc.role);
  if (doc.dbName.empty()) doc.dbName = vault_.DbName();
  if (doc.modified.empty()) doc.modified = GmtTime::Now();
  SqliteStatement insert(vault_.Db(),
                         Sql("INSERT INTO documents(", kDocumentColumns, ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  insert.Bind(1, doc.obid).Bind(2, doc.itemObid).Bind(3, doc.role).Bind(4, doc.className);
  insert.Bind(5, doc.dbName).Bind(6, doc.fileName).Bind(7, doc.blob).Bind(8, doc.size).Bind(9, doc.modified);
  insert.Run();
  return doc;
}

void VaultCatalog::UpdateDocumentBlob(std::string_view obid, std::string_view blob, std::int64_t size) {
  SqliteStatement read(vault_.Db(), "SELECT modified FROM documents WHERE obid = ?");
  read.Bind(1, obid);
  std::string previous = read.Step() ? read.Text(0) : std::string();
  SqliteStatement update(vault_.Db(), "UPDATE documents SET blob = ?, size = ?, modified = ? WHERE obid = ?");
  update.Bind(1, blob).Bind(2, size).Bind(3, GmtTime::NextAfter(previous)).Bind(4, obid).Run();
}

std::vector<DesignTable> VaultCatalog::DesignTables(std::string_view itemObid) {
  SqliteStatement query(vault_.Db(),
                        "SELECT doc_obid, item_obid, name, activated FROM design_tables "
                        "WHERE item_obid = ? ORDER BY doc_obid");
  query.Bind(1, itemObid);
  std::vector<DesignTable> tables;
  while (query.Step()) tables.push_back({query.Text(0), query.Text(1), query.Text(2), query.Int(3) != 0});
  return tables;
}

void VaultCatalog::AddDesignTable(const DesignTable& table) {
  SqliteStatement insert(vault_.Db(),
                         "INSERT INTO design_tables(doc_obid, item_obid, name, activated) VALUES (?, ?, ?, ?)");
  insert.Bind(1, table.docObid).Bind(2, table.itemObid).Bind(3, table.name);
  insert.Bind(4, std::int64_t{table.activated ? 1 : 0}).Run();
}

void VaultCatalog::RemoveDesignTable(std::string_view docObid) {
  for (const char* sql : {"DELETE FROM design_tables WHERE doc_obid = ?", "DELETE FROM documents WHERE obid = ?"}) {
    SqliteStatement erase(vault_.Db(), sql);
    erase.Bind(1, docObid).Run();
  }
}

std::vector<Relation> VaultCatalog::Children(std::string_view parentObid) {
  SqliteStatement query(
      vault_.Db(), Sql("SELECT ", kRelationColumns, " FROM relations WHERE parent_obid = ? ORDER BY position, obid"));
  query.Bind(1, parentObid);
  std::vector<Relation> rels;
  while (query.Step()) rels.push_back(ReadRelation(query));
  return rels;
}

std::vector<Relation> VaultCatalog::Parents(std::string_view childObid) {
  SqliteStatement query(vault_.Db(), Sql("SELECT ", kRelationColumns,
                                         " FROM relations WHERE child_obid = ? ORDER BY parent_obid, position"));
  query.Bind(1, childObid);
  std::vector<Relation> rels;
  while (query.Step()) rels.push_back(ReadRelation(query));
  return rels;
}

Relation VaultCatalog::AddRelation(Relation rel) {
  if (rel.obid.empty()) rel.obid = vault_.NewObid("RL");
  if (rel.className.empty()) rel.className = kRelationClass;
  if (rel.dbName.empty()) rel.dbName = vault_.DbName();
  if (rel.position == 0) {
    SqliteStatement next(vault_.Db(), "SELECT COALESCE(MAX(position), 0) + 1 FROM relations WHERE parent_obid = ?");
    next.Bind(1, rel.parentObid);
    next.Step();
    rel.position = next.Int(0);
  }
  SqliteStatement insert(vault_.Db(),
                         Sql("INSERT INTO relations(", kRelationColumns, ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  insert.Bind(1, rel.obid).Bind(2, rel.parentObid).Bind(3, rel.childObid).Bind(4, rel.position);
  insert.Bind(5, rel.instanceName).Bind(6, rel.matrix).Bind(7, rel.quantity).Bind(8, rel.className);
  insert.Bind(9, rel.dbName).Run();
  return rel;
}

void VaultCatalog::UpdateRelation(const Relation& rel) {
  SqliteStatement update(vault_.Db(),
                         "UPDATE relations SET child_obid = ?, position = ?, instance_name = ?, "
                         "matrix = ?, quantity = ? WHERE obid = ?");
  update.Bind(1, rel.childObid).Bind(2, rel.position).Bind(3, rel.instanceName).Bind(4, rel.matrix);
  update.Bind(5, rel.quantity).Bind(6, rel.obid).Run();
}

void VaultCatalog::RemoveRelation(std::string_view obid) {
  SqliteStatement erase(vault_.Db(), "DELETE FROM relations WHERE obid = ?");
  erase.Bind(1, obid).Run();
}

}  // namespace pdmsim
