// zrbtool: the integration engineer's look into exchange object files. The command line is CLI11's: one
// subcommand per registered command, whose own arguments go to that command as they are.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "ZRBToolCommand.h"

namespace {

std::string CommandList() {
  std::string text = "commands:\n";
  for (const ZRBToolCommand& command : ZRBToolCommandTable::All()) {
    const std::string usage = command.usage;
    text += "  " + usage + std::string(usage.size() < 26 ? 26 - usage.size() : 1, ' ') + command.summary + "\n";
  }
  return text +
         "\n`zrbtool help COMMAND` (or COMMAND --help) tells more about one.\n"
         "exit codes: 0 fine, 1 the file cannot be read or content would be ignored, 2 wrong usage";
}

std::string CommandHelp(const ZRBToolCommand& command) {
  return "usage: zrbtool " + std::string(command.usage) + "\n\n" + command.summary + "\n\n" + command.help;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("zrbtool - look into ZRB exchange object files (.zrb)", "zrbtool");
  app.footer(CommandList());
  app.require_subcommand(1);
  std::vector<std::string> rest;
  const ZRBToolCommand* chosen = nullptr;
  std::vector<ZRBToolCommand> commands = ZRBToolCommandTable::All();
  for (const ZRBToolCommand& command : commands) {
    CLI::App* sub = app.add_subcommand(command.name, command.summary);
    // The command reads its own arguments (options and files) and says what is wrong with them.
    sub->prefix_command();
    sub->set_help_flag();
    sub->callback([&rest, &chosen, &command, sub] {
      chosen = &command;
      rest = sub->remaining();
    });
  }
  std::string helpTopic;
  CLI::App* help = app.add_subcommand("help", "more about one command");
  help->add_option("COMMAND", helpTopic, "the command");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kZRBToolOk : kZRBToolUsage;
  }
  if (help->parsed()) {
    if (helpTopic.empty()) {
      std::cout << app.help();
      return kZRBToolOk;
    }
    const ZRBToolCommand* command = ZRBToolCommandTable::Find(helpTopic);
    if (!command) {
      std::cerr << "zrbtool: unknown command '" << helpTopic << "'\n" << CommandList() << "\n";
      return kZRBToolUsage;
    }
    std::cout << CommandHelp(*command);
    return kZRBToolOk;
  }
  if (!chosen) return kZRBToolUsage;
  for (const std::string& arg : rest)
    if (arg == "--help" || arg == "-h") {
      std::cout << CommandHelp(*chosen);
      return kZRBToolOk;
    }
  return chosen->run(rest, std::cout, std::cerr);
}
