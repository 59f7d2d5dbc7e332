#include "ZRBBlackBoxUtil.h"

#include <string>

#include "CADAutoProduct.h"
#include "CADDocumentServices.h"
#include "ZRBAfx.h"
#include "ZRBAnswerLocation.h"
#include "ZRBBlackBoxLoader.h"
#include "ZRBCommandContext.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

bool Holds(const std::vector<ZRBBlackBoxNode>& nodes, const CADUnicodeString& fullPath) {
  for (const ZRBBlackBoxNode& held : nodes)
    if (held.fullPath == fullPath) return true;
  return false;
}

bool Lists(const CADListValCADUnicodeString& list, const CADUnicodeString& value) {
  for (const CADUnicodeString& entry : list)
    if (entry == value) return true;
  return false;
}

// A child the PDM holds as an instance of the father's item is no part of the black box, unless an earlier
// attachment made it a root (its instance is marked then too).
bool IsRoot(const CADIProduct_var& father, const CADIProduct_var& child) {
  return GlobPropertyManager.GetInstanceProperty(father, child, "ZRB_INSTANCE_IN_ZRB") != "1" ||
         GlobPropertyManager.IsBlackBoxRoot(father, child);
}

void AddNode(std::vector<ZRBBlackBoxNode>& nodes, const ZRBBlackBoxContent& content, const CADIProduct_var& father,
             const CADIProduct_var& node) {
  const CADUnicodeString fullPath = GlobPropertyManager.GetProductFullPath(node);
  // A node without a document of its own (an embedded component) travels in its father's document.
  if (fullPath.IsEmpty() || Holds(content.roots, fullPath) || Holds(content.items, fullPath)) return;
  nodes.push_back({father, node, fullPath, ZRBFileUtil::GetFileNameFromPath(fullPath)});
}

void AddItemsBelow(ZRBBlackBoxContent& content, const CADIProduct_var& node, int depth) {
  if (depth > 256) return;  // a cyclic host structure cannot make this endless
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    AddNode(content.items, content, node, child);
    AddItemsBelow(content, child, depth + 1);
  }
}

CADString Text(const CADUnicodeString& text) { return CADString(text.str()); }

ZRBObject* AddFileObject(ZRBObjectManager& manager, const CADUnicodeString& fileName,
                         const CADUnicodeString& partNumber, int number) {
  ZRBObject* object = manager.CreateObject(CADString("BBFILE_" + std::to_string(number)));
  if (!object || !object->SetSlotValue("CAD_PARTNUMBER", Text(partNumber)) ||
      !object->SetSlotValue("FILENAME", Text(fileName)))
    return nullptr;
  return object;
}

CADListValCADString FileNames(const std::vector<ZRBBlackBoxNode>& nodes) {
  CADListValCADString names;
  for (const ZRBBlackBoxNode& node : nodes) names.Append(Text(node.fileName));
  return names;
}

CADUnicodeString Slot(const ZRBObject& object, const char* name) {
  return CADUnicodeString(object.GetSlotValue(name).str());
}

// The identity and state the answer gives one node. 0 when the file object cannot be applied.
int ApplyFileObject(ZRBCommandContext& command, const ZRBBlackBoxNode& node, const ZRBObject& object) {
  const int displays = object.GetSlotValueList("USER_DEF_DISPLAYS").Size();
  if (object.GetSlotValueList("USER_DEF_PROPS").Size() != displays ||
      object.GetSlotValueList("USER_DEF_VALS").Size() != displays ||
      object.GetSlotValueList("USER_DEF_DEL_NAMES").Size() != displays) {
    ZRB_DEBUG("ZRB: user-defined lists of %s differ in length", node.fileName.c_str());
    command.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAfx", "ZRBAfx.WrongListSize"));
    return 0;
  }
  ZRBDocPropertyTransfer::SetLocationProperty(node.node, Slot(object, "EXTERNAL_LOCATION"));
  ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(node.node, &object);
  auto setRef = [&](const char* name, const CADUnicodeString& value) {
    GlobPropertyManager.SetReferenceProperty(node.node, name, value);
  };
  setRef("ZRB_FROMWB", "0");
  setRef("ZRB_OBID", Slot(object, "OBID"));
  setRef("ZRB_CLASSNAME", Slot(object, "CLASSNAME"));
  setRef("ZRB_DB_NAME", Slot(object, "DB_NAME"));
  setRef("ZRB_CHANGEABLE", Slot(object, "CHANGEABLE"));
  if (!Slot(object, "VIS_LOCATION").IsEmpty()) setRef("ZRB_VIS_LOCATION", Slot(object, "VIS_LOCATION"));
  GlobPropertyManager.SetFileProperty(node.fullPath, "ZRB_OBID", Slot(object, "OBID"));
  if (node.father) GlobPropertyManager.SetInstanceProperty(node.father, node.node, "ZRB_INSTANCE_IN_ZRB", "1");
  CADUnicodeString time;
  if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(node.fullPath, time)))
    GlobPropertyManager.SetFileProperty(node.fullPath, "ZRB_LAST_KNOWN_MOD_TIME", time);
  if (Slot(object, "CHANGEABLE") == "0") {
    CADListValCADUnicodeString& informations = command.GetInformations();
    const CADUnicodeString header = ZRBAfx::BuildMessage("ZRBListMessages", "LoadReadOnlyHeader");
    if (!Lists(informations, header)) informations.Append(header);
    informations.Append(node.fileName);
  }
  return 1;
}

