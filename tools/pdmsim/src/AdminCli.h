// The reference PDM's command line for the PDM user and for tests: the vault,
// sending items to the CAD session, marks, the PDM-side dialog, the journal
// of session calls and the injected faults.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace pdmsim {

class AdminCli {
 public:
  AdminCli(std::string vaultOption, std::ostream& out) : vaultOption_(std::move(vaultOption)), out_(out) {}
  int Run(const std::vector<std::string>& args);
  static void PrintHelp(std::ostream& out);

 private:
  int LoadIntoCad(std::vector<std::string> args);
  int Mark(std::vector<std::string> args);
  int DialogCommand(std::vector<std::string> args);
  int JournalCommand(std::vector<std::string> args);
  int FaultCommand(std::vector<std::string> args);
  int SettingsCommand(std::vector<std::string> args);

  std::string vaultOption_;
  std::ostream& out_;
};

}  // namespace pdmsim
