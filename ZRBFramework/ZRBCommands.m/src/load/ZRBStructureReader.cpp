#include "ZRBStructureReader.h"

#include "ZRBBlackBoxLoader.h"
#include "ZRBCommand.h"
#include "ZRBCommandContext.h"
#include "ZRBCommandStates.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDocComponentReader.h"
#include "ZRBFileUtil.h"
#include "ZRBInstancePlacement.h"
#include "ZRBNodeAttributes.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBProductPositions.h"
#include "ZRBPropertyInstance.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadContext.h"
#include "ZRBSendingObjectWriter.h"
#include "ZRBSubAssemblyReader.h"
#include "ZRBTrace.h"

namespace {

// Takes a node onto the current path for the length of its build.
class PathEntry {
 public:
  PathEntry(std::unordered_set<const ZRBObject*>& path, const ZRBObject* node) : path_(path), node_(node) {
    path_.insert(node_);
  }
  ~PathEntry() { path_.erase(node_); }
  PathEntry(const PathEntry&) = delete;
  PathEntry& operator=(const PathEntry&) = delete;

 private:
  std::unordered_set<const ZRBObject*>& path_;
  const ZRBObject* node_;
};

void MarkDirty(CADIProduct_var product) {
  if (product) ZRBCommandStates::SetDirtyFlagForProduct(1, product);
}

}  // namespace

int ZRBStructureReader::ReadProductStructure(CADIProduct* parent, CADIProduct* existing, ZRBObjectManager& answer,
                                             ZRBObject* node) {
  ZRB_TRACE("ZRBReadCmd::ReadProductStructure");
  if (!node) return 0;
  ZRBReadContext context(command_, state_, answer);
  context.SetConfigurableNodeBehavior(configurableNodeBehavior_);
  ZRBDocComponentReader documents(context);
  ZRBSubAssemblyReader assemblies(context);
  Readers readers{context, documents, assemblies};
  NodePlace place;
  place.parent = parent;
  place.existing = existing;
  // A node with a product standing for it builds its content below that product.
  if (existing && !parent) place.parent = existing;
  onPath_.clear();
  CADIProduct_var nodeProduct;
  const int ok = BuildNode(readers, place, *node, nodeProduct);
  if (ok) ZRB_TRACE_OK();
  return ok;
}

int ZRBStructureReader::BuildNode(Readers& readers, const NodePlace& place, ZRBObject& node,
                                  CADIProduct_var& nodeProduct) {
  PathEntry onPath(onPath_, &node);
  nodeProduct = place.documentNode ? CADIProduct_var() : place.existing;

  if (configurableNodeBehavior_ && place.parent && !place.parent->GetFatherProduct() &&
      !ZRBPSNTreeUtil::SetConfigurableBehaviorAttributesToStructure(place.parent))
    ZRB_DEBUG("ReadProductStructure -> SetConfigurableBehaviorAttributesToStructure did not succeed");
  if (nodeProduct) FlagRemovedChildren(readers, nodeProduct, node);
  if (state_.subMode == 2 && node.GetSlotValue("S_ZRB_CHANGED_PRD") == "1") MarkDirty(place.parent);

  ReadDocumentComponents(readers, place, node, nodeProduct);
  if (place.documentNode && !nodeProduct) return 0;

  ZRBSendingObjectWriter::Apply(readers.context, nodeProduct, node);
  // The children of a document node hang below the instance it became; the answer's root has no product of its
  // own, so its children go below the parent it was read into.
  ReadSubAssemblies(readers, nodeProduct ? nodeProduct : place.parent, node);

  if (nodeProduct) {
    ZRBNodeAttributes::SetDescriptionsToNode(nodeProduct, &node);
    ZRBNodeAttributes::SetCustomAttrsToNode(nodeProduct, &node);
    ZRBNodeAttributes::SetIdentityToNode(nodeProduct, &node, readers.context.Answer());
    SetDesignTablesToNode(readers, nodeProduct, node);
    // Before the children are recorded: the black box loaded now belongs to what the node was loaded with.
    const CADString boxKey = node.GetSlotValue("ATTACHED_BLACKBOX");
    if (!boxKey.IsEmpty())
      ZRBBlackBoxLoader::Load(readers.context.Command(), nodeProduct, readers.context.Answer(),
                              readers.context.Lookup(boxKey, "ATTACHED_BLACKBOX"));
    // The children the node has now are those it was loaded with: later changes are found against them.
    ZRBCommandStates::SetOrigChildsToProp(nodeProduct.get());
  } else if (onPath_.size() == 1 && place.parent) {
    ZRBCommandStates::SetOrigChildsToProp(place.parent.get());
  }
  return 1;
}

void ZRBStructureReader::ReadDocumentComponents(Readers& readers, const NodePlace& place, ZRBObject& node,
                                                CADIProduct_var& nodeProduct) {
  bool nodeTaken = false;
  for (const CADString& key : node.GetSlotValueList("DOCCOMS")) {
    ZRBObject* document = readers.context.Lookup(key, "DOCCOMS");
    if (!document) continue;
    ZRBComponentPlace component;
    if (place.documentNode && !nodeTaken) {
      component.node = &node;
      // The first document of a document node is the node itself: it takes the relation's place.
      component.parent = place.parent;
      component.existing = place.existing;
      component.instanceName = place.instanceName;
      component.relation = place.relation;
    } else {
      component.parent = nodeProduct ? nodeProduct : place.parent;
    }
    CADIProduct_var placed;
    if (!readers.documents.Read(component, *document, placed)) continue;
    if (place.documentNode && !nodeTaken && placed) {
      nodeProduct = placed;
      nodeTaken = true;
    } else if (placed && component.parent) {
      // A document listed at an assembly is an instance the PDM has, though no relation names it.
      if (ZRBPropertyInstance* record = GlobPropertyManager.GetInstanceObject(component.parent, placed))
        ZRBInstancePlacement::MarkInstanceInPdm(*record, CADUnicodeString());
    }
    if (placed)
      ZRBCommandStates::StoreParentInfoForAttrApi(placed, CADUnicodeString(node.GetSlotValue("EDESC_ID")),
                                                  CADUnicodeString(node.GetSlotValue("DB_NAME")),
                                                  CADUnicodeString(node.GetSlotValue("CLASSNAME")));
    if (state_.subMode == 2 && document->GetSlotValue("S_ZRB_CHANGED_GEO") == "1") MarkDirty(placed);
    if (state_.usePdmStructureRead && onPath_.size() == 1 && placed) {
      GlobPropertyManager.DeletePathToRootProperty(placed, "ZRB_FROMWB");
      if (CADIProduct_var father = placed->GetFatherProduct())
        GlobPropertyManager.DeleteInstanceProperty(father, placed, "ZRB_INSTANCE_IN_ZRB");
    }
  }
}

