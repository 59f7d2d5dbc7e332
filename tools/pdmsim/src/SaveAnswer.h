// The PDM's side of a save ("x3UpdateFromFile"): follows the node objects of
// the request from "ROOT" through "SUBASSEMBLIES", keeps what they ask for in
// the vault (new items and relations, document versions, positions, design
// tables, removed children, a saved workbench) and writes each action's
// answer slots into the same objects. The caller holds the transaction.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ExchangeFile.h"
#include "FileStore.h"
#include "VaultCatalog.h"

namespace pdmsim {

struct SaveReport {
  int created = 0;       // new items
  int related = 0;       // new relations
  int saved = 0;         // document versions stored
  int moved = 0;         // positions changed
  int removed = 0;       // relations removed
  int failed = 0;        // actions refused (each with a "STATS" line)
  bool refused = false;  // the request as a whole cannot be followed: nothing may be kept
  std::vector<std::string> warnings;
  std::string Summary() const;
};

class SaveAnswer {
 public:
  // Deepest node structure followed; deeper requests are refused as a whole.
  static constexpr int kMaxDepth = 64;

  SaveAnswer(Vault& vault, std::string exchangeMap, std::set<std::string, std::less<>> failParts);
  SaveReport Apply(ExchangeFile& request);

  // Sixteen numbers separated by blanks, the fourth, eighth, twelfth and last fixed at 0, 0, 0, 1.
  static bool IsPositionText(std::string_view text);
  // The kind of item a node stands for, by its document ("PATH", else its product object's) and its children.
  static std::string KindOf(const ExchangeObject& node, const ExchangeObject* product);

 private:
  // `orphan`: the parent node asked to be known to the PDM but is not; its children cannot be placed.
  void Node(ExchangeObject& node, const Item* parent, bool orphan, bool isRoot, int depth);
  // A new item for a node that asks to be created; nullptr (with a failure) when it cannot be.
  std::optional<Item> CreateItem(ExchangeObject& node);
  void Relate(ExchangeObject& node, const Item& parent, const Item& child);
  // The existing item a node to be created asks to link, found by its part number and placed under `parent`
  // (none for the root). nullopt with `refused` false: the vault holds no such item, the caller creates it.
  std::optional<Item> LinkItem(ExchangeObject& node, const Item* parent, bool& refused);
  // Gives the relation a renamed instance held (its "REL_OBID", else its old name under `parent`) the new
  // instance name; false when the node names no relation of `parent`.
  bool Rename(ExchangeObject& node, const Item& parent);
  // True when `obid` is `holder` or lies anywhere below it: placing `holder` below `obid` would close a cycle.
  bool Contains(const std::string& holder, const std::string& obid);
  void Move(ExchangeObject& node, const Item& parent);
  void SaveDocuments(ExchangeObject& node, const Item& item, bool created);
  void Tables(ExchangeObject& node, const Item& item);
  void VirtualRoot(ExchangeObject& root);
  void RemovedChildren(ExchangeObject& object);
  // Stores the file at `path` as the document's new version when its bytes differ; false with a failure line.
  bool StoreVersion(Document& doc, const std::string& path, const std::string& who);
  std::string ResolvePath(const std::string& path) const;
  ExchangeObject* Lookup(std::string_view key);
  void Fail(ExchangeObject& object, const char* successSlot, const std::string& line);
  void Touch(const Item& parent);

  Vault& vault_;
  VaultCatalog catalog_;
  FileStore store_;
  std::string exchangeMap_;
  std::set<std::string, std::less<>> failParts_;
  std::map<std::string, ExchangeObject*, std::less<>> objects_;  // the request's objects by key
  std::set<std::string, std::less<>> visited_;                   // node keys already followed
  std::set<std::string, std::less<>> touched_;  // items whose structure or documents changed: one new date each
  SaveReport report_;
};

}  // namespace pdmsim
