#include "SamClient.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "ExchangeFile.h"

namespace pdmsim {
namespace fs = std::filesystem;

namespace {

// Words only the SAM client sends.
constexpr std::array<std::string_view, 2> kSamOnly = {"StartSam", "x3CreateArchiveFrFile"};
// Words of commands the SAM client has no variant of: its session never sends them.
constexpr std::array<std::string_view, 13> kStandardOnly = {
    "x3SaveAsCADPartFrFile",   "x3SaveAsCADDrawFrFile",     "x3SaveAsCADPartLegacyFrFl", "x3CancelCadSaveAs",
    "x3CreateCadPrtDocFrFile", "x3CreateCadDrwDocFrFile",   "x3CancelCreateForDoc",      "x3UsePdmStructure",
    "x3CancelUsePdmStruct",    "x3CreateCADLegacyFromFile", "x3GetPartAttributeApi",     "x3PutPartAttributeApi",
    "x3StoreSupplyFile"};

template <std::size_t N>
bool Holds(const std::array<std::string_view, N>& words, std::string_view word) {
  for (std::string_view w : words)
    if (w == word) return true;
  return false;
}

std::string ExchangeMapFromEnvironment() {
  for (const char* name : {"SAM_ZRBXMAP", "ZRBXMAP"})
    if (const char* value = std::getenv(name); value && *value) return value;
  return {};
}

}  // namespace

int SamClient::Start(Vault& vault, Journal& journal, std::int64_t seq, const std::optional<Fault>& fault) {
  const std::string xmap = ExchangeMapFromEnvironment();
  if (xmap.empty()) {
    // The session is open all the same; only the port cannot be handed over.
    journal.SetOutcome(seq, "noted; no port file: neither SAM_ZRBXMAP nor ZRBXMAP is set");
    std::cerr << "pdmsim: StartSam: neither SAM_ZRBXMAP nor ZRBXMAP names the exchange map\n";
    return 0;
  }
  const std::string path = (fs::path(xmap) / kPortFileName).string();
  const std::string setting = vault.Setting(kPortSetting).value_or("7411");
  int port = 0;
  try {
    port = std::stoi(setting);
  } catch (const std::exception&) {
    journal.SetOutcome(seq, "the setting " + std::string(kPortSetting) + " is no number: " + setting);
    return 1;
  }
  if (fault && fault->noRewrite) {
    std::error_code ec;
    fs::remove(path, ec);
    journal.SetOutcome(seq, "port file left out (fault)");
    return 0;
  }
  std::string bytes(reinterpret_cast<const char*>(&port), sizeof port);
  if (fault && fault->truncate) bytes.resize(2);
  std::string error;
  if (!WriteFileAtomic(path, bytes, &error)) {
    journal.SetOutcome(seq, "port file not written: " + error);
    std::cerr << "pdmsim: " << error << "\n";
    return 1;
  }
  journal.SetOutcome(
      seq, "port " + std::to_string(port) + (fault && fault->truncate ? " written short (fault)" : " written"));
  return 0;
}

std::string SamClient::RefusalFor(Vault& vault, std::string_view role, std::string_view action) {
  if (vault.Setting(kStrictSetting).value_or("") != "ON") return {};
  if (role == "sam" && Holds(kStandardOnly, action)) return "the SAM client (samcl) never sends " + std::string(action);
  if (role != "sam" && Holds(kSamOnly, action)) return "the standard client (pdmcl) never sends " + std::string(action);
  return {};
}

int SamClient::Refuse(Journal& journal, std::int64_t seq, const std::string& reason, const std::string& requestPath) {
  journal.SetOutcome(seq, "refused: " + reason);
  std::cerr << "pdmsim: refused: " << reason << "\n";
  if (requestPath.empty()) return 1;
  ParseReport report;
  std::string error;
  auto request = ExchangeFile::Load(requestPath, &error, &report);
  // A request the reader could not follow stays as it was.
  if (!request || !report.complete) return 1;
  ExchangeObject& root = request->FindOrAdd("ROOT", true);
  root.Set("ACTION_SUCCESS", "0");
  root.Remove("STATS");
  root.Append("STATS", "Reference PDM: refused: " + reason + ".");
  return request->SaveAtomic(requestPath, &error) ? 0 : 1;
}

}  // namespace pdmsim
