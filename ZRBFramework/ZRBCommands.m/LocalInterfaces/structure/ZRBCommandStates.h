// The command base's view of what changed in the open structure since it was loaded: the product state of each
// node, the load-time record of children it compares against, the whole-structure checks and the finders the
// save and read commands share. ZRBCommand derives from it; the checks change nothing in the PDM, some mark
// documents modified or write properties.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADListValCADBaseUnknown.h"
#include "CADPathElement.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class CADDocument;
class CADFrmEditor;
class CADIDrawing;
class ZRBObject;
class ZRBObjectManager;

// Bits of the product state.
enum ZRBProductState : unsigned int {
  PS_NO_CHANGE = 0,
  PS_ZRB = 1,
  PS_NEW = 2,
  PS_CADPART_DOC_NEEDED = 4,
  PS_CHILD_REMOVED = 8,
  PS_CHILD_ADDED = 16,
  PS_DIRTY = 32,
  PS_STD_PART = 64,
  PS_CHILD_MATRIX_CHANGED = 128,
  PS_REPRESENTATION_INCONSISTENT = 256  // printed nowhere; always with PS_DIRTY
};

// User-interface thread only.
class ZRBCommandStates {
 public:
  // What the state checks ask of the higher layers (archives, multiple quantities). The defaults know no dirty
  // archive and resolve nothing.
  struct Hooks {
    int (*isArchiveDirty)(const CADIProduct_var& archiveRoot, const CADUnicodeString& contentFile) = nullptr;
    void (*resolveMultiQuantityForNewInstance)(const CADIProduct_var& product) = nullptr;
  };
  static void InstallHooks(const Hooks& hooks);

  ZRBCommandStates() = default;
  virtual ~ZRBCommandStates() = default;

  // --- state of one node
  // The caller sets `state` to 0; a node unknown to the PDM without a part number leaves it as it is.
  void GetProductState(const CADIProduct_var& product, int& state);
  // Appends the names of the set bits (1 to 128, "|"-joined); "PS_NO_CHANGE" for 0. Always 1.
  static int StringifyProductState(int state, CADString& text);
  // The first of five rules decides; rules 1 and 3 mark the document modified unless doNotMark is set.
  void GetDirtyFlagForProduct(unsigned char& dirty, CADIProduct* product, int ignoreMovedChildren, int doNotMark);
  static void SetDirtyFlagForProduct(const unsigned char& dirty, CADIProduct_var& product);
  static int IsRepresentationDirty(CADIProduct_var& product);
  // With "ZRB_DRAWING_CHECKUPDATEOFASSEMBLY" "ON": 1 when a product a view of the drawing shows is modified
  // (templates aside).
  int CheckIfReferenceOfDrawingIsDirty(CADIDrawing* drawing);
  // 1 when the real product (the first father not embedded) may be changed; templateFlag from
  // "ZRB_TEMPL_PRODUCT". 0 without a real product.
  static int GetChangeableStateOfRealProduct(CADIProduct_var product, int& templateFlag);

  // --- children against the load-time record
  int CheckForDeletedProductsAtNode(CADIProduct* product, int& count, CADListValCADUnicodeString* partNumbers,
                                    CADListValCADUnicodeString* instanceNames);
  int CheckForDeletedProducts(CADIProduct* root, int stopAtFirst, CADListValCADBaseUnknown_var& products);
  int CheckForAddedProductsAtNode(const CADIProduct_var& product, int& added, CADListValCADUnicodeString* instanceNames,
                                  CADListValCADUnicodeString* partNumbers);
  int GetNewChildNodes(const CADIProduct_var& product, CADListValCADBaseUnknown_var* children, int stopAtFirst);
  // Children whose position differs from the one they were loaded at. A position that cannot be read counts
  // as not moved (traced).
  int GetChildNodesWithChangedTrafo(const CADIProduct_var& product, CADListValCADBaseUnknown_var* children,
                                    int stopAtFirst);
  static int CheckForReplacedProducts(CADIProduct* product, int& replaced);
  static int isChildOrigLoadChild(CADIProduct* parent, CADIProduct* child);
  static int isChildOrigLoadChild(CADIProduct* parent, CADIProduct* child, const CADUnicodeString& partNumber,
                                  const CADUnicodeString& instanceName);
  // Rebuilds the node's record from its current children.
  static int SetOrigChildsToProp(CADIProduct* product);
  // For the products a process document links.
  static int SetOrigChildsToProp(CADDocument* document);
  // Every node below and including root that came from the PDM.
  static int SetOrigChilds(CADIProduct* root, const CADUnicodeString& unused, const int& unused2);
  static int AddOrigChildToProp(const CADIProduct_var& parent, const CADIProduct_var& child);

