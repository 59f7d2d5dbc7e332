// What every save of a product structure to the PDM shares: the part-number check, one node written into the
// request with its action slots and companion objects (product document, deleted children), the documents saved
// into the exchange map, the validation round trip, and the answer put back onto the session.
#pragma once

#include <string_view>
#include <vector>

#include "CADIProduct.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"
#include "ZRBXmapHostServices.h"

class CADDocument;
class ZRBObject;
class ZRBObjectManager;

// User-interface thread only. One save per object: the nodes and documents it touched are remembered until
// ProcessSaveFlags has restored or confirmed them.
class ZRBUpdateBaseCmd : public ZRBOneStepCommand {
 public:
  // What the mode number decides for the writing and the answer processing.
  struct Modes {
    int sZrbUpdate = 0;        // structure-file mode (modes 3 and 6)
    int eZrbUpdateCreate = 0;  // creating update of the extended structure-file variant (mode 5)
    int extendedUpdate = 0;    // extended structure-file variant (mode 6)
    int noLink = 0;            // no "LINK_IN_PDM" (modes 2, 4, 5)
    int positionOnly = 0;      // mode 7: positions only, no document saved
    int partOnly = 0;          // mode 8: part documents only, no product document, no position
    int noInteraction = 0;     // mode 4: messages collected, no boxes
    int validation = 0;        // validation before the update
    int itemsBeforeLinks = 0;  // one node per request: a new item may stand under a new father or alone
    int tablesApart = 0;       // design tables go in requests of their own, not with their part
  };
  static Modes ModesFor(int mode);

  // --- checks (0 valid or nothing found, negative when something failed)
  // The part number's characters are letters, digits, blanks and the punctuation a PDM item number allows; the
  // whole part number goes into `invalidPartNumber` at the first other character (-1).
  static int CheckPartNumber(const CADIProduct_var& product, CADUnicodeString& invalidPartNumber);
  // The root of the current editor and every node below it loaded from the PDM.
  int CheckPartNumberInActWindow(CADUnicodeString& invalidPartNumber);

  // --- writing one node
  // Fills `object` (created by the caller) for `product` and creates its companion objects. `status` becomes
  // negative when the node cannot be saved; the caller decides whether the request is sent.
  int WriteProduct(ZRBObjectManager& request, const CADIProduct_var& product, ZRBObject* object, int& status);
  // One object listing the children gone since the load whose instance was in the PDM; none when there are none.
  int WriteDeletedProducts(const CADIProduct_var& parent, ZRBObjectManager& request);
  // One object per design table of a part, listed in the node's "TABLES": a new table to link ("LINK_DESTAB"),
  // a known one whose file changed, one gone since the load ("REMOVE_IN_PDM"). The number written. With
  // `onlyFile`, just the table of that file name, however often the part was written before.
  int WriteDesignTables(ZRBObjectManager& request, const CADIProduct_var& product, ZRBObject* object,
                        const CADUnicodeString& onlyFile = CADUnicodeString());
  // "ZRB_DESIGNTABLES" and the tables' identities from the answer's table objects of the node.
  static void ProcessDesignTables(const CADIProduct_var& product, const ZRBObject& object, ZRBObjectManager& answer);
  // The configured file category of a document; true when the category asks the PDM to link an existing item.
  static bool GetConfigFileCategoryInfo(CADDocument* document, CADUnicodeString& category);
  // The catalog identification of the reference says "Catalog" (with catalog support on).
  static bool CarriesCatalogFlag(const CADIProduct_var& product);
  static void WriteDescriptionsToZRBObject(const CADIProduct_var& product, ZRBObject* object);
  static void WriteCustomAttrsToZRBObject(const CADIProduct_var& product, ZRBObject* object);
  static void WriteStdAttrsToZRBObject(const CADIProduct_var& product, ZRBObject* object);

  // --- the answer
  // New identities of the nodes this update asked the PDM to create (or to relate); unconfirmed ones stay new.
  int ProcessNewPartFlags(const CADIProduct_var& root, ZRBObjectManager& answer);
  // Product-document identities, and the virtual root's new name.
  int ProcessProductFlags(const CADIProduct_var& root, ZRBObjectManager& answer);
  // Always last, also after a failure or a cancel (success 0): the saved documents are marked modified again and
  // unsent positions kept; confirmed positions become the load-time ones; every private property this update
  // wrote goes. `answer` may be the request itself when no answer could be read.
  int ProcessSaveFlags(int success, ZRBObjectManager& answer);
  // Gives the virtual root the PDM's part number and saves it under its exchange-map name.
  int ProcessVRChange(const CADIProduct_var& product, const CADUnicodeString& newName);
  // Rebuilds the load-time records below root, leaving out children whose creation the PDM did not confirm and
  // keeping those whose removal it did not confirm.
  int RecordSavedChildren(const CADIProduct_var& root, ZRBObjectManager& answer);

