// The runner's commands: name, usage, one-line summary, longer help and the
// handler. Each group of commands registers itself from its own file (one
// line in Standard()), and may add fields to the product nodes of the dump.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ZRBSessionDump.h"

class ZRBSessionRunner;

using ZRBSessionArgs = std::vector<std::string>;  // the words after the command name

struct ZRBSessionCommand {
  std::string name;
  std::string usage;    // "open PATH [--read-only]"
  std::string summary;  // one line for `help`
  std::string details;  // shown by `help NAME`
  std::size_t minArgs = 0;
  std::size_t maxArgs = 0;  // kAnyCount: no limit
  // True when the step succeeded; a failure is reported through runner.Fail.
  std::function<bool(ZRBSessionRunner& runner, const ZRBSessionArgs& args)> run;

  static constexpr std::size_t kAnyCount = static_cast<std::size_t>(-1);
};

class ZRBSessionCommandTable {
 public:
  // --- building
  void Add(ZRBSessionCommand command);
  // The groups of the runner, each in its own file.
  static void AddDocumentCommands(ZRBSessionCommandTable& table);
  static void AddModuleCommands(ZRBSessionCommandTable& table);
  static void AddViewCommands(ZRBSessionCommandTable& table);
  static void AddStateCommands(ZRBSessionCommandTable& table);
  static void AddSelectionCommands(ZRBSessionCommandTable& table);
  static void AddGeometryCommands(ZRBSessionCommandTable& table);
  static ZRBSessionCommandTable Standard();
  // Fields a group adds to every product node of `dump --json`.
  void AddNodeFields(ZRBSessionNodeFields fields) { nodeFields_.push_back(std::move(fields)); }
  // Sections a group adds to `dump --json` after the standard ones.
  void AddDumpSection(ZRBSessionDumpSection section) { dumpSections_.push_back(std::move(section)); }

  // --- lookup
  const ZRBSessionCommand* Find(std::string_view name) const;
  const std::vector<ZRBSessionCommand>& All() const { return commands_; }
  const std::vector<ZRBSessionNodeFields>& NodeFields() const { return nodeFields_; }
  const std::vector<ZRBSessionDumpSection>& DumpSections() const { return dumpSections_; }

 private:
  std::vector<ZRBSessionCommand> commands_;
  std::vector<ZRBSessionNodeFields> nodeFields_;
  std::vector<ZRBSessionDumpSection> dumpSections_;
};
