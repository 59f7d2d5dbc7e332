// Builds the session's product structure from a read answer: one structure node at a time, with its document
// components, sending objects and sub-assemblies (recursively), and the PDM identity on every node it touches.
#pragma once

#include <unordered_set>

#include "CADIProduct.h"
#include "CADUnicodeString.h"
#include "ZRBReadState.h"

class ZRBCommandContext;
class ZRBObject;
class ZRBObjectManager;
class ZRBReadContext;
class ZRBDocComponentReader;
class ZRBSubAssemblyReader;

// Lives for one read; user-interface thread only. Messages go to the context's warning and information lists,
// flags to the read state.
//
// The answer is a graph of objects reached from "ROOT"; a broken or hostile answer can make it cyclic or deeper
// than any real structure. The reader keeps the nodes of the path it is on and a depth cap: a relation that
// would lead back onto the path, or deeper than the cap, is skipped with an error line and the warning state.
class ZRBStructureReader {
 public:
  // Deeper structures are cut off here (the PDM itself delivers no more than 64 levels).
  static constexpr int kMaxDepth = 100;

  // `configurableNodeBehavior`: the command's "ZRB_CONFIGURABLE_NODE_BEHAVIOR" flag, read under its client.
  ZRBStructureReader(ZRBCommandContext& command, ZRBReadState& state, int configurableNodeBehavior = 0)
      : command_(command), state_(state), configurableNodeBehavior_(configurableNodeBehavior) {}

  // The content of `node` below `parent` (null: top-level documents open in windows of their own); `existing`
  // is the product already standing for the node, if any. 0 when the node could not be built.
  int ReadProductStructure(CADIProduct* parent, CADIProduct* existing, ZRBObjectManager& answer, ZRBObject* node);

 private:
  // Where a node is built: `parent` holds its documents or, for a document node (a part reached through a
  // relation), the instance it becomes, which takes `instanceName` and replaces `existing`.
  struct NodePlace {
    CADIProduct_var parent;
    CADIProduct_var existing;
    CADUnicodeString instanceName;
    const ZRBObject* relation = nullptr;  // the relation that leads to a document node
    bool documentNode = false;
  };
  struct Readers {
    ZRBReadContext& context;
    ZRBDocComponentReader& documents;
    ZRBSubAssemblyReader& assemblies;
  };

  // Builds the node and hands back the product it became (null for the answer's root or a node that failed).
  int BuildNode(Readers& readers, const NodePlace& place, ZRBObject& node, CADIProduct_var& nodeProduct);
  void ReadDocumentComponents(Readers& readers, const NodePlace& place, ZRBObject& node, CADIProduct_var& nodeProduct);
  void ReadSubAssemblies(Readers& readers, const CADIProduct_var& parent, ZRBObject& node);
  // One relation of "SUBASSRELATIONS": the child node, then its place in the parent.
  void ReadRelation(Readers& readers, const CADIProduct_var& parent, ZRBObject& relation);
  void FlagRemovedChildren(Readers& readers, const CADIProduct_var& product, const ZRBObject& node);
  void SetDesignTablesToNode(Readers& readers, const CADIProduct_var& product, const ZRBObject& node);

  ZRBCommandContext& command_;
  ZRBReadState& state_;
  int configurableNodeBehavior_ = 0;
  std::unordered_set<const ZRBObject*> onPath_;  // the nodes from the root to the one being built
};
