#include "PartInfoAnswer.h"

#include <algorithm>
#include <memory>
#include <set>

#include <CLI/CLI.hpp>

#include "AdminCli.h"
#include "ExchangeFile.h"
#include "FaultPlan.h"
#include "PdmError.h"
#include "Sqlite.h"
#include "Vault.h"
#include "VaultCatalog.h"

namespace pdmsim {
namespace {

constexpr std::string_view kStdPrefix = "part_info.std:";
constexpr std::string_view kBomPrefix = "part_info.bom:";

std::set<std::string, std::less<>> FailParts(const std::optional<Fault>& fault) {
  std::set<std::string, std::less<>> parts;
  if (fault) parts.insert(fault->failParts.begin(), fault->failParts.end());
  return parts;
}

}  // namespace

void PartInfoAnswer::SetStandard(const std::string& obid, bool standard) {
  if (standard)
    vault_.SetSetting(std::string(kStdPrefix) + obid, "1");
  else
    vault_.RemoveSetting(std::string(kStdPrefix) + obid);
}

bool PartInfoAnswer::IsStandard(const std::string& obid) {
  return !obid.empty() && vault_.Setting(std::string(kStdPrefix) + obid).has_value();
}

void PartInfoAnswer::SetBomType(const std::string& partNumber, const std::string& type) {
  if (type.empty())
    vault_.RemoveSetting(std::string(kBomPrefix) + partNumber);
  else
    vault_.SetSetting(std::string(kBomPrefix) + partNumber, type);
}

std::optional<std::string> PartInfoAnswer::BomType(const std::string& partNumber) {
  if (auto type = vault_.Setting(std::string(kBomPrefix) + partNumber)) return type;
  return vault_.Setting(std::string(kBomPrefix) + "*");
}

std::vector<std::string> PartInfoAnswer::Entries() {
  std::vector<std::string> lines;
  SqliteStatement read(vault_.Db(), "SELECT key, value FROM settings WHERE key LIKE 'part_info.%' ORDER BY key");
  VaultCatalog catalog(vault_);
  while (read.Step()) {
    const std::string key = read.Text(0);
    if (key.rfind(kStdPrefix, 0) == 0) {
      const std::string obid = key.substr(kStdPrefix.size());
      const auto item = catalog.FindItem(obid);
      lines.push_back("standard " + (item ? item->partNumber : std::string("?")) + " (" + obid + ")");
    } else if (key.rfind(kBomPrefix, 0) == 0) {
      lines.push_back("bom-type " + key.substr(kBomPrefix.size()) + " " + read.Text(1));
    }
  }
  return lines;
}

std::string PartInfoAnswer::AnswerStandardParts(ExchangeFile& file, const std::optional<Fault>& fault) {
  const auto failParts = FailParts(fault);
  VaultCatalog catalog(vault_);
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  const std::vector<std::string> keys = root.GetList("OBJECTLIST");
  int standard = 0;
  int failed = 0;
  for (const std::string& key : keys) {
    ExchangeObject* object = file.Find(key);
    if (!object || key == "ROOT") continue;
    const std::string partNumber = object->Get("PARTNUMBER");
    if (failParts.count(partNumber)) {
      ++failed;
      root.Append("STATS", "Reference PDM: no information for part " + partNumber + ".");
      continue;
    }
    std::optional<Item> item = object->Get("OBID").empty() ? std::nullopt : catalog.FindItem(object->Get("OBID"));
    if (!item && !partNumber.empty()) item = catalog.FindItemByPartNumber(partNumber);
    const bool isStandard = item && IsStandard(item->obid);
    object->Set("IS_STD_PART", isStandard ? "1" : "0");
    if (!isStandard) continue;
    ++standard;
    object->Set("OBID", item->obid);
    object->Set("CLASSNAME", item->className);
  }
  root.Set("ACTION_SUCCESS", failed > 0 ? "3" : "1");
  return std::to_string(keys.size()) + " parts, " + std::to_string(standard) + " standard, " + std::to_string(failed) +
         " unanswered";
}

std::string PartInfoAnswer::AnswerBomTypes(ExchangeFile& file, const std::optional<Fault>& fault) {
  const auto failParts = FailParts(fault);
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  int parts = 0;
  int failed = 0;
  // A chain that loops is a request no module writes: each object is followed once.
  std::set<std::string> seen{"ROOT"};
  for (std::string key = root.Get("NEXT_OP"); !key.empty() && seen.insert(key).second;) {
    ExchangeObject* object = file.Find(key);
    if (!object) break;
    ++parts;
    const std::string partNumber = object->Get("PARTNUMBER");
    if (failParts.count(partNumber)) {
      ++failed;
      root.Append("STATS", "Reference PDM: no part type for " + partNumber + ".");
    } else {
      object->Set("BOM_TYPE", BomType(partNumber).value_or("NOT_SET"));
    }
    key = object->Get("NEXT_OP");
  }
  root.Set("ACTION_SUCCESS", failed > 0 ? "3" : "1");
  return std::to_string(parts) + " parts, " + std::to_string(failed) + " without a type";
}

void AdminCli::PartInfoCommand(CLI::App& sub) {
  sub.require_subcommand(1);
  struct Options {
    std::vector<std::string> names;
    bool off = false;
    std::string partNumber, type;
  };
  auto o = std::make_shared<Options>();
  CLI::App* standard = sub.add_subcommand("standard", "mark vault items as standard parts (--off: no longer)");
  standard->add_option("PARTNUMBER", o->names, "the items")->required();
  standard->add_flag("--off", o->off, "no longer a standard part");
  chosen_.On(*standard, [this, o] {
    auto vault = Vault::Open(Vault::ResolveDirectory(vaultOption_));
    SqliteTransaction transaction(vault->Db());
    VaultCatalog catalog(*vault);
    PartInfoAnswer answer(*vault);
    for (const std::string& name : o->names) {
      const auto item = catalog.FindItemByPartNumber(name);
      if (!item) throw PdmError("no item with part number " + name + " in the vault (see pdmsim vault ls)", 2);
      answer.SetStandard(item->obid, !o->off);
    }
    transaction.Commit();
    out_ << (o->off ? "no longer standard parts: " : "standard parts: ");
    for (const std::string& name : o->names) out_ << name << ' ';
    out_ << '\n';
    return 0;
  });
  CLI::App* bom = sub.add_subcommand("bom-type", "the part type x3GetBomTypes answers for a part number (* default)");
  bom->add_option("PARTNUMBER", o->partNumber, "the part number, or * for every other part")->required();
  bom->add_option("TYPE", o->type, "NOT_SET, BOM, NOT_BOM (any other word is answered as it is); none: remove");
  chosen_.On(*bom, [this, o] {
    if (o->type.find_first_of("{}\n") != std::string::npos) throw PdmError("a part type is one word", 2);
    auto vault = Vault::Open(Vault::ResolveDirectory(vaultOption_));
    SqliteTransaction transaction(vault->Db());
    PartInfoAnswer(*vault).SetBomType(o->partNumber, o->type);
    transaction.Commit();
    out_ << "part type of " << o->partNumber << ": " << (o->type.empty() ? std::string("(removed)") : o->type) << '\n';
    return 0;
  });
  chosen_.On(*sub.add_subcommand("ls", "the standard parts and part types"), [this] {
    auto vault = Vault::Open(Vault::ResolveDirectory(vaultOption_));
    const std::vector<std::string> lines = PartInfoAnswer(*vault).Entries();
    if (lines.empty()) out_ << "no part information set\n";
    for (const std::string& line : lines) out_ << line << '\n';
    return 0;
  });
}

}  // namespace pdmsim
