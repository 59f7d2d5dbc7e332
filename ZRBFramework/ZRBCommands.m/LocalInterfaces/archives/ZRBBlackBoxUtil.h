// A black box is the sub-structure below a PDM product whose documents the PDM keeps as one opaque unit. This
// utility finds it (the roots: children the PDM does not know as instances, or that an earlier attachment made
// roots; the items: everything below them), writes the request object, and writes the PDM's answer onto the nodes.
#pragma once

#include <vector>

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBCommandContext;
class ZRBObject;
class ZRBObjectManager;

// One node of a black box with the file that stands for it in the request and the answer.
struct ZRBBlackBoxNode {
  CADIProduct_var father;  // the node's father in the tree (its instance properties live there)
  CADIProduct_var node;
  CADUnicodeString fullPath;  // the node's document
  CADUnicodeString fileName;  // the last component of fullPath
};

// The black box below one PDM product; roots first, then items, each document once.
struct ZRBBlackBoxContent {
  std::vector<ZRBBlackBoxNode> roots;
  std::vector<ZRBBlackBoxNode> items;
};

// User-interface thread only. Results: S_OK or E_FAIL; the property writers return 1 when everything was written.
class ZRBBlackBoxUtil {
 public:
  // The black box below `father` as it stands in the session now.
  static ZRBBlackBoxContent GetContent(const CADIProduct_var& father);
  // Nodes of the black box that the PDM knows already as items of their own ("ZRB_OBID" on the reference) and
  // that no earlier attachment of this father made black-box nodes: attaching them would hide PDM items.
  static HRESULT GetAllIllegalChildren(const CADIProduct_var& father, std::vector<CADIProduct_var>& illegal);
  // The request's black-box object: the father's identity, the current root and item files, and the file objects
  // to add (current files this father's black box does not hold yet) and to remove (held, not current any more).
  static HRESULT CreateBlackBoxZRBObj(const CADIProduct_var& father, ZRBObjectManager* manager, ZRBObject** object);

  // --- the answer: `box` is the answered black-box object of `answer`
  // Drops the father's black-box records and writes the identity of every root the answer attached; a root it did
  // not attach is a warning. Items the same way, with "ZRBReadCmd.CachedParts_BBItemNotFound" for those missing.
  static int SetBlackBoxRootProperties(ZRBCommandContext& command, const CADIProduct_var& father,
                                       const ZRBBlackBoxContent& content, ZRBObjectManager& answer,
                                       const ZRBObject* box);
  static int SetBlackBoxItemProperties(ZRBCommandContext& command, const CADIProduct_var& father,
                                       const ZRBBlackBoxContent& content, ZRBObjectManager& answer,
                                       const ZRBObject* box);
  // A black box the PDM keeps below `father`, read afterwards: loads the documents of its "CURRENT_ROOT_FILES"
  // below `father` (once), writes the roots' and their items' properties and adds them to the father's records
  // without dropping earlier ones. Installed as the read's black-box loader.
  static int AddBlackBoxRootProperties(ZRBCommandContext& command, const CADIProduct_var& father,
                                       ZRBObjectManager& answer, const ZRBObject* box);
  // The file object the answer gives for `fileName`; null (traced) when the lists do not lead to one.
  static const ZRBObject* FindFileObject(ZRBObjectManager& answer, const ZRBObject* box,
                                         const CADUnicodeString& fileName);
};
