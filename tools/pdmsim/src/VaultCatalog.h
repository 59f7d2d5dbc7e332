// Reads and changes the PDM data of a vault: items, documents, relations,
// design tables and user attributes. Callers hold the transaction.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Vault.h"
#include "VaultRecords.h"

namespace pdmsim {

class VaultCatalog {
 public:
  explicit VaultCatalog(Vault& vault) : vault_(vault) {}
  Vault& Owner() const { return vault_; }

  // --- PDM class names the vault gives new objects
  static std::string ItemClassFor(std::string_view kind);
  static std::string DocumentClassFor(std::string_view role);
  static constexpr const char* kRelationClass = "ItemUsage";

  // --- items
  std::optional<Item> FindItemByPartNumber(std::string_view partNumber);
  std::optional<Item> FindItem(std::string_view obid);
  // Every item, ordered by part number.
  std::vector<Item> Items();
  // Inserts a new item (OBID and class assigned when empty) and returns it.
  Item AddItem(Item item);
  void UpdateItem(const Item& item);
  // Gives the item (and its documents) a new modification date.
  void TouchItem(std::string_view obid);

  // --- user attributes
  std::vector<Attribute> Attributes(std::string_view itemObid);
  void SetAttribute(std::string_view itemObid, std::string_view name, std::string_view value);
  void RemoveAttribute(std::string_view itemObid, std::string_view name);

  // --- documents
  std::vector<Document> Documents(std::string_view itemObid);
  std::optional<Document> DocumentByRole(std::string_view itemObid, std::string_view role);
  std::optional<Document> FindDocumentByFileName(std::string_view fileName);
  Document AddDocument(Document document);
  void UpdateDocumentBlob(std::string_view obid, std::string_view blob, std::int64_t size);

  // --- design tables
  std::vector<DesignTable> DesignTables(std::string_view itemObid);
  void AddDesignTable(const DesignTable& table);
  // Removes the table together with its sheet document.
  void RemoveDesignTable(std::string_view docObid);

  // --- relations (children of a parent in their order)
  std::vector<Relation> Children(std::string_view parentObid);
  std::vector<Relation> Parents(std::string_view childObid);
  Relation AddRelation(Relation relation);
  // Changes child, position, quantity and order; the relation keeps its OBID.
  void UpdateRelation(const Relation& relation);
  void RemoveRelation(std::string_view obid);

 private:
  Vault& vault_;
};

}  // namespace pdmsim
