// Fetches the original geometry of the selected visualisation nodes from the PDM ("x3GetOrigGeoForVis" on
// "GetOrigGeoForVis.zrb") and puts the delivered models in their place in the session.
#pragma once

#include <vector>

#include "CADBaseTypes.h"
#include "CADIProduct.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class ZRBObject;
class ZRBObjectManager;

// What the request says of one node, read from its integration properties.
struct ZRBOrigGeoAttributes {
  CADUnicodeString obid;
  CADUnicodeString dbName;
  CADUnicodeString className;
  CADUnicodeString location;  // the node's file as the session knows it
  CADUnicodeString visPath;
  CADUnicodeString sendingObject;
  CADUnicodeString ignoreTimeStamp;
};

// One node asked for: the key of its request object, the node it replaces and the part number that names it in
// the messages.
struct ZRBOrigGeoRequestItem {
  CADString key;
  CADIProduct_var node;
  CADUnicodeString partNumber;
};

// One command object per run, user-interface thread only. The class name is the message catalog.
class ZRBGetOrigGeoForVisCmd : public ZRBOneStepCommand {
 public:
  ZRBGetOrigGeoForVisCmd() : ZRBGetOrigGeoForVisCmd("ZRBGetOrigGeoForVisCmd") {}

  // --- the nodes: the selected ones and the visualisations below selected products, each once
  HRESULT GetSelectedNodes(std::vector<CADIProduct_var>& nodes);
  static void AppendChildGeoToList(const CADIProduct_var& product, std::vector<CADIProduct_var>& nodes);
  static int RetrieveNeededPartAttributes(const CADIProduct_var& node, ZRBOrigGeoAttributes& attributes);

  // --- the request: one object per node to fetch (a model open in the session is not asked for), "ROOT" and
  // "COMMAND"
  HRESULT CreateObjectManagerStructure(const std::vector<CADIProduct_var>& nodes, ZRBObjectManager& request,
                                       std::vector<ZRBOrigGeoRequestItem>& items);
  // Writes the request, runs the PDM, reads the answer into `request`: fetched items are stamped and reported.
  HRESULT GetFilesFromPdm(const CADUnicodeString& xmap, ZRBObjectManager& request,
                          const std::vector<ZRBOrigGeoRequestItem>& items);
  // Gives the delivered file the answer's "MODIFICATION_DATE_GMT" and records its time as the file's
  // "ZRB_LAST_KNOWN_MOD_TIME"; 1 done or switched off, 0 bad date or no delivered file.
  static int SetTimeStampToFile(const ZRBObject& object);
  // The delivered file of an answer object: its last component in the exchange map, else in the released cache;
  // "" when neither holds it.
  static CADUnicodeString DeliveredFile(const ZRBObject& object);
  // Puts the delivered model (a part document) in place of the temporary node; the new node, null on failure.
  CADIProduct_var ReplaceTempVis(const CADIProduct_var& node, const ZRBObject& object);

  // 1 while failures may still show their message box ("ZRBAfx.ConnectFailed" turns it off).
  int MustShowMsg() const { return showMsg_; }
  void SetShowMsg(int show) { showMsg_ = show; }

 protected:
  explicit ZRBGetOrigGeoForVisCmd(const char* name) : ZRBOneStepCommand(name) {}

  // --- what the variant changes
  virtual void SetSlotsToObject(ZRBObject& object, const ZRBOrigGeoAttributes& attributes);
  virtual HRESULT CreateCommandObject(ZRBObjectManager& request, const CADListValCADString& keys);
  // Shows the replaced node's model: activates its "Default" representation.
  virtual int Load(const CADIProduct_var& product);

  Outcome Work() override;
  void ShowOutcome(int success) override;

  void ShowFailure();
  CADUnicodeString Message(const char* name, CADUnicodeString* parameters = nullptr, int count = 0) const;

 private:
  int showMsg_ = 1;
};

ZRBGetOrigGeoForVisCmd* fctCreateZRBGetOrigGeoForVisCmd();
