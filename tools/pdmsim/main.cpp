// pdmsim: the reference PDM. Started as `pdmcl` or `samcl` (the CAD module's
// connection commands) it is the PDM session command; as `pdmsim` it is also
// the PDM user's and the tests' command line, parsed with CLI11: the global
// options, then one subcommand per admin command with its own options.
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
  app.require_subcommand(1);
  pdmsim::AdminCli cli(std::cout);
  cli.Define(app);
  // After the commands: theirs would inherit it.
  app.footer(help.str());
  app.add_subcommand("help", "this help");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {
      // The help of the (sub)command asked about.
      std::cout << app.help();
      return 0;
    }
    // A word that names no command leaves the subcommand missing: name the word instead.
    std::string command = "pdmsim";
    CLI::App* chosen = &app;
    while (!chosen->get_subcommands().empty()) {
      chosen = chosen->get_subcommands().front();
      command += " " + chosen->get_name();
    }
    const std::vector<std::string> extra = chosen->remaining();
    if (dynamic_cast<const CLI::RequiredError*>(&error) && !chosen->get_subcommands({}).empty() && !extra.empty() &&
        extra.front().rfind('-', 0) != 0)
      std::cerr << "pdmsim: unknown command " << extra.front() << " (" << command << " --help)\n";
    else
      std::cerr << "pdmsim: " << error.what() << " (pdmsim help)\n";
    return 2;
  }
  if (!cli.Chosen()) {
    pdmsim::AdminCli::PrintHelp(std::cout);
    return 0;
  }
  return cli.Run();
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
