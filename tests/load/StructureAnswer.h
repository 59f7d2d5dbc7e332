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

  // Sets each slot of `object`; returns it.
  static ZRBObject* Set(ZRBObject* object, const std::vector<std::pair<const char*, std::string>>& slots) {
    for (const auto& [slot, value] : slots) object->SetSlotValue(slot, value.c_str());
    return object;
  }
  ZRBObjectManager& Answer() { return answer_; }
  ZRBObject* Root() { return root_; }

  // A part item "IT_<pn>" with its document object "DC_<pn>" naming <xmap>/<pn>.CADPart.
  ZRBObject* Part(const std::string& xmap, const std::string& pn) {
    ZRBObject* item = Item(pn, "Part");
    Set(Document("DC_" + pn, "IT_" + pn, xmap + "/" + pn + ".CADPart"),
        {{"CADCLASSNAME", "CADPart"}, {"DESCRIPTION", pn}});
    item->SetSlotValueList("DOCCOMS", List({"DC_" + pn}));
    return item;
  }
  // An assembly item "IT_<pn>" whose "PRODUCT" is "PD_<pn>", naming <xmap>/<pn>.CADProduct.
  ZRBObject* Assembly(const std::string& xmap, const std::string& pn) {
    ZRBObject* item = Item(pn, "Assembly");
    Set(Document("PD_" + pn, "PD_" + pn, xmap + "/" + pn + ".CADProduct"),
        {{"CADCLASSNAME", "CADProduct"}, {"PARTNUMBER", pn}, {"DESCRIPTION", pn}, {"ASSEMBLYOBID", "IT_" + pn}});
    item->SetSlotValue("PRODUCT", ("PD_" + pn).c_str());
    item->SetSlotValueList("DOCCOMS", {});
    return item;
  }
  // A relation below `parent` (an item, or null for the root); `pdmRelation` false for a top-level use.
  ZRBObject* Relate(ZRBObject* parent, const std::string& key, const std::string& childPartNumber,
                    const std::string& instanceName, const std::string& matrix, bool pdmRelation = true) {
    ZRBObject* relation = Set(answer_.CreateObject(key.c_str()), {{"ASS_ITEM_ID", "IT_" + childPartNumber},
                                                                  {"INSTANCE_NAME", instanceName},
                                                                  {"MATRIX", matrix},
                                                                  {"QUANTITY", "1"}});
    if (pdmRelation) Set(relation, {{"REL_OBID", key}, {"REL_DB_NAME", "PDMSIM"}, {"CLASSNAME", "ItemUsage"}});
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
  ZRBObject* Item(const std::string& pn, const char* className) {
    return Set(answer_.CreateObject(("IT_" + pn).c_str()), {{"OBID", "IT_" + pn},
                                                            {"CLASSNAME", className},
                                                            {"DB_NAME", "PDMSIM"},
                                                            {"CHANGEABLE", "1"},
                                                            {"PARTNUMBER", pn},
                                                            {"DESCRIPTION", pn}});
  }
  ZRBObject* Document(const std::string& key, const std::string& obid, const std::string& location) {
    return Set(answer_.CreateObject(key.c_str()), {{"OBID", obid},
                                                   {"CLASSNAME", "CadDoc"},
                                                   {"DB_NAME", "PDMSIM"},
                                                   {"CHANGEABLE", "1"},
                                                   {"MODIFICATION_DATE_GMT", "2026-01-02 03:04:05.000"},
                                                   {"ISCOMPONENT", "0"},
                                                   {"EXTERNAL_LOCATION", location}});
  }

  ZRBObjectManager answer_;
  ZRBObject* root_;
};
