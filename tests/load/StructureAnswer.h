// Test support: a read answer built object by object in the shape the PDM delivers (items, their product and
// part documents, relations), and host documents written into the exchange map for it.
#pragma once

#include <string>
#include <vector>

#include "ZRBObject.h"
#include "ZRBObjectManager.h"

class StructureAnswer {
 public:
  StructureAnswer() {
    root_ = answer_.CreateObject("ROOT");
    root_->SetSlotValue("ACTION_SUCCESS", "1");
  }
  StructureAnswer(const StructureAnswer&) = delete;
  StructureAnswer& operator=(const StructureAnswer&) = delete;

  ZRBObjectManager& Answer() { return answer_; }
  ZRBObject* Root() { return root_; }

  // A part item "IT_<pn>" with its document object "DC_<pn>" naming <xmap>/<pn>.CADPart.
  ZRBObject* Part(const std::string& xmap, const std::string& partNumber) {
    ZRBObject* item = Item(partNumber, "Part");
    ZRBObject* document = Document("DC_" + partNumber, "IT_" + partNumber, xmap + "/" + partNumber + ".CADPart");
    document->SetSlotValue("CADCLASSNAME", "CADPart");
    document->SetSlotValue("DESCRIPTION", partNumber.c_str());
    item->SetSlotValueList("DOCCOMS", List({"DC_" + partNumber}));
    return item;
  }
  // An assembly item "IT_<pn>" whose "PRODUCT" is "PD_<pn>", naming <xmap>/<pn>.CADProduct.
  ZRBObject* Assembly(const std::string& xmap, const std::string& partNumber) {
    ZRBObject* item = Item(partNumber, "Assembly");
    ZRBObject* product = Document("PD_" + partNumber, "PD_" + partNumber, xmap + "/" + partNumber + ".CADProduct");
    product->SetSlotValue("CADCLASSNAME", "CADProduct");
    product->SetSlotValue("PARTNUMBER", partNumber.c_str());
    product->SetSlotValue("DESCRIPTION", partNumber.c_str());
    product->SetSlotValue("ASSEMBLYOBID", ("IT_" + partNumber).c_str());
    item->SetSlotValue("PRODUCT", ("PD_" + partNumber).c_str());
    item->SetSlotValueList("DOCCOMS", {});
    return item;
  }
  // A relation below `parent` (an item, or null for the root); `pdmRelation` false for a top-level use.
  ZRBObject* Relate(ZRBObject* parent, const std::string& key, const std::string& childPartNumber,
                    const std::string& instanceName, const std::string& matrix, bool pdmRelation = true) {
    ZRBObject* relation = answer_.CreateObject(key.c_str());
    relation->SetSlotValue("ASS_ITEM_ID", ("IT_" + childPartNumber).c_str());
    relation->SetSlotValue("INSTANCE_NAME", instanceName.c_str());
    relation->SetSlotValue("MATRIX", matrix.c_str());
    relation->SetSlotValue("QUANTITY", "1");
    if (pdmRelation) {
      relation->SetSlotValue("REL_OBID", key.c_str());
      relation->SetSlotValue("REL_DB_NAME", "PDMSIM");
      relation->SetSlotValue("CLASSNAME", "ItemUsage");
    }
    (parent ? parent : root_)->SlotAppend("SUBASSRELATIONS", key.c_str());
    return relation;
  }

  static CADListValCADString List(const std::vector<std::string>& items) {
    CADListValCADString list;
    for (const std::string& item : items) list.Append(item.c_str());
    return list;
  }
  // Host document texts.
  static std::string PartFile(const std::string& partNumber) {
    return "CADHOST-DOCUMENT 1 CADPart\npartnumber \"" + partNumber +
           "\"\nbody \"PartBody\" shown\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\ntriangle 0 1 2\nend\nend\n";
  }
  static std::string ProductFile(const std::string& partNumber) {
    return "CADHOST-DOCUMENT 1 CADProduct\npartnumber \"" + partNumber + "\"\nend\n";
  }

 private:
  ZRBObject* Item(const std::string& partNumber, const char* className) {
    ZRBObject* item = answer_.CreateObject(("IT_" + partNumber).c_str());
    item->SetSlotValue("OBID", ("IT_" + partNumber).c_str());
    item->SetSlotValue("CLASSNAME", className);
    item->SetSlotValue("DB_NAME", "PDMSIM");
    item->SetSlotValue("CHANGEABLE", "1");
    item->SetSlotValue("PARTNUMBER", partNumber.c_str());
    item->SetSlotValue("DESCRIPTION", partNumber.c_str());
    return item;
  }
  ZRBObject* Document(const std::string& key, const std::string& obid, const std::string& location) {
    ZRBObject* document = answer_.CreateObject(key.c_str());
    document->SetSlotValue("OBID", obid.c_str());
    document->SetSlotValue("CLASSNAME", "CadDoc");
    document->SetSlotValue("DB_NAME", "PDMSIM");
    document->SetSlotValue("CHANGEABLE", "1");
    document->SetSlotValue("MODIFICATION_DATE_GMT", "2026-01-02 03:04:05.000");
    document->SetSlotValue("ISCOMPONENT", "0");
    document->SetSlotValue("EXTERNAL_LOCATION", location.c_str());
    return document;
  }

  ZRBObjectManager answer_;
  ZRBObject* root_;
};
