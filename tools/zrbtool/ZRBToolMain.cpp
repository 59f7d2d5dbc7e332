// zrbtool: the integration engineer's look into exchange object files.
#include <iostream>
#include <string>
#include <vector>

#include "ZRBToolCommand.h"

namespace {
void PrintOverview(std::ostream& out) {
  out << "zrbtool - look into ZRB exchange object files (.zrb)\n\n"
         "usage: zrbtool COMMAND [ARGS]\n"
         "       zrbtool help COMMAND     more about one command\n\n"
         "commands:\n";
  for (const ZRBToolCommand& command : ZRBToolCommandTable::All()) {
    std::string usage = command.usage;
    out << "  " << usage << std::string(usage.size() < 26 ? 26 - usage.size() : 1, ' ') << command.summary << "\n";
  }
  out << "\nexit codes: 0 fine, 1 the file cannot be read or content would be ignored, 2 wrong usage\n";
}

void PrintCommandHelp(const ZRBToolCommand& command, std::ostream& out) {
  out << "usage: zrbtool " << command.usage << "\n\n" << command.summary << "\n\n" << command.help;
}

bool IsHelpWord(const std::string& word) { return word == "--help" || word == "-h" || word == "help"; }
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintOverview(std::cerr);
    return kZRBToolUsage;
  }
  if (IsHelpWord(args[0])) {
    if (args.size() > 1) {
      if (const ZRBToolCommand* command = ZRBToolCommandTable::Find(args[1])) {
        PrintCommandHelp(*command, std::cout);
        return kZRBToolOk;
      }
      std::cerr << "zrbtool: unknown command '" << args[1] << "'\n\n";
      PrintOverview(std::cerr);
      return kZRBToolUsage;
    }
    PrintOverview(std::cout);
    return kZRBToolOk;
  }
  const ZRBToolCommand* command = ZRBToolCommandTable::Find(args[0]);
  if (command == nullptr) {
    std::cerr << "zrbtool: unknown command '" << args[0] << "'\n\n";
    PrintOverview(std::cerr);
    return kZRBToolUsage;
  }
  std::vector<std::string> rest(args.begin() + 1, args.end());
  for (const std::string& arg : rest)
    if (arg == "--help" || arg == "-h") {
      PrintCommandHelp(*command, std::cout);
      return kZRBToolOk;
    }
  return command->run(rest, std::cout, std::cerr);
}
