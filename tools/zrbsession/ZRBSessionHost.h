// The headless host around the module: the environment, settings and catalog
// directories, the document session, the automation bridge (its socket
// exported to children), and the module loaded with dlopen as a host loads
// it; unloading runs the module's shut-down path.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CADAutomationBridge.h"
#include "CADInteractiveApplication.h"
#include "ZRBSessionViewerApi.h"

struct ZRBSessionHostOptions {
  std::string modulePath;            // "" : <bin>/../lib/libZRBCommands.so
  std::vector<std::string> plugins;  // further libraries opened after the module
  std::string exchangeMap;           // "" : keep ZRBXMAP as the environment has it
  std::string settingsDirectory;     // "" : keep CAD_SETTINGS_DIR
  std::string catalogDirectories;    // prepended to the catalog path
  std::string socketPath;            // "" : the bridge's default
  std::string workDirectory;         // new documents; "" : the current directory
  std::string traceFile;             // the module's trace lines go there (and are on); "" : standard output
  bool loadModule = true;
};

class ZRBSessionHost {
 public:
  // --- lifecycle (session thread)
  ZRBSessionHost() = default;
  ~ZRBSessionHost();  // Shutdown()
  ZRBSessionHost(const ZRBSessionHost&) = delete;
  ZRBSessionHost& operator=(const ZRBSessionHost&) = delete;

  // Sets everything up in the host's order (environment, documents, bridge,
  // module, plugins); false with `error` on the first failure.
  bool Start(const ZRBSessionHostOptions& options, std::string& error);
  // Closes the dialogs, stops the bridge, unloads plugins and the module, and
  // drops the documents. Idempotent.
  void Shutdown();

  // --- what the runner looks at
  CADAutomationBridge& GetBridge() { return bridge_; }
  const ZRBSessionViewerApi* GetViewer() const { return viewer_; }
  bool IsModuleLoaded() const { return module_ != nullptr; }
  const std::string& GetModulePath() const { return modulePath_; }
  const std::string& GetBinDirectory() const { return binDirectory_; }
  // What the start noticed and left alone (settings the site holds that cannot be read), for the user.
  const std::vector<std::string>& GetStartNotes() const { return notes_; }
  // Opens one more library (its static objects register what it brings).
  bool LoadPlugin(const std::string& path, std::string& error);

  // The directory of the running executable.
  static std::string ExecutableDirectory();

 private:
  bool PrepareEnvironment(const ZRBSessionHostOptions& options, std::string& error);
  bool LoadModule(const std::string& path, std::string& error);
  bool OpenTraceFile(const std::string& path, std::string& error);

  // The interactive main application: commands reach its timers and main window through it.
  std::unique_ptr<CADInteractiveApplication> application_;
  CADAutomationBridge bridge_;
  void* module_ = nullptr;  // dlopen handle of libZRBCommands.so
  void* viewer_lib_ = nullptr;
  const ZRBSessionViewerApi* viewer_ = nullptr;
  std::vector<void*> plugins_;
  std::string modulePath_;
  std::string binDirectory_;
  std::vector<std::string> notes_;
  bool started_ = false;
};
