#include "PdmSimHarness.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace pdmsimtest {
namespace fs = std::filesystem;

PdmSimHarness::PdmSimHarness() {
  std::string pattern = (fs::temp_directory_path() / "pdmsim-test-XXXXXX").string();
  char* made = ::mkdtemp(pattern.data());
  if (!made) throw std::runtime_error("mkdtemp failed");
  root_ = made;
  fs::create_directories(Xmap());
  fs::create_directories(root_ + "/src");
  std::string sender = root_ + "/sender.sh";
  WriteFile(sender, "#!/bin/sh\nprintf '%s|' \"$@\" >> '" + root_ + "/sender.log'\necho >> '" + root_ +
                        "/sender.log'\n[ -e '" + root_ +
                        "/sender.fail' ] && { echo 'no session' >&2; exit 3; }\n"
                        "exit 0\n");
  fs::permissions(sender, fs::perms::owner_all);
  env_["PDMSIM_VAULT"] = Vault();
  env_["PDMSIM_SENDER"] = sender;
  env_["PDMSIM_NOW"] = "2024-05-01 10:00:00.000";
  Admin({"vault", "init"});
}

PdmSimHarness::~PdmSimHarness() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

RunResult PdmSimHarness::Run(const std::string& program, const std::vector<std::string>& args) const {
  return RunBuiltTool(program, args, env_);
}

std::string PdmSimHarness::Admin(const std::vector<std::string>& args) const {
  RunResult result = Run("pdmsim", args);
  std::string joined;
  for (const std::string& arg : args) joined += arg + " ";
  EXPECT_EQ(result.exitCode, 0) << "pdmsim " << joined << "\n" << result.out << result.err;
  return result.out;
}

RunResult PdmSimHarness::Session(const std::string& action, const std::string& file, const std::string& program) const {
  std::vector<std::string> args;
  if (program == "pdmcl") args = {"-b", "--"};
  args.push_back("PdmSessn");
  args.push_back(action);
  if (!file.empty()) args.push_back(file);
  return Run(program, args);
}

std::vector<std::string> PdmSimHarness::SenderCalls() const {
  std::vector<std::string> calls;
  std::istringstream log(Exists(root_ + "/sender.log") ? ReadFile(root_ + "/sender.log") : std::string());
  for (std::string line; std::getline(log, line);) calls.push_back(line);
  return calls;
}

void PdmSimHarness::MakeSenderFail() { WriteFile(root_ + "/sender.fail", ""); }

std::string PdmSimHarness::WriteSource(const std::string& name, const std::string& bytes) const {
  std::string path = root_ + "/src/" + name;
  WriteFile(path, bytes);
  return path;
}

bool PdmSimHarness::Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::string PdmSimHarness::WriteReadRequest(const std::map<std::string, std::string>& extraCommandSlots) const {
  std::string bytes = "@COMMAND\n{COMMAND} REQUEST_READ\n{EXMAP} " + Xmap() + "\n";
  for (const auto& [name, value] : extraCommandSlots) bytes += "{" + name + "} " + value + "\n";
  bytes += "{WORKWITHCACHE} OFF\n\n";
  std::string path = XmapFile("xfile.zrb");
  WriteFile(path, bytes);
  return path;
}

std::string PdmSimHarness::WriteAddTempRequest() const {
  std::string path = XmapFile("atfile.zrb");
  WriteFile(path, "@ROOT\n{ACTION_SUCCESS} 0\n\n@COMMAND\n{EXMAP} " + Xmap() + "\n{TMP_PRAEFIX} TMP17\n\n");
  return path;
}

void PdmSimHarness::FillSampleVault() {
  Admin({"vault", "add-item", "BOLT", "--file", WriteSource("BOLT.CADPart", "bolt geometry\n"), "--rev", "B",
         "--nomenclature", "Bolt M8", "--description", "hex bolt"});
  Admin({"vault", "add-item", "SHAFT", "--file", WriteSource("SHAFT.CADPart", "shaft geometry\n"), "--rev", "A",
         "--nomenclature", "Shaft"});
  Admin({"vault", "add-table", "SHAFT", WriteSource("SHAFT_sizes.xls", "length;diameter\n"), "--name", "Sizes"});
  Admin({"vault", "add-item", "SHAFT-ASM", "--file", WriteSource("SHAFT-ASM.CADProduct", "shaft assembly\n"),
         "--nomenclature", "Shaft group"});
  Admin({"vault", "add-item", "GEARBOX", "--file", WriteSource("GEARBOX.CADProduct", "gearbox\n"), "--rev", "A",
         "--nomenclature", "Gearbox"});
  Admin({"vault", "add-item", "BOLT-DRW", "--file", WriteSource("BOLT.CADDrawing", "drawing\n"), "--nomenclature",
         "Bolt drawing"});
  Admin({"vault", "relate", "SHAFT-ASM", "SHAFT"});
  Admin({"vault", "relate", "GEARBOX", "SHAFT-ASM", "--matrix", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 50 1"});
  Admin({"vault", "relate", "GEARBOX", "BOLT", "--matrix", "1 0 0 0 0 1 0 0 0 0 1 0 10 0 0 1"});
  Admin({"vault", "relate", "GEARBOX", "BOLT", "--matrix", "0 1 0 0 -1 0 0 0 0 0 1 0 -10 0 0 1"});
  Admin({"vault", "attr", "BOLT", "Material=Steel 8.8", "Supplier=ACME"});
}

}  // namespace pdmsimtest
