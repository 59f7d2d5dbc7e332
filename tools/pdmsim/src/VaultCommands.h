// The `pdmsim vault ...` commands: create a vault, fill it (import of host
// documents, or item by item), change items, and look at it.
#pragma once

#include <iosfwd>
#include <string>

#include "ChosenCommand.h"

namespace CLI {
class App;
}

namespace pdmsim {

class VaultCommands {
 public:
  // `vaultOption` is read when a command runs, after the command line was parsed into it.
  VaultCommands(const std::string& vaultOption, std::ostream& out, ChosenCommand& chosen)
      : vaultOption_(vaultOption), out_(out), chosen_(chosen) {}
  // Gives the "vault" subcommand its own subcommands.
  void Define(CLI::App& vault);
  static void PrintHelp(std::ostream& out);

 private:
  void Init(CLI::App& sub);
  void Import(CLI::App& sub);
  void List(CLI::App& sub);
  void Show(CLI::App& sub);
  void AddItem(CLI::App& sub);
  void Relate(CLI::App& sub);
  void LinkDependency(CLI::App& sub);
  void AddTable(CLI::App& sub);
  void SetAttributes(CLI::App& sub);
  void SetFields(CLI::App& sub);
  void SetCustomAttribute(CLI::App& sub);
  void Touch(CLI::App& sub);
  void Replace(CLI::App& sub);

  const std::string& vaultOption_;
  std::ostream& out_;
  ChosenCommand& chosen_;
};

}  // namespace pdmsim
