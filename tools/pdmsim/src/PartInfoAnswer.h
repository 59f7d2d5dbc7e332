// What the reference PDM knows about parts before they are saved: which vault items are standard parts
// ("x3GetInfoForParts" on "stdfile.zrb") and which part (BOM) type a new part gets ("x3GetBomTypes" on
// "bomtypes.zrb"). Both lists live in the vault's settings and are set with `pdmsim part-info`.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pdmsim {

class Vault;
class ExchangeFile;
struct Fault;

class PartInfoAnswer {
 public:
  explicit PartInfoAnswer(Vault& vault) : vault_(vault) {}
  // Each object of "ROOT"'s "OBJECTLIST" (by "OBID", else "PARTNUMBER") gets "IS_STD_PART", and a standard part
  // its "OBID" and "CLASSNAME". A part number in the fault's --fail-for gets no answer ("3" with a "STATS" line).
  std::string AnswerStandardParts(ExchangeFile& file, const std::optional<Fault>& fault);
  // Each object of the "NEXT_OP" chain from "ROOT" gets "BOM_TYPE": its part number's type, else the default
  // ("*"), else "NOT_SET". --fail-for leaves a part without "BOM_TYPE".
  std::string AnswerBomTypes(ExchangeFile& file, const std::optional<Fault>& fault);

  // --- the lists (the caller holds the transaction)
  void SetStandard(const std::string& obid, bool standard);
  bool IsStandard(const std::string& obid);
  // `partNumber` "*" sets the default; an empty `type` removes the entry.
  void SetBomType(const std::string& partNumber, const std::string& type);
  std::optional<std::string> BomType(const std::string& partNumber);
  // "std OBID" and "bom PARTNUMBER TYPE" lines, sorted.
  std::vector<std::string> Entries();

 private:
  Vault& vault_;
};

}  // namespace pdmsim
