// The dependency links of the vault (item A depends on item B: B is an external of A) and the answers of the two
// dependency words: "x3GetDependencyInfo" lists the related items of one item, "x3GetDependentFiles" delivers
// their documents into the exchange map.
#pragma once

#include <string>
#include <vector>

#include "ExchangeFile.h"
#include "Vault.h"

namespace pdmsim {

// The links live in a table of their own, created on first use, so older vaults keep their layout.
class DependencyLinks {
 public:
  explicit DependencyLinks(Vault& vault);
  // Records that `dependentObid` depends on `externalObid`; linking twice changes nothing.
  void Link(const std::string& dependentObid, const std::string& externalObid);
  // The items that depend on `obid` (REQUEST_QUERY_DEPENDED_BY) or that it depends on (REQUEST_QUERY_DEPENDENT).
  std::vector<std::string> DependingOn(const std::string& obid);
  std::vector<std::string> ExternalsOf(const std::string& obid);

 private:
  std::vector<std::string> Select(const char* sql, const std::string& obid);
  Vault& vault_;
};

// Fill `file` (the request, rewritten as the answer) and return the journal's outcome text.
std::string AnswerDependencyInfo(Vault& vault, ExchangeFile& file);
std::string AnswerDependentFiles(Vault& vault, ExchangeFile& file, const std::string& exchangeMap);

}  // namespace pdmsim