  // --- validation ("x3ValidateCadNodes" on "ValidateCadNodes.zrb")
  static ZRBObject* CreateValidationRootObject(ZRBObjectManager& request);
  static int AddNodeValidationDataToZRBObject(ZRBObject* object, const CADIProduct_var& node);
  // *result 1 only when the PDM rewrote the file, its "ROOT" says "1" and every node says "VALIDATE_SUCCESS" "1".
  int ExecuteValidation(ZRBObjectManager& request, ZRBObjectManager* answer, int* result);

  const Modes& GetModes() const { return modes_; }
  void SetModes(const Modes& modes) { modes_ = modes; }

 protected:
  ZRBUpdateBaseCmd(int mode, const char* name) : ZRBOneStepCommand(name), modes_(ModesFor(mode)) {}
  ZRBUpdateBaseCmd(int mode, const char* name, int requestChange, CADCommandMsg message)
      : ZRBOneStepCommand(name, requestChange, message), modes_(ModesFor(mode)) {}

  // Saves a document into the exchange map for this update (once; ProcessSaveFlags restores its mark when the
  // update fails). 1 saved.
  int SaveForUpdate(CADDocument* document) {
    Touched unused;
    return SaveOnce(document, unused);
  }
  // Adds a message of catalog "ZRBUpdateCmd" to the warnings.
  void AddUpdateMessage(std::string_view key, CADUnicodeString* parameters = nullptr, int count = 0);
  // The nodes written by this update, in writing order.
  int TouchedCount() const { return static_cast<int>(touched_.size()); }
  // Before anything of a node is saved: is its file still the document the PDM gave? 1 go on; 0 the node fails
  // (`wrongKey` added); -1 the designer refused to go on ("UpdateCanceled" added; nothing more is asked).
  int CheckNodeIdentity(const CADIProduct_var& product, std::string_view wrongKey, std::string_view askKey);
  // Whether this update may put questions to the designer.
  virtual bool MayAsk() const { return !modes_.noInteraction; }

  Modes modes_;

 private:
  struct Touched {
    CADIProduct_var node;
    CADIProduct_var father;
    CADDocument* saved = nullptr;  // the document this node saved into the exchange map; not owned
    bool toCreate = false;         // the PDM is asked to create the node or its relation
    bool confirmed = false;        // the answer confirmed that creation
  };
  Touched& Touch(const CADIProduct_var& node, const CADIProduct_var& father);
  Touched* FindTouched(const CADIProduct_var& node);
  bool SavedBefore(CADDocument* document) const;
  // Saves the node's document once per update; 1 saved (now or before), 0 failed.
  int SaveOnce(CADDocument* document, Touched& touched);
  // The product-document slots of a product node into its separate product object.
  void WriteProductDocument(ZRBObjectManager& request, const CADIProduct_var& product, ZRBObject* object,
                            Touched& touched, bool toCreate, int& status);
  void ReportNoPermission(const CADIProduct_var& product);
  static bool AsksForLink(CADDocument* document);
  // Another child of `father` with the part number of `product` (a new part may stand once under one father).
  static bool HasSiblingOfSamePart(const CADIProduct_var& father, const CADIProduct_var& product);
  // "CAD_ORIG_INSTANCENAME" and "CAD_ORIG_MATRIX_INDEX" of an instance renamed since the load.
  static void WriteOriginalInstance(const CADIProduct_var& father, const CADIProduct_var& product, ZRBObject* object);
  // The workbench root's slots when the workbench is to be saved ("ZRB_ENABLE_VP_SAVE", option "SaveVP"); else
  // "VRNotSaved".
  static bool SavesVirtualRoot();
  void WriteVirtualRoot(const CADIProduct_var& product, ZRBObject* object);
  // False when the answer refused the node's creation or the save of its document ("…_SUCCESS" "0").
  static bool SaveConfirmed(const Touched& touched, const ZRBObject* object, ZRBObjectManager& answer);
  static void ApplyNewIdentity(const CADIProduct_var& node, const CADIProduct_var& father, const ZRBObject& object);
  // A created node's identity, reference properties and document file properties from its answer object.
  void ApplyCreatedNode(const Touched& touched, const ZRBObject& object, ZRBObjectManager& answer);

  std::vector<Touched> touched_;
  bool identityRefused_ = false;  // the designer stopped this update at a replaced file
  std::vector<CADDocument*> savedDocuments_;
  std::vector<CADIProduct_var> tableReferences_;  // parts whose tables this update wrote
  ZRBXmapHostServices xmapServices_;
};