void WarnNotLoaded(ZRBCommandContext& command, const CADUnicodeString& fileName) {
  ZRB_DEBUG("ZRB: Failed to load BB File!");
  CADUnicodeString parameter = fileName;
  command.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAttachBlackBoxCmd", "BlackBoxFileNotLoaded", &parameter, 1));
}

// The child of `father` that shows `fullPath`, loading the document and placing it when there is none yet (a
// read that runs again must not place the black box twice).
CADIProduct_var PlaceBelow(const CADIProduct_var& father, const CADUnicodeString& fullPath, int readOnly) {
  for (const CADBaseUnknown_var& item : father->GetChildren()) {
    CADIProduct_var child(item);
    if (child && GlobPropertyManager.GetProductFullPath(child) == fullPath) return child;
  }
  CADDocument* document = CADDocumentServices::GetDocumentInSession(fullPath);
  if (!document && FAILED(CADDocumentServices::OpenDocument(fullPath, document, readOnly))) return nullptr;
  CADIProduct_var placed;
  if (!document || FAILED(father->AddExternalComponent(document, placed))) return nullptr;
  return placed;
}

// A model of the black box brings its visualisation as a temporary component beside it when asked to. It is
// marked as held by the PDM and placed before the read records the loaded children, so neither a save nor a
// later attachment takes it for a new document.
void AddTemporaryVis(const CADIProduct_var& father, const ZRBObject& object) {
  const CADString visLocation = object.GetSlotValue("VIS_LOCATION");
  CADUnicodeString visPath;
  if (visLocation.IsEmpty() || !g_ZRBConfig.CompareEnvVar("ZRB_CREATETEMPVISCOMP", "ON", 1)) return;
  if (!ZRBAnswerLocation::Resolve(visLocation, visPath) || !ZRBAfx::FileExist(visPath)) {
    ZRB_DEBUG("ZRB: vis of the black box not in the exchange map: %s", visLocation.c_str());
    return;
  }
  CADIProduct_var vis = PlaceBelow(father, visPath, 1);
  if (!vis) {
    ZRB_DEBUG("ZRB: Failed to load BB File!");
    return;
  }
  GlobPropertyManager.SetInstanceProperty(father, vis, "ZRB_INSTANCE_IN_ZRB", "1");
}

// Writes the answer's file object onto each node: `missing` reports a node the answer has none for, `record`
// keeps a node that took its object. 0 when any node failed.
template <typename Missing, typename Record>
int ApplyToNodes(ZRBCommandContext& command, const std::vector<ZRBBlackBoxNode>& nodes, ZRBObjectManager& answer,
                 const ZRBObject* box, Missing missing, Record record) {
  int result = 1;
  for (const ZRBBlackBoxNode& node : nodes) {
    const ZRBObject* object = ZRBBlackBoxUtil::FindFileObject(answer, box, node.fileName);
    if (!object) {
      missing(node);
      result = 0;
    } else if (!ApplyFileObject(command, node, *object)) {
      result = 0;
    } else {
      record(node);
    }
  }
  return result;
}

}  // namespace

