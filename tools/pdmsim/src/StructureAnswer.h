// Builds the structure answer of a delivery (read, add-temporary): the objects
// that describe the chosen items with their documents, relations and design
// tables, and the documents copied into the exchange map, honouring the list
// of files the workstation already holds.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "CachedFileList.h"
#include "ExchangeFile.h"
#include "FileStore.h"
#include "VaultCatalog.h"

namespace pdmsim {

struct DeliveryReport {
  int delivered = 0;                  // files copied into the exchange map
  int reused = 0;                     // files declared "USE_FILE_IN_EXMAP"
  int topLevel = 0;                   // chosen items that made it into the answer
  std::vector<std::string> warnings;  // lines for "STATS"
};

class StructureAnswer {
 public:
  // Deepest structure followed before a branch is cut off as suspicious.
  static constexpr int kMaxDepth = 64;

  StructureAnswer(VaultCatalog& catalog, FileStore& store, std::string exchangeMap, CachedFileList cached,
                  std::set<std::string, std::less<>> failParts);

  // Adds the answer for the chosen items to `answer`; `root` is the file's
  // "ROOT" object (already in `answer`).
  DeliveryReport Build(ExchangeFile& answer, std::string_view rootKey, const std::vector<Item>& chosen);
  // One requested document of a dependency get: the item's identity on `object` and the file placed (or the
  // cached copy declared valid). False when the file cannot be placed.
  bool DescribeDocument(ExchangeObject& object, const Item& item, const Document& doc);

 private:
  // Adds the item's object (once) and everything below it; false when the
  // item cannot be delivered (the caller leaves its relation out).
  bool AddItem(ExchangeFile& answer, const Item& item, std::vector<std::string>& path);
  bool AddDocumentObject(ExchangeFile& answer, const Item& item, const Document& doc);
  void AddTableObject(ExchangeFile& answer, const Item& item, const Document& doc, const DesignTable& table);
  void AddRelationObject(ExchangeFile& answer, const std::string& key, const Relation& rel, const Item& child);
  void Put(ExchangeFile& answer, ExchangeObject object);
  // Copies the document into the exchange map or declares the cached copy
  // valid; sets "EXTERNAL_LOCATION" (and "USE_FILE_IN_EXMAP").
  bool PlaceFile(ExchangeObject& object, const Document& doc);
  void SetIdentityAttributes(ExchangeObject& object, const Item& item);

  VaultCatalog& catalog_;
  FileStore& store_;
  std::string exchangeMap_;
  CachedFileList cached_;
  std::set<std::string, std::less<>> failParts_;
  std::map<std::string, bool, std::less<>> itemDone_;  // item OBID -> delivered
  std::set<std::string, std::less<>> requestKeys_;     // keys the request brought
  DeliveryReport report_;
};

}  // namespace pdmsim