  // The product types whose new instances must stand at the identity (parts, models, vis and the PDM's
  // representation types).
  static bool IsPartLikeType(const CADUnicodeString& type);

  // --- whole-structure checks
  static int GetPartNumbersFromStructure(CADIProduct_var& product, CADListValCADUnicodeString& partNumbers, int unused,
                                         CADListValCADBaseUnknown_var* products);
  // 1 success, 0 error (a position that cannot be read).
  int CheckForUnreconciledProduct(CADIProduct* product, CADListValCADUnicodeString& relations,
                                  CADListValCADUnicodeString& matrices, CADUnicodeString& usActPartNumber,
                                  CADUnicodeString& usActInstName, int& found);
  int CheckForInvalidPosOfProduct(CADIProduct* product, CADListValCADUnicodeString& parentPartNumbers,
                                  CADListValCADUnicodeString& childPartNumbers,
                                  CADListValCADUnicodeString& instanceNames, int& found);
  // The selected product of the current window and its fathers against the part numbers of the PDM structure in
  // `answer`: 0 (with the message shown) when one of them occurs there, or when nothing usable is selected.
  static int CheckForProductCycle(ZRBObjectManager& answer);
  // Part numbers ("DESCRIPTION") of the objects the relations of `root`'s "SUBASSRELATIONS" lead to, depth first.
  static int GetAllUsedPartNumbers(ZRBObjectManager& answer, ZRBObject* root, CADListValCADUnicodeString& partNumbers);
  // With "ZRB_ENABLE_CHECKISUPTODATE" "ON": asks the designer at the first document below product that is not up
  // to date; *stop = 1 when the answer stops the save.
  static int CheckStructureIsUpToDate(const CADIProduct_var& product, int* stop);
  static int MarkStandardPartInStructure(CADIProduct_var& product, CADListValCADUnicodeString& standardPartNumbers,
                                         CADListValCADUnicodeString& classNames, CADListValCADUnicodeString& obids);
  static int GetDuplicateInstanceNames(const CADListValCADBaseUnknown_var* products, CADListValCADUnicodeString* names);
  static int SetIgnoreChildrenWithPartNumber(CADIProduct_var& parent, CADUnicodeString& partNumber, int unused);
  static int DoIgnoreChildWithPartNumber(const CADIProduct_var& child);

  // --- finding products in the session
  static CADIProduct_var FindZRBProductInSession(const CADUnicodeString& partNumber, CADUnicodeString& obid, int& flag);
  static int PartIsUsedInPdm(CADIProduct* product, CADUnicodeString& obid, int& flag);
  static CADIProduct_var FindTopLevelProduct(const CADUnicodeString& partNumber);
  // The editor whose root product carries that "ZRB_OBID", or null.
  static CADFrmEditor* FindTopLevelProductEditor(const CADUnicodeString& obid);
  // A product of the session with that part number (its document when asked), or null.
  static CADIProduct_var FindProductInSession(const CADUnicodeString& partNumber, CADDocument** document);
  // The root product of the document open under that path, or null.
  static CADIProduct_var FindReferenceProductInSession(const CADUnicodeString& path, CADDocument*& document);
  // A cached part (reference not loaded) whose stored part number is that one, or null.
  static CADIProduct_var FindCachedProductInSession(const CADUnicodeString& partNumber);
  // 1 when parent has a child of that part number.
  static int InstancePartForParentExists(const CADIProduct_var& parent, const CADUnicodeString& partNumber);
  static int GetProductFromDocument(CADDocument* document, CADIProduct*& product);
  // The instance the PDM names by its relation path ("ZRB_RELATION" of each instance from the level below
  // `product` down, relations[level + 1] first) whose reference carries `obid`. Non-zero when found: `found` is
  // the instance and `path` has been extended from `product` down to it. A branch that leads nowhere is taken
  // out of `path` again, so a sibling with the same relation is tried next.
  static int GetPartWithPath(const CADIProduct_var& product, const CADString& obid,
                             const CADListValCADString& relations, CADIProduct_var& found, CADPathElement& path,
                             int level);
  static CADIProduct_var GetRealParent(const CADIProduct_var& product);

