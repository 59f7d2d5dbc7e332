// What one read gathers while it runs, shared by the read command (request, answer checks, message centre) and
// the structure reader (which builds the nodes and raises the flags). User-interface thread only.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

struct ZRBReadState {
  // --- how the read was started
  int mode = 1;
  int subMode = 1;  // 1 request to the PDM, 2 import of a structure file, 3 structure file from a directory
  int readMarked = 0;
  int afterUpdate = 0;
  int addCommand = 0;  // the result goes below the workbench product
  // Set by the command that creates the read and produced the answer itself; no request is sent then.
  int addTempRead = 0;
  int usePdmStructureRead = 0;
  int catalogRead = 0;
  int catalogEditRead = 0;

  // --- settings read at activation
  int cacheActivation = -1;
  int singlePartMode = 0;
  int nativeProductTrafo = 0;
  int disableLoadStdCadParts = 0;
  int modelsInAssembly = 0;
  int pdmManagedStdCadParts = 0;

  // --- from the answer
  int sendModels = 1;
  int componentDataModel = 0;

  // --- raised while the structure is built
  int warningState = 0;     // success with remarks; also the message centre's success variant
  int replacedWarning = 0;  // components were replaced
  int loadFailure = 0;      // a document could not be loaded and was removed again
  int highlightAdded = 0;
  int highlightChanged = 0;
  int highlightRemoved = 0;
  int writeBackAnswer[2] = {0, 0};  // the answer file is written back at the end when either is set
  int timestampCheckSwitchedOff = 0;

  // Cached files that must be fetched again before they are opened; what is left is deleted at the end.
  CADListValCADUnicodeString cachedFilesToRefresh;
  // Instance names of what the read added below assemblies that were in the session before it (highlighted).
  CADListValCADUnicodeString addedInstances;

  bool AnyReadFlag() const { return addTempRead || usePdmStructureRead || catalogRead || catalogEditRead; }
  bool AnyHighlight() const { return highlightAdded || highlightChanged || highlightRemoved; }
};
