// pdmsim: the reference PDM. Started as `pdmcl` or `samcl` (the CAD module's
// connection commands) it is the PDM session command; as `pdmsim` it is also
// the PDM user's and the tests' command line.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "AdminCli.h"
#include "PdmError.h"
#include "SessionCommand.h"

int main(int argc, char** argv) {
  std::string name = argc > 0 ? argv[0] : "pdmsim";
  if (auto slash = name.rfind('/'); slash != std::string::npos) name = name.substr(slash + 1);
  std::vector<std::string> args(argv + 1, argv + argc);

  // Leading options of either form: "-b --" (as the module's default
  // connection command passes them) and "--vault DIR".
  std::string vaultOption;
  std::size_t first = 0;
  while (first < args.size()) {
    if (args[first] == "--vault" && first + 1 < args.size()) {
      vaultOption = args[first + 1];
      first += 2;
    } else if (args[first] == "-b" || args[first] == "--") {
      ++first;
    } else {
      break;
    }
  }
  std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(first), args.end());

  try {
    if (!rest.empty() && (rest.front() == "PdmSessn" || rest.front() == "StartSam")) {
      pdmsim::SessionCall call;
      call.role = name == "samcl" ? "sam" : "standard";
      call.vaultOption = vaultOption;
      if (rest.front() == "StartSam") {
        call.action = "StartSam";
        call.args.assign(rest.begin() + 1, rest.end());
      } else {
        if (rest.size() < 2) throw pdmsim::PdmError("PdmSessn needs an action word", 2);
        call.action = rest[1];
        call.args.assign(rest.begin() + 2, rest.end());
      }
      return pdmsim::SessionCommand(std::move(call)).Run();
    }
    return pdmsim::AdminCli(vaultOption, std::cout).Run(rest);
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