void ZRBStructureReader::ReadSubAssemblies(Readers& readers, const CADIProduct_var& parent, ZRBObject& node) {
  for (const CADString& key : node.GetSlotValueList("SUBASSRELATIONS")) {
    ZRBObject* relation = readers.context.Lookup(key, "SUBASSRELATIONS");
    if (relation) ReadRelation(readers, parent, *relation);
  }
}

void ZRBStructureReader::ReadRelation(Readers& readers, const CADIProduct_var& parent, ZRBObject& relation) {
  ZRBObject* child = readers.context.Lookup(relation.GetSlotValue("ASS_ITEM_ID"), "ASS_ITEM_ID");
  if (!child) return;
  const CADUnicodeString instanceName(relation.GetSlotValue("INSTANCE_NAME"));
  if (onPath_.count(child)) {
    ZRB_DEBUG("ZRB: ERROR relation '%s' leads back to '%s': the answer is cyclic, relation skipped",
              relation.GetKey().c_str(), child->GetKey().c_str());
    readers.context.AddWarning("CyclicStructure",
                               instanceName.IsEmpty() ? CADUnicodeString(relation.GetKey()) : instanceName);
    return;
  }
  if (static_cast<int>(onPath_.size()) >= kMaxDepth) {
    ZRB_DEBUG("ZRB: ERROR relation '%s' lies deeper than %d levels, skipped", relation.GetKey().c_str(), kMaxDepth);
    readers.context.AddWarning("StructureTooDeep", CADUnicodeString(relation.GetKey()));
    return;
  }
  if (state_.subMode == 2 && relation.GetSlotValue("S_ZRB_CHANGED_POS") == "1") MarkDirty(parent);

  if (relation.GetSlotValue("IS_PROCESS") == "1" || child->GetSlotValue("IS_PROCESS") == "1") {
    readers.documents.ReadProcess(*child);
    return;
  }
  CADIProduct_var childProduct;
  if (ZRBSubAssemblyReader::HasOwnStructure(relation, *child)) {
    childProduct = readers.assemblies.ReadProduct(parent, relation, *child);
    if (!childProduct) return;
    NodePlace place;
    place.parent = childProduct;
    place.existing = childProduct;
    CADIProduct_var built;
    BuildNode(readers, place, *child, built);
  } else {
    NodePlace place;
    place.parent = parent;
    place.existing = ZRBInstancePlacement::FindChild(parent, instanceName);
    place.instanceName = instanceName;
    place.relation = &relation;
    place.documentNode = true;
    if (!BuildNode(readers, place, *child, childProduct) || !childProduct) return;
  }
  if (parent) ZRBInstancePlacement::Apply(readers.context, parent, childProduct, relation, child);
}

void ZRBStructureReader::FlagRemovedChildren(Readers& readers, const CADIProduct_var& product, const ZRBObject& node) {
  // Both lists name the instances below the node that the PDM no longer has; they stay in the session, marked.
  auto flag = [&](const char* slot, const char* message, const char* afterUpdateMessage) {
    for (const CADString& name : node.GetSlotValueList(slot)) {
      CADIProduct_var child = ZRBInstancePlacement::FindChild(product, CADUnicodeString(name));
      if (!child) continue;
      GlobPropertyManager.SetInstanceProperty(product, child, "ZRB_REMOVED_IN_PDM", "1");
      readers.context.AddError(state_.afterUpdate ? afterUpdateMessage : message, CADUnicodeString(name));
      state_.highlightRemoved = 1;
    }
  };
  flag("REMOVED_SUBASS", "DeletedChildren", "DeletedChildrenEZRB");
  if (g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_REMOVED_DOCCOM", "ON", 1))
    flag("REMOVED_DOCCOMS", "DeletedDoccoms", "DeletedDoccomsEZRB");
}

void ZRBStructureReader::SetDesignTablesToNode(Readers& readers, const CADIProduct_var& product,
                                               const ZRBObject& node) {
  const CADListValCADString keys = node.GetSlotValueList("TABLES");
  if (keys.Size() == 0) return;
  // The design tables the PDM knows for the node, by file name: the save tells new tables from known ones.
  CADListValCADString tables;
  for (const CADString& key : keys) {
    const ZRBObject* table = readers.context.Lookup(key, "TABLES");
    CADUnicodeString path;
    if (!table || !readers.context.FileOf(*table, path)) continue;
    tables.Append(ZRBFileUtil::GetFileNameFromPath(path).ConvertToString());
    readers.context.RegisterDocument(*table, path);
  }
  ZRBObject listText;
  listText.SetSlotValueList("TMP", tables);
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_DESIGNTABLES", CADUnicodeString(listText.GetSlotValue("TMP")));
}
