// pdmsim: the reference PDM. Started as `pdmcl` or `samcl` (the CAD module's
// connection commands) it is the PDM session command; as `pdmsim` it is also
// the PDM user's and the tests' command line, parsed with CLI11: the global
// options, then one subcommand per admin command, whose words go to it as
// they are.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "AdminCli.h"
#include "PdmError.h"
#include "SessionCommand.h"

namespace {

// The session command as the module calls it: `pdmcl -b -- PdmSessn ACTION "FILE"`, `samcl StartSam ...`; the
// leading options "-b", "--" and "--vault DIR" in any order. True when `args` is such a call.
bool SessionCall(const std::string& program, const std::vector<std::string>& args, pdmsim::SessionCall& call) {
  std::size_t first = 0;
  while (first < args.size()) {
    if (args[first] == "--vault" && first + 1 < args.size()) {
      call.vaultOption = args[first + 1];
      first += 2;
    } else if (args[first] == "-b" || args[first] == "--") {
      ++first;
    } else {
      break;
    }
  }
  if (first >= args.size() || (args[first] != "PdmSessn" && args[first] != "StartSam")) return false;
  call.role = program == "samcl" ? "sam" : "standard";
  if (args[first] == "StartSam") {
    call.action = "StartSam";
    call.args.assign(args.begin() + static_cast<std::ptrdiff_t>(first) + 1, args.end());
  } else {
    if (args.size() < first + 2) throw pdmsim::PdmError("PdmSessn needs an action word", 2);
    call.action = args[first + 1];
    call.args.assign(args.begin() + static_cast<std::ptrdiff_t>(first) + 2, args.end());
  }
  return true;
}

int RunAdmin(int argc, char** argv) {
  std::ostringstream help;
  pdmsim::AdminCli::PrintHelp(help);
  CLI::App app("pdmsim: the reference PDM", "pdmsim");
  app.footer(help.str());
  std::string vault;
  app.add_option("--vault", vault, "the vault directory (default: PDMSIM_VAULT)")->type_name("DIR");
  app.require_subcommand(1);
  std::vector<std::string> chosen;
  for (const pdmsim::AdminCommand& command : pdmsim::AdminCli::Commands()) {
    CLI::App* sub = app.add_subcommand(command.name, command.summary);
    // The command reads its own words (options, part numbers) and says what is wrong with them.
    sub->prefix_command();
    sub->set_help_flag();
    sub->callback([&chosen, sub, name = std::string(command.name)] {
      chosen = sub->remaining();
      chosen.insert(chosen.begin(), name);
    });
  }
  app.add_subcommand("help", "this help")->callback([&chosen] { chosen = {"help"}; });
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {
      std::cout << app.help();
      return 0;
    }
    // A word that names no command leaves the subcommand missing: name the word instead.
    const std::vector<std::string> extra = app.remaining();
    if (!extra.empty() && extra.front().rfind('-', 0) != 0)
      std::cerr << "pdmsim: unknown command " << extra.front() << " (pdmsim help)\n";
    else
      std::cerr << "pdmsim: " << error.what() << " (pdmsim help)\n";
    return 2;
  }
  return pdmsim::AdminCli(vault, std::cout).Run(chosen);
}

}  // namespace

int main(int argc, char** argv) {
  std::string name = argc > 0 ? argv[0] : "pdmsim";
  if (auto slash = name.rfind('/'); slash != std::string::npos) name = name.substr(slash + 1);
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    pdmsim::SessionCall call;
    if (SessionCall(name, args, call)) return pdmsim::SessionCommand(std::move(call)).Run();
    if (args.empty()) {
      pdmsim::AdminCli::PrintHelp(std::cerr);
      return 2;
    }
    return RunAdmin(argc, argv);
  } catch (const pdmsim::PdmError& error) {
    std::cout.flush();
    std::cerr << "pdmsim: " << error.what() << '\n';
    return error.ExitCode();
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "pdmsim: internal error: " << error.what() << '\n';
    return 1;
  }
}
