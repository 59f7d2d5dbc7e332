// The subcommands of zrbtool: each source file describes one command and
// registers it here at start-up; main() only looks commands up.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// What a command does once its options are parsed. Exit code: 0 fine, 1 a problem with the file, 2 wrong usage.
using ZRBToolRun = std::function<int(std::ostream& out, std::ostream& err)>;

struct ZRBToolCommand {
  const char* name;     // "dump"
  const char* usage;    // "dump [--json] FILE"
  const char* summary;  // one line for the command list
  const char* help;     // the rest of "zrbtool help dump"
  // Gives the command's subcommand its options and positionals; returns the work they steer.
  ZRBToolRun (*define)(CLI::App& sub);
};

class ZRBToolCommandTable {
 public:
  static void Register(const ZRBToolCommand& command);
  // Sorted by name.
  static std::vector<ZRBToolCommand> All();
  static const ZRBToolCommand* Find(const std::string& name);
};

// `static ZRBToolRegistration registration{{"name", ...}};` in a command's file.
struct ZRBToolRegistration {
  explicit ZRBToolRegistration(const ZRBToolCommand& command) { ZRBToolCommandTable::Register(command); }
};

// Exit codes shared by every command.
constexpr int kZRBToolOk = 0;
constexpr int kZRBToolFileProblem = 1;
constexpr int kZRBToolUsage = 2;
