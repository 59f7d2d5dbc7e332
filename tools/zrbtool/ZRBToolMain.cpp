// zrbtool: the integration engineer's look into exchange object files. The command line is CLI11's: one
// subcommand per registered command, with the options and positionals the command gives it.
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

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("zrbtool - look into ZRB exchange object files (.zrb)", "zrbtool");
  app.require_subcommand(1);
  ZRBToolRun chosen;
  for (const ZRBToolCommand& command : ZRBToolCommandTable::All()) {
    CLI::App* sub = app.add_subcommand(command.name, command.summary);
    sub->footer(command.help);
    sub->callback([&chosen, sub, run = command.define(*sub)] {
      if (sub->parsed()) chosen = run;
    });
  }
  // After the commands: theirs would inherit it.
  app.footer(CommandList());
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
    std::cout << app.get_subcommand(helpTopic)->help("zrbtool");
    return kZRBToolOk;
  }
  if (!chosen) return kZRBToolUsage;
  return chosen(std::cout, std::cerr);
}