  // --- embedded products and components
  // The embedded product of that part number below realParent, through embedded levels only; or null.
  static CADIProduct_var FindEmbeddedProductInRealParent(const CADIProduct_var& realParent,
                                                         const CADUnicodeString& partNumber);
  // The same for product's own part number under the real parent of its father.
  static CADIProduct_var FindEmbeddedProductInRealParent(const CADIProduct_var& product);
  static CADIProduct_var FindComponentInRealParent(const CADIProduct_var& realParent,
                                                   const CADUnicodeString& partNumber);
  // A "ZRB_MULTI_EMBEDDED" product whose real parents (the recorded one and those of its instances in the
  // session) are more than one file: listed in messages, found = 1.
  static int ProcessMultiEmbeddedProduct(const CADIProduct_var& product, CADListValCADUnicodeString& messages,
                                         int& found);

  // --- products the PDM now holds differently (used while loading)
  // Replaces `child` of `parent` by the document at `path` (its identity is the one the PDM named), after asking
  // unless "ZRB_REPLACE_WRONG_PRD_AUTO" is "ON"; nothing with "ZRB_DISABLE_REPLACE_WRONG_PRD" "ON". On success
  // *replaced = 1 and `child` is the new instance. 0 for missing arguments or a document that cannot be put in
  // (the child then stays).
  int ReplaceChildWithWrongData(CADIProduct* parent, CADIProduct*& child, const CADUnicodeString& path, int* replaced);
  // The embedded products below root, depth first; only those of that PDM identity unless `obid` is empty.
  static int SearchEmbChildren(const CADIProduct_var& root, const CADUnicodeString& obid,
                               CADListValCADBaseUnknown_var& embedded);
  // A product of root's structure that has a document of its own replaces, once the designer agrees, every
  // embedded product below root with its PDM identity ("ZRB_OBID"); `replaced` counts the instances.
  int RemoveEmbChildren(const CADIProduct_var& root, int& replaced);
  // The same for the top-level products of the list; those that replaced an embedded product stand in the
  // structure now and are taken out of the list.
  int RemoveEmbChildrenFromTopLevel(const CADIProduct_var& root, CADListValCADBaseUnknown_var& topLevel, int& replaced);

  // --- parent information for the attribute interface
  static int StoreParentInfoForAttrApi(const CADIProduct_var& product, const CADUnicodeString& obid,
                                       const CADUnicodeString& dbName, const CADUnicodeString& className);
  static int StoreParentInfoForAttrApi(const CADIProduct_var& product, const CADDocument* document,
                                       const CADUnicodeString& obid, const CADUnicodeString& dbName,
                                       const CADUnicodeString& className);
  static int GetParentInfoForAttrApi(const CADIProduct_var& product, CADListValCADUnicodeString& obids,
                                     CADListValCADUnicodeString& dbNames, CADListValCADUnicodeString& classNames);
  static int StoreParentInfoForAttrApi(CADFrmEditor* editor, const CADUnicodeString& obid,
                                       const CADUnicodeString& dbName, const CADUnicodeString& className);
  static int GetParentInfoForAttrApi(const CADUnicodeString& obidText, const CADUnicodeString& dbNameText,
                                     const CADUnicodeString& classNameText, CADListValCADUnicodeString& obids,
                                     CADListValCADUnicodeString& dbNames, CADListValCADUnicodeString& classNames);
  static int GetParentInfoForAttrApi(const CADDocument* document, CADListValCADUnicodeString& obids,
                                     CADListValCADUnicodeString& dbNames, CADListValCADUnicodeString& classNames);

  // --- the workbench product
  static int GetWorkbenchProduct(CADIProduct_var& product);
  static int IsWorkbenchProduct(const CADUnicodeString& partNumber);
  static int IsWorkbenchProduct(const CADIProduct_var& product);
  static CADUnicodeString GetWorkbenchProductPartNumber();
  // Gives every top-level workbench product its original part number back (or "ZRB_RENAMED_<n>"); each one
  // once, stopping at a refused rename.
  static int RenameZRBWorkbenchToNonWB();
  static int SetZRBWorkbenchName(CADIProduct_var& product);

 protected:
  // "ZRB_CONFIGURABLE_NODE_BEHAVIOR" as the command read it.
  virtual int ConfigurableNodeBehaviorForStates() const { return 0; }

 private:
  int ReadPosition(const CADIProduct_var& child, const CADIProduct_var& parent, double coefficients[12]);
  static int IsMoved(const CADUnicodeString& original, const double current[12]);
  // The embedded products below root with separate's identity become instances of separate's document; the
  // number replaced.
  int ReplaceEmbeddedBy(const CADIProduct_var& root, const CADIProduct_var& separate, int& replaced);
  // A read message for the command's message centre (none for a checker that is no command).
  void AddStateMessage(const char* key, const CADUnicodeString& parameter);
  void AddDesignTableBits(const CADIProduct_var& product, const CADUnicodeString& type, int& state);
};
