#include "ZRBSessionHost.h"

#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CADDlgDialog.h"
#include "CADDlgReaper.h"
#include "CADDocumentServices.h"
#include "CADEventLoop.h"
#include "CADMsgCatalog.h"
#include "CADSettingFile.h"
#include "CADSettingRepository.h"
#include "ZRBConfigTopicManager.h"

namespace {

std::string Prepend(const std::string& first, const char* rest) {
  if (!rest || !*rest) return first;
  return first + ":" + rest;
}

bool MakeDirectory(const std::string& path, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec || !std::filesystem::is_directory(path)) {
    error = "cannot create directory " + path + (ec ? ": " + ec.message() : "");
    return false;
  }
  return true;
}

// What a freshly installed host keeps in its settings: referenced documents are loaded with a product (without
// them no structure from the PDM can be built), the cache is off. Written only where the site has no value: a
// setting the site holds in a form the host cannot read, or a file that cannot be read at all, is the site's
// and stays exactly as it is (content and permissions); it is reported instead.
void WriteHostDefaults(std::vector<std::string>& notes) {
  struct Default {
    const char* repository;
    const char* name;
    int value;
  };
  for (const Default& d : {Default{"SymbolicLinks", "LoadLinkStatus", 1}, Default{"CADCache", "CacheActivation", 0}}) {
    CADSettingRepository* repository = CADSettingRepository::GetRepository(d.repository);
    if (!repository) continue;
    int value = 0;
    if (SUCCEEDED(repository->ReadSetting(d.name, &value))) continue;
    const std::string path = repository->GetFilePath();
    std::error_code ec;
    const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path, ec));
    std::string content;
    if (exists) {
      std::ifstream in(path, std::ios::binary);
      if (in) content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      if (!in || in.bad()) {
        notes.push_back(std::string("setting \"") + d.repository + "\" \"" + d.name + "\" left as it is: " + path +
                        " cannot be read");
        continue;
      }
    }
    const CADSettingFile file = CADSettingFile::Parse(content, path);
    std::vector<std::string> items;
    if (file.FindValue(d.name) || file.FindList(d.name, items)) {
      notes.push_back(std::string("setting \"") + d.repository + "\" \"" + d.name +
                      "\" left as it is: its value is not a whole number");
      continue;
    }
    repository->WriteSetting(d.name, d.value);
  }
}

}  // namespace

ZRBSessionHost::~ZRBSessionHost() { Shutdown(); }

std::string ZRBSessionHost::ExecutableDirectory() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  buffer[n] = '\0';
  return std::filesystem::path(buffer).parent_path().string();
}

bool ZRBSessionHost::PrepareEnvironment(const ZRBSessionHostOptions& options, std::string& error) {
  binDirectory_ = ExecutableDirectory();
  // The PDM's session command ("pdmcl", "samcl") and ZRBSender live beside us.
  setenv("PATH", Prepend(binDirectory_, std::getenv("PATH")).c_str(), 1);
  if (!options.exchangeMap.empty()) {
    if (!MakeDirectory(options.exchangeMap, error)) return false;
    setenv("ZRBXMAP", std::filesystem::absolute(options.exchangeMap).string().c_str(), 1);
  }
  if (!options.settingsDirectory.empty()) {
    if (!MakeDirectory(options.settingsDirectory, error)) return false;
    const std::string absolute = std::filesystem::absolute(options.settingsDirectory).string();
    setenv("CAD_SETTINGS_DIR", absolute.c_str(), 1);
    CADSettingRepository::SetSettingsDirectory(absolute);
    WriteHostDefaults(notes_);
  }
  if (!options.catalogDirectories.empty()) {
    const std::string path = Prepend(options.catalogDirectories, std::getenv("CAD_MSGCATALOG_PATH"));
    setenv("CAD_MSGCATALOG_PATH", path.c_str(), 1);
    CADMsgCatalog::SetCatalogPath(path);
  }
  return true;
}

