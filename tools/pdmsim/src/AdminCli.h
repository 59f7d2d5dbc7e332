// The reference PDM's command line for the PDM user and for tests: the vault,
// sending items to the CAD session, marks, the PDM-side dialog, the journal
// of session calls and the injected faults.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace pdmsim {

class AdminCli;

// One command of the command line: its name, a line for the help, and what runs it with the words after it.
struct AdminCommand {
  const char* name;
  const char* summary;
  int (AdminCli::*run)(std::vector<std::string> args);
};

class AdminCli {
 public:
  AdminCli(std::string vaultOption, std::ostream& out) : vaultOption_(std::move(vaultOption)), out_(out) {}
  // `args` starts with the command's name.
  int Run(const std::vector<std::string>& args);
  static void PrintHelp(std::ostream& out);
  // Every command, in the order the help lists them; a new command is one more line here.
  static const std::vector<AdminCommand>& Commands();

 private:
  int VaultCommand(std::vector<std::string> args);
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
