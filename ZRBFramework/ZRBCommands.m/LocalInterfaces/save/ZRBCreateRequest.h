// What every create and save-as shares: the request "rfile.zrb" in the exchange map that describes one document
// (saved there first), and the new PDM identity the answer carries, written back onto the document.
#pragma once

#include <string_view>

#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBObjectManager.h"

class CADDocument;
class ZRBCommand;
class ZRBObject;

// One request per object; user-interface thread only. Messages go to the command's warnings under `catalog`.
class ZRBCreateRequest {
 public:
  static constexpr const char* kFileName = "rfile.zrb";

  ZRBCreateRequest(ZRBCommand& command, std::string_view catalog) : command_(command), catalog_(catalog) {}

  // --- before building
  // With "ZRB_CHECK_LINKED_PRODUCT" on, a part used by an open product is refused ("DocumentOpenInProductWindow",
  // only when `products`); with "ZRB_CHECK_LINKED_DRAWING" on, one shown by an open drawing
  // ("DocumentOpenInDrawingWindow"). 1 when the document may be sent.
  int CheckLinks(const CADDocument& document, bool products);
  // "BOM" or "NO_BOM" for a new part ("BOM" unless "ZRB_ENABLE_ASK_FOR_BOM_PART" is on and the designer chooses
  // otherwise); empty when the designer stopped ("ZRBAfx.ActionStopped" is then in the warnings). `question` is
  // the question's prefix in catalog "ZRBAfx" ("AskForPartTypeCreate").
  CADUnicodeString AskForPartType(std::string_view question);
  // With "ZRB_READ_QCKSEAL" and "ZRB_QCK_TIMESTAMP" on: the check seal's up-to-date mark ("ZRB_QCKFILE_UPTODATE")
  // holds only for the file it was taken on; a modified document, or a file changed since its last known time,
  // loses it. Call before the save into the exchange map. 1 when the mark (if any) still holds.
  static int CheckQCheckerTimestamp(const CADDocument& document);

  // --- building (1 done, 0 failed; the reason is in the warnings or the trace)
  // "ROOT" with "ACTION_SUCCESS" "0", "CADCLASSNAME" and, with "ZRB_DISABLE_UPDATE_WB" on, "DROP_IN_WB" "1".
  ZRBObject* AddRoot(const CADString& className);
  // Saves the document under its exchange-map path (a read-only document is made writable for the save only).
  int SaveIntoExchangeMap(CADDocument& document, const char* traceLabel);
  // The document's object with its properties, feature extensions, user-defined values and private update id;
  // `drawing` adds the drawing's model information.
  int Describe(CADDocument& document, bool drawing);
  // With "ZRB_CHECK_BROKEN_DT" on: every design table of the part whose file exists is copied into the exchange
  // map and described in a table object ("LINK_DESTAB" "1") named in the document object's "TABLES"
  // ("DesignTableDetected" tells the designer). The number of tables described.
  int AddDesignTables(CADDocument& document);
  // The path the PDM is given instead of the document's own (a legacy model written beside it).
  void SendUnder(const CADUnicodeString& path) { sentPath_ = path; }
  // Removes an old "rfile.zrb" (an old answer must never be read as this one's) and writes the request.
  int Write();

  // --- the answer
  // Reads the rewritten "rfile.zrb"; null when it holds no "ROOT" (traced).
  ZRBObject* ReadAnswer(ZRBObjectManager& answer) const;
  // The created item's object named by the answer's "SUBASSEMBLIES"; null when there is none.
  static ZRBObject* CreatedObject(const ZRBObjectManager& answer);
  // Identity, user-defined values, feature extensions and file name from `created` onto the document, the
  // exchange map's content file, the linked design tables ("LINK_SUCCESS" "1": into "ZRB_DESIGNTABLES", their
  // identity onto their files) and the check seal's mark as the answer's "QCK_SEAL_UPTODATE" says. 1 applied.
  int ApplyIdentity(ZRBObjectManager& answer, ZRBObject& created, CADDocument& document);

  // --- what was built
  ZRBObjectManager& Request() { return request_; }
  ZRBObject* Root() const { return root_; }
  ZRBObject* DocumentObject() const { return object_; }
  const CADUnicodeString& RequestPath() const { return requestPath_; }
  const CADUnicodeString& ExchangeMap() const { return xmap_; }
  // The document's path in the exchange map, set by SaveIntoExchangeMap.
  const CADUnicodeString& DocumentPath() const { return documentPath_; }
  // What the PDM's command line names: the document's path unless SendUnder chose another.
  const CADUnicodeString& SentPath() const { return sentPath_.IsEmpty() ? documentPath_ : sentPath_; }

  // Adds a message of the catalog to the command's warnings.
  void AddMessage(std::string_view key, CADUnicodeString* parameters = nullptr, int count = 0);

 private:
  void ApplyDesignTables(const ZRBObjectManager& answer, const ZRBObject& created, CADDocument& document);

  ZRBCommand& command_;
  std::string_view catalog_;
  ZRBObjectManager request_;
  ZRBObject* root_ = nullptr;
  ZRBObject* object_ = nullptr;
  CADUnicodeString xmap_;
  CADUnicodeString documentPath_;
  CADUnicodeString requestPath_;
  CADUnicodeString sentPath_;
};
