// An example toolbox: makes a part in a headless CAD session, loads the module as a host loads it, supplies an
// attribute value to the PDM and reads it back, all through the exported C functions.
//
//   zrbtoolbox --obid OBID --class CLASS --db DB --attribute NAME [--set VALUE] [--module PATH]
//
// Prints "NAME=VALUE" for the value the PDM holds after the optional supply; the exit status is the first failing
// function's result (0 when all succeeded).
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIProduct.h"
#include "ZRBSessionViewerApi.h"
#include "ZRBToolboxApi.h"

namespace {

using GetFn = int (*)(CADIProduct*, const char*, char*, size_t);
using SupplyFn = int (*)(CADIProduct*, const char*, const char*, int*);

std::string BinDirectory() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  buffer[n] = '\0';
  return std::filesystem::path(buffer).parent_path().string();
}

void* Open(const std::string& path, int flags) {
  void* library = dlopen(path.c_str(), flags);
  if (!library) std::fprintf(stderr, "zrbtoolbox: %s\n", dlerror());
  return library;
}

}  // namespace

int main(int argc, char** argv) {
  std::string obid, className, dbName, attribute, module;
  std::vector<std::string> set;
  CLI::App app{"reads and writes a part attribute through the module's toolbox functions"};
  app.add_option("--obid", obid, "the part's PDM identity")->required();
  app.add_option("--class", className, "its class name")->required();
  app.add_option("--db", dbName, "its database name")->required();
  app.add_option("--attribute", attribute, "the attribute")->required();
  app.add_option("--set", set, "supply this value first")->expected(1);
  app.add_option("--module", module, "the module library (default: ../lib/libZRBCommands.so beside this program)");
  CLI11_PARSE(app, argc, argv);

  const std::string bin = BinDirectory();
  if (module.empty()) module = bin + "/../lib/libZRBCommands.so";
  // The PDM's session command ("pdmcl") is found beside us, as in a workstation's installation.
  const char* path = std::getenv("PATH");
  setenv("PATH", (bin + (path ? ":" + std::string(path) : std::string())).c_str(), 1);

  CADDocumentServices::LoadSession();
  CADDocument* part = nullptr;
  if (FAILED(CADDocumentServices::New("CADPart", part)) || !part) {
    std::fprintf(stderr, "zrbtoolbox: cannot make a part\n");
    return 20;
  }
  CADIProduct_var product = part->GetRootProduct();

  void* library = Open(module, RTLD_NOW | RTLD_GLOBAL);
  if (!library) return 21;
  auto get = reinterpret_cast<GetFn>(dlsym(library, "ZRBGetPartAttributeFromPdm"));
  auto supply = reinterpret_cast<SupplyFn>(dlsym(library, "ZRBSupplyPartAttributeToPdm"));
  if (!get || !supply) {
    std::fprintf(stderr, "zrbtoolbox: the module exports no toolbox functions\n");
    return 22;
  }

  // In a designer's session the part came from the PDM, which left its identity with the module; here the
  // session runner's property library stands in for that load.
  void* viewerLibrary =
      Open(std::filesystem::path(module).parent_path().string() + "/libZRBSessionViewer.so", RTLD_NOW | RTLD_LOCAL);
  auto viewerFn =
      viewerLibrary ? reinterpret_cast<ZRBSessionGetViewerFn>(dlsym(viewerLibrary, "ZRBSessionGetViewer")) : nullptr;
  const ZRBSessionViewerApi* viewer = viewerFn ? viewerFn() : nullptr;
  if (!viewer || !viewer->setReferenceProperty(product.get(), "ZRB_OBID", obid.c_str()) ||
      !viewer->setReferenceProperty(product.get(), "ZRB_CLASSNAME", className.c_str()) ||
      !viewer->setReferenceProperty(product.get(), "ZRB_DB_NAME", dbName.c_str())) {
    std::fprintf(stderr, "zrbtoolbox: cannot give the part its identity\n");
    return 23;
  }

  if (!set.empty()) {
    int pdmCode = -1;
    if (const int result = supply(product.get(), attribute.c_str(), set.front().c_str(), &pdmCode)) {
      std::fprintf(stderr, "zrbtoolbox: supply failed with %d (PDM code %d)\n", result, pdmCode);
      return result;
    }
  }
  char value[ZRB_TOOLBOX_MAX_VALUE + 1];
  if (const int result = get(product.get(), attribute.c_str(), value, sizeof value)) {
    std::fprintf(stderr, "zrbtoolbox: get failed with %d\n", result);
    return result;
  }
  std::printf("%s=%s\n", attribute.c_str(), value);
  return 0;
}
