// zrbsession: a headless CAD session with the module loaded as a host loads it.
//   zrbsession [options]                 interactive prompt
//   zrbsession [options] --script FILE   run a session script ("-": standard input)
//   zrbsession [options] --serve         serve the PDM side until interrupted
#include <CLI/CLI.hpp>
#include <string>

#include "ZRBConfigTopicManager.h"
#include "ZRBSessionHost.h"
#include "ZRBSessionOutput.h"
#include "ZRBSessionRunner.h"

namespace {

struct Options {
  ZRBSessionHostOptions host;
  std::string script;
  std::string dump;
  bool serve = false;
  bool trace = false;
  bool noColour = false;
  bool messageKeys = false;
};

void Describe(CLI::App& app, Options& o) {
  app.description(
      "A headless CAD session with the ZRBCommands module. Without --script or --serve: an interactive prompt "
      "(`help` lists the commands).");
  auto* script = app.add_option("--script", o.script,
                                "run the commands of FILE (\"-\": standard input); stop with exit status 1 at the "
                                "first failed step or unexpected message box");
  script->type_name("FILE");
  auto* serve = app.add_flag("--serve", o.serve, "wait for the PDM side's automation calls until interrupted");
  script->excludes(serve);
  app.add_option("--dump", o.dump, "with --script: write `dump --json` to FILE when the script ends, failed or not")
      ->type_name("FILE")
      ->needs(script);
  app.add_option("--xmap", o.host.exchangeMap, "exchange map (sets ZRBXMAP; created when missing)")->type_name("DIR");
  app.add_option("--settings", o.host.settingsDirectory, "host settings directory (sets CAD_SETTINGS_DIR)")
      ->type_name("DIR");
  app.add_option("--catalogs", o.host.catalogDirectories,
                 "message catalog directories searched before the built-in ones (':'-separated)")
      ->type_name("DIRS");
  app.add_flag("--message-keys", o.messageKeys, "show message keys instead of message texts where a key is known");
  app.add_option("--workdir", o.host.workDirectory, "where new documents go (default: the current directory)")
      ->type_name("DIR");
  app.add_option("--socket", o.host.socketPath, "automation socket (default: a private runtime directory)")
      ->type_name("PATH");
  app.add_option("--module", o.host.modulePath, "the module library (default: <bin>/../lib/libZRBCommands.so)")
      ->type_name("PATH");
  app.add_flag_callback(
      "--no-module", [&o] { o.host.loadModule = false; }, "run the host alone");
  app.add_option("--plugin", o.host.plugins, "open one more library after the module (repeatable)")
      ->type_name("PATH")
      ->allow_extra_args(false);
  app.add_flag("--trace", o.trace, "module trace lines on from the start");
  app.add_option("--trace-file", o.host.traceFile,
                 "module trace lines on from the start, written to FILE instead of the output")
      ->type_name("FILE");
  app.add_flag("--no-colour,--no-color", o.noColour, "never colour the output");
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  CLI::App app("", "zrbsession");
  Describe(app, o);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? 0 : 2;
  }

  ZRBSessionOutput output(!o.noColour);
  ZRBSessionHost host;
  std::string error;
  if (!host.Start(o.host, error)) {
    output.Error("the session could not start: " + error);
    return 3;
  }
  for (const std::string& note : host.GetStartNotes()) output.Error(note);
  if (o.trace) g_ZRBConfig.SetDebug(1);
  int status = 0;
  {
    ZRBSessionRunner runner(host, output);
    runner.ShowMessageKeys(o.messageKeys);
    if (!o.script.empty())
      status = runner.RunScript(o.script, o.dump);
    else if (o.serve)
      status = runner.Serve();
    else
      status = runner.RunInteractive();
  }
  host.Shutdown();
  return status;
}
