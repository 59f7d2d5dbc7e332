// The reference PDM's command line for the PDM user and for tests: the vault,
// sending items to the CAD session, marks, the PDM-side dialog, the journal
// of session calls and the injected faults.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "ChosenCommand.h"
#include "VaultCommands.h"

namespace CLI {
class App;
}

namespace pdmsim {

class AdminCli;

// One command of the command line: its name, a line for the help, and the handler that gives its subcommand its
// options and the work they steer.
struct AdminCommand {
  const char* name;
  const char* summary;
  void (AdminCli::*define)(CLI::App& sub);
};

class AdminCli {
 public:
  explicit AdminCli(std::ostream& out) : out_(out), vault_(vaultOption_, out, chosen_) {}
  AdminCli(const AdminCli&) = delete;
  AdminCli& operator=(const AdminCli&) = delete;
  // Gives `app` the "--vault" option and one subcommand per command.
  void Define(CLI::App& app);
  // After `app` parsed a command line: runs the command it chose.
  int Run() const { return chosen_.Run(); }
  bool Chosen() const { return chosen_.Chosen(); }
  static void PrintHelp(std::ostream& out);
  // Every command, in the order the help lists them; a new command is one more line here.
  static const std::vector<AdminCommand>& Commands();

 private:
  void VaultCommand(CLI::App& sub);
  void LoadIntoCad(CLI::App& sub);
  void Mark(CLI::App& sub);
  void DialogCommand(CLI::App& sub);
  void JournalCommand(CLI::App& sub);
  void FaultCommand(CLI::App& sub);
  void SettingsCommand(CLI::App& sub);
  void WorkplaneCommand(CLI::App& sub);
  void HighlightCommand(CLI::App& sub);
  void ArchiveCheckCommand(CLI::App& sub);
  void ArchiveStoreCommand(CLI::App& sub);
  void PartInfoCommand(CLI::App& sub);  // in PartInfoAnswer.cpp

  std::string vaultOption_;
  std::ostream& out_;
  ChosenCommand chosen_;
  VaultCommands vault_;
};

}  // namespace pdmsim
