// The runner's window onto the loaded module's own state: a table of plain
// functions that the viewer library (linked against the module) hands out.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

class CADIProduct;

using ZRBSessionPropertyList = std::vector<std::pair<std::string, std::string>>;
// Property lists by a record's key (a file's full path).
using ZRBSessionKeyedProperties = std::vector<std::pair<std::string, ZRBSessionPropertyList>>;

struct ZRBSessionViewerApi {
  // Properties of the product's reference record.
  void (*referenceProperties)(CADIProduct* product, ZRBSessionPropertyList& out);
  // Properties of the instance of `child` under `parent`.
  void (*instanceProperties)(CADIProduct* parent, CADIProduct* child, ZRBSessionPropertyList& out);
  // Sets a reference property; 1 when set.
  int (*setReferenceProperty)(CADIProduct* product, const char* name, const char* value);
  // Global properties the module keeps for the session.
  void (*globalProperties)(ZRBSessionPropertyList& out);
  // Where the module's trace lines go (null: standard output). The stream must outlive the module.
  void (*setTraceStream)(std::ostream* stream);
  // Ends a two-step command still waiting for the PDM as a newer command would, so that the PDM closes its
  // dialog: the session is about to end.
  void (*endWaitingCommand)();
  // Properties of every file the property manager knows, by full path (files without properties left out).
  void (*fileProperties)(ZRBSessionKeyedProperties& out);
  // Properties kept for the product's path from its root.
  void (*pathToRootProperties)(CADIProduct* product, ZRBSessionPropertyList& out);
};

// Exported by the viewer library.
extern "C" const ZRBSessionViewerApi* ZRBSessionGetViewer();
using ZRBSessionGetViewerFn = const ZRBSessionViewerApi* (*)();
