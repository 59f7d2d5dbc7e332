// Imports host documents into the vault: every part, product and drawing file
// becomes an item with its document, the instances of a product become
// relations (positions as position text), embedded components become
// embedded items, design-table sheets become table documents, and every file
// a document links to is imported with it.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <map>
#include <set>
#include <string>

#include "CADDocumentImage.h"
#include "Vault.h"
#include "VaultCatalog.h"

namespace pdmsim {

class DocumentImporter {
 public:
  DocumentImporter(Vault& vault, std::ostream& out);
  // A document file, or every document file of a directory.
  void Import(const std::string& path);
  void PrintSummary();

  // The position text of a host transformation (twelve numbers in the
  // host's order, written as the sixteen-number text).
  static std::string PositionText(const CADMathTransformation& position);

 private:
  Item ImportFile(const std::filesystem::path& file);
  Item StoreItem(Item wanted, const std::filesystem::path& file, const std::string& role);
  Item ImportComponent(const CADDocumentImage& image, const std::string& partNumber, const std::filesystem::path& file);
  void ImportInstances(const Item& parent, const CADReferenceImage& reference, const CADDocumentImage& image,
                       const std::filesystem::path& file);
  void ImportTables(const Item& item, const std::vector<CADDesignTableImage>& tables,
                    const std::filesystem::path& file);
  void ImportAttributes(const Item& item, const std::vector<CADParameterImage>& parameters,
                        const std::filesystem::path& file);
  // Stores the file's bytes as the document of `role` of the item (new, or
  // a new version when they changed).
  void StoreDocument(const Item& item, const std::string& role, const std::filesystem::path& file);
  std::filesystem::path ResolveLink(const std::filesystem::path& from, const std::string& written) const;

  Vault& vault_;
  VaultCatalog catalog_;
  std::ostream& out_;
  std::map<std::string, Item> imported_;  // canonical path -> its item
  std::set<std::string> inProgress_;      // documents and components being imported (cycle guard)
  std::set<std::string> preexisting_;     // items the vault held before this import
  std::set<std::string> bumped_;          // items already given a new date by this import
  int documents_ = 0;
  int newItems_ = 0;
  int changedItems_ = 0;
  int unchangedItems_ = 0;
  int relations_ = 0;
  int tables_ = 0;
};

}  // namespace pdmsim
