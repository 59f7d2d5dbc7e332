// The `pdmsim vault ...` commands: create a vault, fill it (import of host
// documents, or item by item), change items, and look at it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace pdmsim {

class VaultCommands {
 public:
  VaultCommands(std::string vaultOption, std::ostream& out) : vaultOption_(std::move(vaultOption)), out_(out) {}
  int Run(const std::vector<std::string>& args);
  static void PrintHelp(std::ostream& out);

 private:
  int Init(std::vector<std::string> args);
  int Import(std::vector<std::string> args);
  int List(std::vector<std::string> args);
  int Show(std::vector<std::string> args);
  int AddItem(std::vector<std::string> args);
  int Relate(std::vector<std::string> args);
  int AddTable(std::vector<std::string> args);
  int SetAttributes(std::vector<std::string> args);
  int SetFields(std::vector<std::string> args);
  int Touch(std::vector<std::string> args);
  int Replace(std::vector<std::string> args);

  std::string vaultOption_;
  std::ostream& out_;
};

}  // namespace pdmsim
