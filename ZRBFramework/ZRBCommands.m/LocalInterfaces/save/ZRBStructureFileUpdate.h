// After a save of a structure that was read from a PDM structure file ("sZRBstructure", or "eZRBstructure" in the
// extended variant): the file is brought up to the saved state, so that a later read from it shows the save.
// Its object keys are hierarchical, "." separated; new objects get generated keys below their father's.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class CADDocument;
class ZRBObject;
class ZRBObjectManager;

// One update of one structure file; messages (catalog "ZRBUpdateCmd") go to the caller's list.
class ZRBStructureFileUpdate {
 public:
  ZRBStructureFileUpdate(bool extended, CADListValCADUnicodeString& messages)
      : extended_(extended), messages_(messages) {}

  // Reads the structure file of the exchange map, applies the save's answer and writes it back; 1 done. A file
  // that cannot be read is left as it is ("NoFileAccessSZRB", 0); nothing is written when a node fails.
  int UpdateSZRBStructure(ZRBObjectManager& answer);
  // The structure-file save, which runs no PDM session: the request's actions are taken as done, new items
  // get placeholder identities ("SZRB_DUMMY_OBID_" or, extended, "EZRB_OBID_" and their file key), the request
  // receives the answer slots, and the file is updated from it. 1 done.
  int UpdateWithoutPdm(ZRBObjectManager& request);
  // One node of the answer and, depth first, its children; 0 at the first failure.
  int WriteSZRBProductStructure(ZRBObjectManager& structure, ZRBObjectManager& answer, const ZRBObject* parent,
                                const ZRBObject* node, int depth = 0);

  // --- keys
  // The key up to its last "."; empty for a key without one.
  static CADString GetFatherObjectKeyID(const CADString& key);
  // Splits at the last ".": `prefix` keeps the dot, `number` is what follows (decimal or a Roman numeral). 0 with
  // "DelimiterNotFound" for a key without a dot, 0 for a tail that is no number.
  int GetKeyIDAsIntAndPrefixString(const CADString& key, int& number, CADString& prefix);
  // The key of a new child after the highest number in use: "MODEL" the Roman numeral of highest + 1, "RELATION"
  // its decimal; another type gives "NoObjectType" and an empty key.
  CADString GenerateNewKeyID(int highest, const CADString& prefix, const CADString& type);

  CADUnicodeString FileName() const { return extended_ ? "eZRBstructure" : "sZRBstructure"; }

  // The placeholder identity of a drawing made in the extended variant before the PDM knows it. The file gives
  // each such drawing its own identity with this prefix (see AssignedObid).
  static constexpr const char* kNewDrawingObid = "EZRB_OBID";
  // The identity the last merge gave the answer's new drawing `key`; empty when it gave none.
  CADString AssignedObid(const CADString& key) const;
  // A drawing's "CADCLASSNAME", "SHEETS" and sources ("SOURCE_PARTNUMBERS", "SOURCE_OBIDS", "SOURCE_DOCS": the
  // products it shows) into its request object, for the file to keep.
  static void DescribeDrawing(CADDocument& document, ZRBObject& drawing);

 private:
  // The structure objects that stand for the node: slot "ID" (else "OBID") carrying the node's OBID.
  static ZRBObject* FindItem(ZRBObjectManager& structure, const CADString& obid);
  int UpdateSZRBProductObjects(ZRBObjectManager& structure, const ZRBObject* parent, const ZRBObject& node);
  // Extended variant: a drawing with the placeholder identity becomes a document object of the file's "ROOT"
  // ("DOCCOMS", "CREATE_CADDRAWING_AND_DOCUMENT" "1"); merged again, it finds that object by its file.
  int AddNewDrawing(ZRBObjectManager& structure, const ZRBObject& node);
  int UpdateSZRBChangedGeoMatrixObjects(ZRBObjectManager& structure, const ZRBObject& node);
  // Changed geometry: "S_ZRB_CHANGED_GEO" on the item and its document objects, the node's model information
  // and, for a drawing, its sheets and sources.
  int RecordChangedGeometry(ZRBObjectManager& structure, const ZRBObject& node);
  // The document objects (with "CADCLASSNAME") that carry the identity `obid`.
  static std::vector<ZRBObject*> FindDocuments(ZRBObjectManager& structure, const CADString& obid);
  // `from`'s slots into `to` (only the named ones, when `only` is not empty).
  static void CopySlots(const ZRBObject& from, ZRBObject& to, const std::vector<std::string>& only);
  // A new object below `father` of that type ("MODEL" or "RELATION"); null after a message.
  // Extended variant: a copied part or product is a new relation to an object the file holds already.
  int UpdateSZRBCopyPasted(ZRBObjectManager& structure, const ZRBObject* parent, const ZRBObject& node);
  // Extended variant: children the PDM removed move from "SUBASSRELATIONS" to "REMOVED_SUBASSEMBLIES".
  int DeleteObjectsEZRB(ZRBObjectManager& structure, const ZRBObject& removed);
  ZRBObject* CreateChild(ZRBObjectManager& structure, const ZRBObject& father, const CADString& type);
  void Message(const char* key, const CADString& parameter = CADString());
  std::string PlaceholderPrefix() const { return extended_ ? "EZRB_OBID_" : "SZRB_DUMMY_OBID_"; }
  // The writable answer object of a node being walked; null outside UpdateSZRBStructure.
  ZRBObject* Answered(const ZRBObject& node) const;

  bool extended_;
  CADListValCADUnicodeString& messages_;
  std::set<std::string> walked_;               // answer keys already followed
  std::map<std::string, CADString> assigned_;  // new drawing's answer key -> identity in the file
  ZRBObjectManager* answer_ = nullptr;
  bool standIn_ = false;  // no PDM was asked: the file carries out the request itself
};
