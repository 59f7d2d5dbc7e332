// zrbsession: a headless CAD session with the module loaded as a host loads it.
//   zrbsession [options]                 interactive prompt
//   zrbsession [options] --script FILE   run a session script ("-": standard input)
//   zrbsession [options] --serve         serve the PDM side until interrupted
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "ZRBConfigTopicManager.h"
#include "ZRBSessionHost.h"
#include "ZRBSessionOutput.h"
#include "ZRBSessionRunner.h"

namespace {

const char kUsage[] =
    "usage: zrbsession [options] [--script FILE | --serve]\n"
    "\n"
    "  --script FILE     run the commands of FILE (\"-\": standard input); stop with exit status 1 at the\n"
    "                    first failed step or unexpected message box\n"
    "  --serve           wait for the PDM side's automation calls until interrupted\n"
    "  (neither)         an interactive prompt; `help` lists the commands\n"
    "\n"
    "  --xmap DIR        exchange map (sets ZRBXMAP; created when missing)\n"
    "  --settings DIR    host settings directory (sets CAD_SETTINGS_DIR)\n"
    "  --catalogs DIRS   message catalog directories searched first (':'-separated)\n"
    "  --workdir DIR     where new documents go (default: the current directory)\n"
    "  --socket PATH     automation socket (default: a private runtime directory)\n"
    "  --module PATH     the module library (default: <bin>/../lib/libZRBCommands.so)\n"
    "  --no-module       run the host alone\n"
    "  --plugin PATH     open one more library after the module (repeatable)\n"
    "  --trace           module trace lines on from the start\n"
    "  --trace-file FILE module trace lines on from the start, written to FILE instead of the output\n"
    "  --no-colour       never colour the output\n";

bool TakeValue(int argc, char** argv, int& i, std::string& value) {
  if (i + 1 >= argc) {
    std::fprintf(stderr, "zrbsession: %s needs a value\n%s", argv[i], kUsage);
    return false;
  }
  value = argv[++i];
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  ZRBSessionHostOptions options;
  std::string script;
  bool serve = false, trace = false, colour = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    bool ok = true;
    if (arg == "--script")
      ok = TakeValue(argc, argv, i, script);
    else if (arg == "--serve")
      serve = true;
    else if (arg == "--xmap")
      ok = TakeValue(argc, argv, i, options.exchangeMap);
    else if (arg == "--settings")
      ok = TakeValue(argc, argv, i, options.settingsDirectory);
    else if (arg == "--catalogs")
      ok = TakeValue(argc, argv, i, options.catalogDirectories);
    else if (arg == "--workdir")
      ok = TakeValue(argc, argv, i, options.workDirectory);
    else if (arg == "--socket")
      ok = TakeValue(argc, argv, i, options.socketPath);
    else if (arg == "--module")
      ok = TakeValue(argc, argv, i, options.modulePath);
    else if (arg == "--no-module")
      options.loadModule = false;
    else if (arg == "--plugin") {
      std::string plugin;
      ok = TakeValue(argc, argv, i, plugin);
      options.plugins.push_back(plugin);
    } else if (arg == "--trace")
      trace = true;
    else if (arg == "--trace-file")
      ok = TakeValue(argc, argv, i, options.traceFile);
    else if (arg == "--no-colour" || arg == "--no-color")
      colour = false;
    else if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fprintf(stderr, "zrbsession: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    }
    if (!ok) return 2;
  }
  if (serve && !script.empty()) {
    std::fprintf(stderr, "zrbsession: --script and --serve exclude each other\n");
    return 2;
  }

  ZRBSessionOutput output(colour);
  ZRBSessionHost host;
  std::string error;
  if (!host.Start(options, error)) {
    output.Error("the session could not start: " + error);
    return 3;
  }
  if (trace) g_ZRBConfig.SetDebug(1);
  int status = 0;
  {
    ZRBSessionRunner runner(host, output);
    if (!script.empty())
      status = runner.RunScript(script);
    else if (serve)
      status = runner.Serve();
    else
      status = runner.RunInteractive();
  }
  host.Shutdown();
  return status;
}