bool ZRBSessionHost::Start(const ZRBSessionHostOptions& options, std::string& error) {
  if (started_) return true;
  CADEventLoop::Instance().UseClock(CADEventLoop::Clock::Steady);
  if (!PrepareEnvironment(options, error)) return false;

  CADDocumentServices::LoadSession();
  // A two-step command waits for the PDM on the application's timers.
  if (!CADApplication::MainApplication()) application_ = std::make_unique<CADInteractiveApplication>("zrbsession");
  if (!options.workDirectory.empty()) {
    if (!MakeDirectory(options.workDirectory, error)) return false;
    CADDocumentServices::SetNewDocumentDirectory(std::filesystem::absolute(options.workDirectory).string().c_str());
  }
  // The module writes its environment script for the PDM's programs at load time, so the socket's path is exported
  // first; the bridge listens only once the module is in, so that no early call finds a session without its
  // automation component.
  const std::string socketPath =
      options.socketPath.empty() ? CADAutomationBridge::DefaultPath(&error) : options.socketPath;
  if (socketPath.empty()) return false;
  setenv(CADAutomationBridge::kSocketVariable, socketPath.c_str(), 1);
  started_ = true;

  if (options.loadModule) {
    std::string path = options.modulePath;
    if (path.empty()) path = binDirectory_ + "/../lib/libZRBCommands.so";
    if (!LoadModule(path, error)) return false;
  }
  for (const std::string& plugin : options.plugins)
    if (!LoadPlugin(plugin, error)) return false;
  if (!options.traceFile.empty() && !OpenTraceFile(options.traceFile, error)) return false;
  return SUCCEEDED(bridge_.Start(socketPath, &error));
}

bool ZRBSessionHost::OpenTraceFile(const std::string& path, std::string& error) {
  if (!viewer_) {
    error = "the module's trace cannot be redirected (no module or no viewer library)";
    return false;
  }
  // The module may write its last lines when the process exits (its libraries need not unload at dlclose), after
  // every object of the runner is gone: the file lives as long as the process, and each write reaches it at once.
  static std::ofstream& file = *new std::ofstream();
  if (file.is_open()) file.close();
  file.clear();
  file.open(path, std::ios::out | std::ios::trunc);
  if (!file) {
    error = "cannot write the trace file " + path;
    return false;
  }
  file << std::unitbuf;
  viewer_->setTraceStream(&file);
  g_ZRBConfig.SetDebug(1);
  return true;
}

bool ZRBSessionHost::LoadModule(const std::string& path, std::string& error) {
  std::error_code ec;
  modulePath_ = std::filesystem::weakly_canonical(path, ec).string();
  if (ec) modulePath_ = path;
  // Global, as a host does: the module's libraries and the viewer bind to it.
  module_ = dlopen(modulePath_.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (!module_) {
    error = std::string("cannot load the module: ") + dlerror();
    return false;
  }
  const std::string viewerPath = std::filesystem::path(modulePath_).parent_path().string() + "/libZRBSessionViewer.so";
  viewer_lib_ = dlopen(viewerPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!viewer_lib_) {
    // The session still runs; only the property listings stay empty.
    std::fprintf(stderr, "zrbsession: no property viewer (%s)\n", dlerror());
    return true;
  }
  auto get = reinterpret_cast<ZRBSessionGetViewerFn>(dlsym(viewer_lib_, "ZRBSessionGetViewer"));
  viewer_ = get ? get() : nullptr;
  return true;
}

bool ZRBSessionHost::LoadPlugin(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (!handle) {
    error = std::string("cannot load ") + path + ": " + dlerror();
    return false;
  }
  plugins_.push_back(handle);
  return true;
}

void ZRBSessionHost::Shutdown() {
  if (!started_) return;
  started_ = false;
  // Nothing from outside may arrive while the module goes.
  bridge_.Stop();
  // A command still waiting for the PDM's dialog ends now, and the PDM is told to close that dialog.
  if (viewer_) viewer_->endWaitingCommand();
  CADEventLoop& loop = CADEventLoop::Instance();
  loop.RunPending();
  // Windows of the module (message centre, dialogs) must go while their code
  // is still loaded.
  for (CADDlgDialog* window : CADDlgDialog::GetAllWindows())
    if (!window->GetFather() && !window->IsDestructionRequested()) window->RequestDelayedDestruction();
  CADDlgReaper::Flush();
  loop.Reset();
  viewer_ = nullptr;
  if (viewer_lib_) dlclose(viewer_lib_);
  viewer_lib_ = nullptr;
  for (auto it = plugins_.rbegin(); it != plugins_.rend(); ++it) dlclose(*it);
  plugins_.clear();
  // The module's shut-down path: cache written, environment script deleted,
  // late-bound libraries closed.
  if (module_) dlclose(module_);
  module_ = nullptr;
  application_.reset();
  CADDocumentServices::UnloadSession();
}
