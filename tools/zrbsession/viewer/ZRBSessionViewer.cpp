// Reads the loaded module's property manager for the session runner. Linked
// against libZRBCommands.so, so it sees the very manager the module uses.
#include "ZRBPropertyManager.h"
#include "ZRBSessionViewerApi.h"
#include "ZRBTrace.h"
#include "ZRBTwoStepKinds.h"

namespace {

void CopyPairs(const CADListValCADUnicodeString& names, const CADListValCADUnicodeString& values,
               ZRBSessionPropertyList& out) {
  out.clear();
  for (int i = 1; i <= names.Size() && i <= values.Size(); ++i) out.emplace_back(names[i].str(), values[i].str());
}

void ReferenceProperties(CADIProduct* product, ZRBSessionPropertyList& out) {
  out.clear();
  if (!product) return;
  CADListValCADUnicodeString names, values;
  GlobPropertyManager.GetAllReferenceProperties(CADIProduct_var(product), names, values);
  CopyPairs(names, values, out);
}

void InstanceProperties(CADIProduct* parent, CADIProduct* child, ZRBSessionPropertyList& out) {
  out.clear();
  if (!parent || !child) return;
  CADListValCADUnicodeString names, values;
  GlobPropertyManager.GetAllInstanceProperties(CADIProduct_var(parent), CADIProduct_var(child), names, values);
  CopyPairs(names, values, out);
}

int SetReferenceProperty(CADIProduct* product, const char* name, const char* value) {
  if (!product || !name || !*name || !value) return 0;
  CADIProduct_var handle(product);
  GlobPropertyManager.SetReferenceProperty(handle, CADUnicodeString(name), CADUnicodeString(value));
  return GlobPropertyManager.IsReferencePropertySet(handle, CADUnicodeString(name)) ? 1 : 0;
}

void GlobalProperties(ZRBSessionPropertyList& out) {
  out.clear();
  const ZRBPropertyGlobal* record = GlobPropertyManager.GlobalRecord();
  if (record) CopyPairs(record->GetNames(), record->GetValues(), out);
}

void FileProperties(ZRBSessionKeyedProperties& out) {
  out.clear();
  CADListValCADUnicodeString paths;
  GlobPropertyManager.GetAllKnownFileNames(paths);
  for (const CADUnicodeString& path : paths) {
    CADListValCADUnicodeString names, values;
    GlobPropertyManager.GetAllFileProperties(path, names, values);
    ZRBSessionPropertyList list;
    CopyPairs(names, values, list);
    if (!list.empty()) out.emplace_back(path.str(), std::move(list));
  }
}

void PathToRootProperties(CADIProduct* product, ZRBSessionPropertyList& out) {
  out.clear();
  if (!product) return;
  CADListValCADUnicodeString names, values;
  GlobPropertyManager.GetAllPathToRootProperties(CADIProduct_var(product), names, values);
  CopyPairs(names, values, out);
}

void SetTraceStream(std::ostream* stream) { ZRBTrace::SetStream(stream); }

void EndWaitingCommand() { ZRBTwoStepKinds::AbandonWaitingCommand(); }

const ZRBSessionViewerApi kApi = {&ReferenceProperties, &InstanceProperties,  &SetReferenceProperty,
                                  &GlobalProperties,    &SetTraceStream,      &EndWaitingCommand,
                                  &FileProperties,      &PathToRootProperties};

}  // namespace

extern "C" const ZRBSessionViewerApi* ZRBSessionGetViewer() { return &kApi; }
