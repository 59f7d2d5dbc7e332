// A read delivers the black box a product holds: the box object the product's item object names in
// "ATTACHED_BLACKBOX", one file object per file the box holds, and the files themselves in the exchange map, in
// the shape the attachment's answer has, so the CAD session places the box below the product again.
#pragma once

#include <string>
#include <vector>

#include "ExchangeFile.h"
#include "FileStore.h"
#include "VaultRecords.h"

namespace pdmsim {

class BlackBoxDelivery {
 public:
  BlackBoxDelivery(Vault& vault, FileStore& store, std::string exchangeMap);

  // The attachment records which of the box's files are its roots; an older table gains the column here.
  static void KeepRoots(Vault& vault, const std::string& fatherObid, const std::vector<std::string>& rootFiles);
  static void EnsureRootColumn(Vault& vault);

  // Adds the box of `item` to `answer` and names it in `itemObject`. Nothing is added when the vault knows no
  // box with a root for the item; false (a line in `warnings`) when a file of the box cannot be delivered.
  bool Deliver(ExchangeFile& answer, ExchangeObject& itemObject, const Item& item, std::vector<std::string>& warnings);

 private:
  Vault& vault_;
  FileStore& store_;
  std::string exchangeMap_;
};

}  // namespace pdmsim
