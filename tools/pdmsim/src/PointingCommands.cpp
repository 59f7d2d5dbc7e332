// The PDM user pointing into the CAD session: `workplane ITEM-PATH` and `highlight ITEM-PATH...` write the command
// file into the session's exchange map and start the command there through the automation bridge.
#include <stdlib.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "AdminCli.h"
#include "PdmError.h"
#include "Pointing.h"
#include "SenderClient.h"

namespace pdmsim {
namespace {
namespace fs = std::filesystem;

// The exchange map the session reads: named on the command line, else the session's own "ZRBXMAP".
std::string ExchangeMap(const std::string& option) {
  std::string xmap = option;
  if (xmap.empty()) {
    const char* env = std::getenv("ZRBXMAP");
    xmap = env ? env : "";
  }
  if (xmap.empty()) throw PdmError("name the CAD session's exchange map with --xmap DIR or ZRBXMAP", 2);
  std::error_code ec;
  if (!fs::is_directory(xmap, ec)) throw PdmError("the exchange map " + xmap + " is not a directory", 2);
  return fs::absolute(xmap, ec).lexically_normal().string();
}

std::vector<PointedItem> ResolveAll(const std::string& vaultOption, const std::vector<std::string>& itemPaths) {
  auto vault = Vault::Open(Vault::ResolveDirectory(vaultOption));
  ItemPaths paths(*vault);
  std::vector<PointedItem> items;
  for (const std::string& itemPath : itemPaths) items.push_back(paths.Resolve(itemPath));
  return items;
}

void Save(const ExchangeFile& file, const std::string& path) {
  std::string error;
  if (!file.SaveAtomic(path, &error)) throw PdmError("cannot write " + path + ": " + error);
}

void Start(const std::string& command, const std::string& argument) {
  std::string diagnostics;
  if (!SenderClient().StartCmd(command, argument, &diagnostics))
    throw PdmError("the CAD session could not be asked to run " + command + ":\n" + diagnostics);
}

}  // namespace

void AdminCli::WorkplaneCommand(CLI::App& sub) {
  struct Options {
    std::string xmap;
    std::string itemPath;
  };
  auto o = std::make_shared<Options>();
  sub.add_option("--xmap", o->xmap, "the CAD session's exchange map (default: ZRBXMAP)")->type_name("DIR");
  sub.add_option("ITEM-PATH", o->itemPath, "part number, then instance names: Assembly/Bracket.1/Bolt.2")->required();
  chosen_.On(sub, [this, o] {
    const PointedItem item = ResolveAll(vaultOption_, {o->itemPath}).front();
    // The session deletes the file once it has run; a name of its own keeps two quick calls apart.
    std::string path = ExchangeMap(o->xmap) + "/ZRBWorkplane-XXXXXX.zrb";
    const int fd = ::mkstemps(path.data(), 4);
    if (fd < 0) throw PdmError("cannot create a file in the exchange map: " + path);
    ::close(fd);
    try {
      Save(WorkplaneFile(item), path);
      Start("ZRBSetWorkplaneCmd", path);
    } catch (const PdmError&) {
      std::error_code ignored;
      fs::remove(path, ignored);
      throw;
    }
    out_ << "asked the CAD session to work in " << o->itemPath << " (StartCmd ZRBSetWorkplaneCmd " << path << ")\n";
    return 0;
  });
}

void AdminCli::HighlightCommand(CLI::App& sub) {
  struct Options {
    std::string xmap;
    std::vector<std::string> itemPaths;
  };
  auto o = std::make_shared<Options>();
  sub.add_option("--xmap", o->xmap, "the CAD session's exchange map (default: ZRBXMAP)")->type_name("DIR");
  sub.add_option("ITEM-PATH", o->itemPaths, "part number, then instance names: Assembly/Bracket.1/Bolt.2")->required();
  chosen_.On(sub, [this, o] {
    const std::vector<PointedItem> items = ResolveAll(vaultOption_, o->itemPaths);
    // The session reads the file by its name from its exchange map and leaves it there: the next one replaces it.
    const std::string name = "Highlight.zrb";
    Save(HighlightFile(items), ExchangeMap(o->xmap) + "/" + name);
    Start("ZRBHighlightCmd", name);
    out_ << "asked the CAD session to select " << items.size() << " item(s) (StartCmd ZRBHighlightCmd " << name
         << ")\n";
    return 0;
  });
}

}  // namespace pdmsim
