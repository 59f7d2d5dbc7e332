// Prints an item and the structure below it as a tree with box-drawing
// characters: positions of every use; documents, attributes and children of
// an item the first time it appears (later uses say "as above").
#pragma once

#include <iosfwd>
#include <set>
#include <string>
#include <vector>

#include "VaultCatalog.h"

namespace pdmsim {

class VaultTreePrinter {
 public:
  VaultTreePrinter(VaultCatalog& catalog, std::ostream& out) : catalog_(catalog), out_(out) {}
  void Print(const Item& root);

  static std::string Label(const Item& item);

 private:
  void PrintDetails(const Item& item, const std::string& indent);
  void PrintChildren(const Item& item, const std::string& prefix, std::vector<std::string>& path);

  VaultCatalog& catalog_;
  std::ostream& out_;
  std::set<std::string> shown_;  // items whose details and children were printed
};

}  // namespace pdmsim