int ZRBBlackBoxUtil::AddBlackBoxRootProperties(ZRBCommandContext& command, const CADIProduct_var& father,
                                               ZRBObjectManager& answer, const ZRBObject* box) {
  ZRB_TRACE("ZRBBlackBoxUtil::AddBlackBoxRootProperties");
  if (!box) {
    ZRB_DEBUG("pBlackBoxObject == NULL");
    return 0;
  }
  if (!father) return 0;
  int result = 1;
  ZRBBlackBoxContent loaded;
  for (const CADString& name : box->GetSlotValueList("CURRENT_ROOT_FILES")) {
    const CADUnicodeString fileName(name.str());
    const ZRBObject* object = FindFileObject(answer, box, fileName);
    CADUnicodeString fullPath;
    CADIProduct_var root;
    if (object && ZRBAnswerLocation::Resolve(object->GetSlotValue("EXTERNAL_LOCATION"), fullPath))
      root = PlaceBelow(father, fullPath, Slot(*object, "CHANGEABLE") == "1" ? 0 : 1);
    if (!root) {
      WarnNotLoaded(command, fileName);
      result = 0;
      continue;
    }
    if (ZRBFileUtil::GetExtension(fullPath) == "model") {
      const CADUnicodeString partNumber = Slot(*object, "CAD_PARTNUMBER");
      if (!partNumber.IsEmpty() && FAILED(root->GetReferenceProduct()->SetPartNumber(partNumber)))
        ZRB_DEBUG("ZRB: black-box model %s keeps its part number", fileName.c_str());
      AddTemporaryVis(father, *object);
    }
    const ZRBBlackBoxNode node{father, root, fullPath, ZRBFileUtil::GetFileNameFromPath(fullPath)};
    if (!ApplyFileObject(command, node, *object)) {
      result = 0;
      continue;
    }
    GlobPropertyManager.AddBlackBoxRoot(father, fullPath);
    loaded.roots.push_back(node);
    if (g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_APPLY_VISUMODE", "ON", 1))
      if (CADAutoProduct_var automation{root}) automation->ApplyWorkMode(CADAutoProduct::kVisualizationMode);
  }
  for (const ZRBBlackBoxNode& root : loaded.roots) AddItemsBelow(loaded, root.node, 0);
  for (const ZRBBlackBoxNode& node : loaded.items) {
    const ZRBObject* object = FindFileObject(answer, box, node.fileName);
    if (!object) {
      ZRB_DEBUG("could not find BlackBox item");
      CADUnicodeString parameter = GlobPropertyManager.GetPartNumber(node.node, 0);
      command.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBReadCmd", "CachedParts_BBItemNotFound", &parameter, 1));
      result = 0;
    } else if (ApplyFileObject(command, node, *object)) {
      GlobPropertyManager.AddBlackBoxItem(father, node.fullPath);
    } else {
      result = 0;
    }
  }
  if (result) ZRB_TRACE_OK();
  return result;
}

[[maybe_unused]] const bool kLoaderInstalled =
    (ZRBBlackBoxLoader::Install(&ZRBBlackBoxUtil::AddBlackBoxRootProperties), true);

ZRBBlackBoxContent ZRBBlackBoxUtil::GetContent(const CADIProduct_var& father) {
  ZRBBlackBoxContent content;
  if (!father) return content;
  std::vector<CADIProduct_var> roots;
  for (const CADBaseUnknown_var& item : father->GetChildren()) {
    CADIProduct_var child(item);
    if (!child || !IsRoot(father, child)) continue;
    AddNode(content.roots, content, father, child);
    roots.push_back(child);
  }
  for (const CADIProduct_var& root : roots) AddItemsBelow(content, root, 0);
  return content;
}

HRESULT ZRBBlackBoxUtil::GetAllIllegalChildren(const CADIProduct_var& father, std::vector<CADIProduct_var>& illegal) {
  if (!father) return E_FAIL;
  const CADListValCADUnicodeString held = GlobPropertyManager.GetBlackBoxRoots(father);
  const CADListValCADUnicodeString heldItems = GlobPropertyManager.GetBlackBoxItems(father);
  const ZRBBlackBoxContent content = GetContent(father);
  for (const auto* nodes : {&content.roots, &content.items})
    for (const ZRBBlackBoxNode& node : *nodes)
      if (!GlobPropertyManager.GetReferenceProperty(node.node, "ZRB_OBID").IsEmpty() && !Lists(held, node.fullPath) &&
          !Lists(heldItems, node.fullPath))
        illegal.push_back(node.node);
  return S_OK;
}

HRESULT ZRBBlackBoxUtil::CreateBlackBoxZRBObj(const CADIProduct_var& father, ZRBObjectManager* manager,
                                              ZRBObject** object) {
  ZRB_TRACE("ZRBBlackBoxUtil::CreateBlackBoxZRBObj");
  if (!father || !manager || !object) return E_FAIL;
  *object = nullptr;
  const ZRBBlackBoxContent content = GetContent(father);
  ZRBObject* box = manager->CreateObject("BLACKBOX");
  if (!box) return E_FAIL;
  box->SetSlotValue("FATHERPRODUCT_OBID", Text(GlobPropertyManager.GetReferenceProperty(father, "ZRB_OBID")));
  box->SetSlotValue("FATHERPRODUCT_DB_NAME", Text(GlobPropertyManager.GetReferenceProperty(father, "ZRB_DB_NAME")));
  box->SetSlotValueList("CURRENT_ROOT_FILES", FileNames(content.roots));
  box->SetSlotValueList("CURRENT_SUB_FILES", FileNames(content.items));
  CADListValCADUnicodeString held = GlobPropertyManager.GetBlackBoxRoots(father);
  for (const CADUnicodeString& item : GlobPropertyManager.GetBlackBoxItems(father)) held.Append(item);
  CADListValCADString added, removed;
  int number = 0;
  for (const auto* nodes : {&content.roots, &content.items}) {
    for (const ZRBBlackBoxNode& node : *nodes) {
      if (Lists(held, node.fullPath)) continue;
      ZRBObject* file =
          AddFileObject(*manager, node.fileName, GlobPropertyManager.GetPartNumber(node.node, 0), ++number);
      if (!file) return E_FAIL;
      added.Append(file->GetKey());
    }
  }
  for (const CADUnicodeString& fullPath : held) {
    if (Holds(content.roots, fullPath) || Holds(content.items, fullPath)) continue;
    ZRBObject* file = AddFileObject(*manager, ZRBFileUtil::GetFileNameFromPath(fullPath),
                                    GlobPropertyManager.GetPartNumberByFullPath(fullPath), ++number);
    if (!file) return E_FAIL;
    removed.Append(file->GetKey());
  }
  box->SetSlotValueList("FILES_TO_BE_ADDED", added);
  box->SetSlotValueList("FILES_TO_BE_REMOVED", removed);
  *object = box;
  ZRB_TRACE_OK();
  return S_OK;
}

const ZRBObject* ZRBBlackBoxUtil::FindFileObject(ZRBObjectManager& answer, const ZRBObject* box,
                                                 const CADUnicodeString& fileName) {
  if (!box) {
    ZRB_DEBUG("pBlackBoxObject == NULL");
    return nullptr;
  }
  const CADListValCADString keys = box->GetSlotValueList("ATTACHED_FILEOBJECTS");
  const CADListValCADString names = box->GetSlotValueList("ATTACHED_FILEOBJECT_FILENAMES");
  if (keys.Size() != names.Size()) {
    ZRB_DEBUG("ZRB: BB Object not found FileObjectList corrupted!");
    return nullptr;
  }
  for (int i = 1; i <= names.Size(); ++i) {
    if (!(names[i] == Text(fileName))) continue;
    const ZRBObject* object = answer.GetObject(keys[i]);
    if (!object) ZRB_DEBUG("ZRB: BB Object not found in Fileobjects!");
    return object;
  }
  ZRB_DEBUG("ZRB: BB Object not found!");
  return nullptr;
}

int ZRBBlackBoxUtil::SetBlackBoxRootProperties(ZRBCommandContext& command, const CADIProduct_var& father,
                                               const ZRBBlackBoxContent& content, ZRBObjectManager& answer,
                                               const ZRBObject* box) {
  if (!box) {
    ZRB_DEBUG("pBlackBoxObject == NULL");
    return 0;
  }
  GlobPropertyManager.RemoveAllBlackBoxRoots(father);
  return ApplyToNodes(
      command, content.roots, answer, box,
      [&](const ZRBBlackBoxNode& node) {
        ZRB_DEBUG("ZRB: SetBlackBoxRootProperties returns non attached black box root items");
        ZRB_DEBUG("ZRB: This is not expected");
        CADUnicodeString parameter = node.fileName;
        command.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAttachBlackBoxCmd", "RootNotAttached", &parameter, 1));
      },
      [&](const ZRBBlackBoxNode& node) { GlobPropertyManager.AddBlackBoxRoot(father, node.fullPath); });
}

int ZRBBlackBoxUtil::SetBlackBoxItemProperties(ZRBCommandContext& command, const CADIProduct_var& father,
                                               const ZRBBlackBoxContent& content, ZRBObjectManager& answer,
                                               const ZRBObject* box) {
  if (!box) {
    ZRB_DEBUG("pBlackBoxObject == NULL");
    return 0;
  }
  GlobPropertyManager.RemoveAllBlackBoxItems(father);
  return ApplyToNodes(
      command, content.items, answer, box,
      [&](const ZRBBlackBoxNode& node) {
        ZRB_DEBUG("could not find BlackBox item");
        CADUnicodeString parameter = GlobPropertyManager.GetPartNumber(node.node, 0);
        command.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBReadCmd", "CachedParts_BBItemNotFound", &parameter, 1));
      },
      [&](const ZRBBlackBoxNode& node) { GlobPropertyManager.AddBlackBoxItem(father, node.fullPath); });
}
