// The designer's save against the reference PDM: read, change, save; checked on the journal's request copies, the
// vault, the session's properties and marks, and a fresh session. Generated identities are only compared.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADIPrdProperties.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "UpdateLeftovers.h"
#include "ZRBCommandStates.h"
#include "ZRBDesignTable.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBProductPositions.h"
#include "ZRBPropertyManager.h"
#include "ZRBUpdateAllPartsCmd.h"
#include "ZRBUpdateCmd.h"

namespace {

using Node = CADIProduct_var;
using nlohmann::json;

// The slots that ask the PDM to do something; a request without any of them changes nothing.
constexpr const char* kActionSlots[] = {"CREATE_PART_IN_PDM",
                                        "CREATE_MODEL_RELATION_ONLY",
                                        "CREATE_PART_RELATION_ONLY",
                                        "LINK_IN_PDM",
                                        "UPD_GEOMETRY",
                                        "UPD_MATRIX",
                                        "UPD_PRODUCT"};
constexpr double kMoved[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7};

class SaveEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    root_ = LoadIntoCad("Assembly");
    ASSERT_TRUE(root_) << "the read shows the assembly in a window";
    Pdm("journal", "clear");
  }
  void TearDown() override {
    root_ = nullptr;
    PdmEndToEndFixture::TearDown();
  }

  CADDocument* XmapDocument(const std::string& name) {
    return CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile(name)));
  }
  Node At(std::string_view path) { return SampleSession::Node(root_, path); }

  // The designer's work: a new part under the root, the plate changed, Bracket.2 moved, Fixings.1 removed.
  Node ChangeStructure() {
    EXPECT_EQ(CADDocumentServices::New("CADPart", newPart_), S_OK);
    Node added;
    EXPECT_EQ(root_->AddExternalComponent(newPart_, added), S_OK);
    CADIPrdProperties_var(At("Bracket.1/Plate.1")->GetReferenceProduct())->SetDescription("thicker");
    EXPECT_EQ(ZRBProductPositions::MoveProduct(At("Bracket.2"), root_, kMoved), 1);
    EXPECT_EQ(root_->RemoveProduct(At("Fixings.1")), S_OK);
    return added;
  }

  // One update of the active window; the warnings it gathered.
  std::vector<std::string> Save(ZRBUpdateCmd* command = new ZRBUpdateCmd()) {
    command->Activate(nullptr, nullptr);
    std::vector<std::string> warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings.push_back(text.str());
    Loop().RunPending();
    return warnings;
  }
  int SaveCalls() { return static_cast<int>(std::ranges::count(JournalActions(), "x3UpdateFromFile")); }
  ZRBObjectManager LastRequest() {
    ZRBObjectManager request;
    EXPECT_TRUE(ReadRequest(LastCall("x3UpdateFromFile"), request));
    return request;
  }
  static std::vector<const ZRBObject*> Asking(ZRBObjectManager& request, const char* slot) {
    std::vector<const ZRBObject*> found;
    for (ZRBObject* o = request.GetFirstObject(); o; o = request.GetNextObject(o)) {
      const CADString value = o->GetSlotValue(slot);
      if (value == "1" || value == "2" || (std::string_view(slot) == "REMOVED_SUBASS" && !value.IsEmpty()))
        found.push_back(o);
    }
    return found;
  }
  static int Actions(ZRBObjectManager& request) {
    std::size_t count = Asking(request, "REMOVED_SUBASS").size();
    for (const char* slot : kActionSlots) count += Asking(request, slot).size();
    return static_cast<int>(count);
  }
  json VaultItem(const std::string& partNumber) { return json::parse(Pdm("vault", "show", partNumber, "--json")); }
  static std::string Ref(const Node& node, const char* name) {
    return GlobPropertyManager.GetReferenceProperty(node, name).str();
  }
  static std::string Inst(const Node& parent, const Node& child, const char* name) {
    return GlobPropertyManager.GetInstanceProperty(parent, child, name).str();
  }
  static std::string Position(const Node& parent, const Node& child) {
    double position[12];
    CADUnicodeString text;
    EXPECT_EQ(ZRBProductPositions::GetProductPosition(child, parent, position), 1);
    ZRBPosMatrixUtil::ConvertToString(position, text);
    return text.str();
  }
  static int PrivateLeft(const Node& node) { return PrivateUpdatePropertiesLeft(node); }
  static bool Has(const std::vector<std::string>& lines, std::string_view part) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != l.npos; });
  }
  static const json* ChildOf(const json& item, const std::string& instance) {
    for (const json& child : item["children"])
      if (child["instance"] == instance) return &child;
    return nullptr;
  }

  Node root_;
  CADDocument* newPart_ = nullptr;
};

TEST_F(SaveEndToEndTest, ARoundTripKeepsEverythingAndRepeatedSavesSendNothingMore) {
  const Node added = ChangeStructure();
  const std::string partNumber = added->GetPartNumber().str();
  const std::string instance = SampleSession::InstanceName(added);
  ExpectBox("ZRBUpdateCmd.ProductRemoved", 1);  // go on
  Save();
  ASSERT_EQ(SaveCalls(), 1);

  ZRBObjectManager request = LastRequest();
  EXPECT_EQ(request.GetObject("ROOT")->GetSlotValue("ACTION_SUCCESS"), "0");
  const auto created = Asking(request, "CREATE_PART_IN_PDM");
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0]->GetSlotValue("CREATE_PART_IN_PDM"), "2");
  EXPECT_FALSE(created[0]->GetSlotValue("PATH").IsEmpty());
  EXPECT_EQ(Asking(request, "UPD_GEOMETRY").size(), 3u);  // the plate in both brackets, the new part
  EXPECT_EQ(Asking(request, "UPD_MATRIX").size(), 1u);
  const auto removed = Asking(request, "REMOVED_SUBASS");
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(removed[0]->GetSlotValueList("REMOVED_SUBASS"), CADListValCADString({"Fixings.1"}));

  // The vault: the new part under the assembly, the new position, the removed child gone.
  const json assembly = VaultItem("Assembly");
  const json* child = ChildOf(assembly, instance);
  ASSERT_NE(child, nullptr) << assembly.dump();
  EXPECT_EQ((*child)["partnumber"], partNumber);
  EXPECT_EQ(ChildOf(assembly, "Fixings.1"), nullptr);
  const json& matrix = (*ChildOf(assembly, "Bracket.2"))["matrix"];
  EXPECT_EQ(std::vector<double>(matrix.begin() + 12, matrix.end()), (std::vector<double>{5, 6, 7, 1}));

  // The session: the new identity, the new load-time position, no marks but the new part's, nothing private.
  EXPECT_EQ(Ref(added, "ZRB_OBID"), VaultItem(partNumber)["obid"]);
  EXPECT_EQ(Inst(root_, added, "ZRB_RELATION"), (*child)["relation"]);
  EXPECT_EQ(Inst(root_, added, "ZRB_INSTANCE_IN_ZRB"), "1");
  EXPECT_EQ(Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX"), Position(root_, At("Bracket.2")));
  EXPECT_EQ(XmapDocument("Plate.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(XmapDocument("Assembly.CADProduct")->IsDirty(), 0u);
  EXPECT_NE(newPart_->IsDirty(), 0u) << "the created part saves its new properties next time";
  EXPECT_EQ(PrivateLeft(root_), 0);
  EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(root_.get(), added.get()), 1);

  Save();
  request = LastRequest();
  EXPECT_EQ(Actions(request), 1);
  ASSERT_EQ(Asking(request, "UPD_GEOMETRY").size(), 1u);
  EXPECT_EQ(Asking(request, "UPD_GEOMETRY")[0]->GetSlotValue("PARTNUMBER"), partNumber.c_str());
  const std::string dated = VaultItem("Assembly")["modified"];
  Save();
  EXPECT_EQ(SaveCalls(), 3);
  EXPECT_EQ(Actions(request = LastRequest()), 0);
  EXPECT_EQ(VaultItem("Assembly")["modified"], dated);

  // A fresh session with an empty exchange map reads back what was saved.
  const std::string fresh = Root() + "/fresh";
  std::filesystem::create_directories(fresh + "/xmap");
  WriteFile(fresh + "/read.zrbs", "shell pdmsim load-into-cad Assembly\nwait idle 30\n");
  const ToolRun run =
      RunBuiltTool("zrbsession", {"--xmap", fresh + "/xmap", "--settings", fresh + "/settings", "--workdir", fresh,
                                  "--script", fresh + "/read.zrbs", "--dump", fresh + "/dump.json"});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  const json dump = json::parse(ReadFile(fresh + "/dump.json"));
  const json* read = nullptr;
  for (const json& product : dump["products"])
    if (product["partNumber"] == "Assembly") read = &product;
  ASSERT_NE(read, nullptr);
  std::vector<std::string> children;
  for (const json& c : (*read)["children"]) {
    children.push_back(c["instance"]);
    if (c["instance"] == instance) {
      EXPECT_EQ(c["properties"]["ZRB_OBID"], Ref(added, "ZRB_OBID"));
    }
    if (c["instance"] == "Bracket.2") {
      EXPECT_EQ(std::vector<double>(c["position"].begin() + 9, c["position"].end()), (std::vector<double>{5, 6, 7}));
    }
  }
  EXPECT_EQ(children, (std::vector<std::string>{"Bracket.1", "Bracket.2", instance}));
}

TEST_F(SaveEndToEndTest, AFailedSaveChangesNothingAndAWarningSaveAppliesTheAnswer) {
  const Node added = ChangeStructure();
  const std::string stored = Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX");
  const json before = VaultItem("Assembly");
  const char* faults[] = {"--code 2", "--code 0", "--no-rewrite", "--garbage", "--truncate"};
  // Each failure leaves the session as it was, so the next attempt sends the same save again.
  int sent = -1;
  for (const char* fault : faults) {
    SCOPED_TRACE(fault);
    PdmFault("x3UpdateFromFile", fault);
    ExpectBox("ZRBUpdateCmd.ProductRemoved", 1);
    Save();
    ZRBObjectManager request = LastRequest();
    if (sent < 0) sent = Actions(request);
    EXPECT_EQ(Actions(request), sent);
    EXPECT_EQ(VaultItem("Assembly"), before);
    for (CADDocument* document : {XmapDocument("Plate.CADPart"), XmapDocument("Assembly.CADProduct"), newPart_})
      EXPECT_NE(document->IsDirty(), 0u) << document->StorageName();
    EXPECT_TRUE(Ref(added, "ZRB_OBID").empty());
    EXPECT_EQ(Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX"), stored);
    EXPECT_EQ(Inst(root_, At("Bracket.2"), "S_ZRB_CHANGED_POS"), "1");
    EXPECT_EQ(PrivateLeft(root_), 0);
  }
  Pdm("fault", "set", "x3UpdateFromFile", "--code", "3", "--stats", "one item kept its old revision");
  ExpectBox("ZRBUpdateCmd.ProductRemoved", 1);
  EXPECT_TRUE(Has(Save(), "one item kept its old revision"));
  EXPECT_EQ(XmapDocument("Plate.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(Ref(added, "ZRB_OBID"), VaultItem(added->GetPartNumber().str())["obid"]);
  EXPECT_EQ(Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX"), Position(root_, At("Bracket.2")));
}

TEST_F(SaveEndToEndTest, WhatThePdmRefusedUnderWarningsIsSentAgainByTheNextSave) {
  const Node added = ChangeStructure();
  const std::string partNumber = added->GetPartNumber().str();
  Pdm("fault", "set", "x3UpdateFromFile", "--fail-for", partNumber, "Plate", "--times", "1");
  ExpectBox("ZRBUpdateCmd.ProductRemoved", 1);
  Save();
  EXPECT_EQ(Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX"), Position(root_, At("Bracket.2"))) << "the rest applied";
  EXPECT_TRUE(Ref(added, "ZRB_OBID").empty());
  EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(root_.get(), added.get()), 0);
  EXPECT_NE(RunPdm({"vault", "show", partNumber}).exitCode, 0);
  for (CADDocument* document : {XmapDocument("Plate.CADPart"), newPart_})
    EXPECT_NE(document->IsDirty(), 0u) << document->StorageName();

  Save();
  ZRBObjectManager request = LastRequest();
  ASSERT_EQ(Asking(request, "CREATE_PART_IN_PDM").size(), 1u);
  EXPECT_EQ(Asking(request, "CREATE_PART_IN_PDM")[0]->GetSlotValue("PARTNUMBER"), partNumber.c_str());
  EXPECT_EQ(Asking(request, "UPD_GEOMETRY").size(), 3u);
  EXPECT_EQ(Ref(added, "ZRB_OBID"), VaultItem(partNumber)["obid"]);
  EXPECT_NE(ChildOf(VaultItem("Assembly"), SampleSession::InstanceName(added)), nullptr);
  EXPECT_EQ(XmapDocument("Plate.CADPart")->IsDirty(), 0u);
}

TEST_F(SaveEndToEndTest, QuestionsAndStopChecksDecideWhetherAnythingIsSent) {
  // A removed product answered "stop" sends nothing and keeps the marks.
  root_->RemoveProduct(At("Fixings.1"));
  CADIPrdProperties_var(At("Bracket.1/Plate.1")->GetReferenceProduct())->SetDescription("thicker");
  ExpectBox("ZRBUpdateCmd.ProductRemoved", 4);
  Save();
  EXPECT_EQ(SaveCalls(), 0);
  EXPECT_NE(XmapDocument("Plate.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(PrivateLeft(root_), 0);

  // A new part placed off the origin under the shared bracket: one line for the one triple, and a stop.
  SetVariable("ZRB_ENABLE_CHECK_INVALID_POS", "ON");
  CADDocument* part = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
  Node added;
  ASSERT_EQ(At("Bracket.1")->AddExternalComponent(part, added), S_OK);
  ASSERT_EQ(ZRBProductPositions::MoveProduct(added, At("Bracket.1"), kMoved), 1);
  ExpectBox("ZRBUpdateCmd.ProductRemoved", 1);
  const std::vector<std::string> warnings = Save();
  EXPECT_EQ(SaveCalls(), 0);
  const std::string named = "\"" + SampleSession::InstanceName(added) + "\"";
  EXPECT_EQ(
      std::count_if(warnings.begin(), warnings.end(), [&](const std::string& w) { return w.find(named) != w.npos; }),
      1);
  EXPECT_TRUE(Has(warnings, "stopped"));
  EXPECT_NE(XmapDocument("Plate.CADPart")->IsDirty(), 0u);
}

TEST_F(SaveEndToEndTest, AMoveSavesTheFatherAloneNotTheEmbeddedProductInItsDocument) {
  ASSERT_EQ(ZRBProductPositions::MoveProduct(At("Bracket.2"), root_, kMoved), 1);
  const std::vector<std::string> warnings = Save();
  EXPECT_TRUE(warnings.empty()) << warnings.front();
  ZRBObjectManager request = LastRequest();
  EXPECT_EQ(Asking(request, "UPD_PRODUCT").size(), 1u);
  EXPECT_EQ(XmapDocument("Assembly.CADProduct")->IsDirty(), 0u);
}

TEST_F(SaveEndToEndTest, AChangedDesignTableIsSentOnceWithItsPart) {
  // The designer edits the sheet the part's table uses; the save sends it from the exchange map.
  ZRBInfoUtil::SetUseDesigTables(1);
  CADRawCollPV* tables = ZRBDesignTable::GetTables(At("Bracket.1/Plate.1"), 0);
  ASSERT_TRUE(tables && tables->Size() == 1);
  CADUnicodeString used;
  static_cast<ZRBDesignTable*>((*tables)[1])->GetFullPath(used);
  ZRBDesignTable::DestroyList(tables);
  WriteFile(used.str(), ReadFile(used.str()) + "Plate-200\t200\t60\n");
  std::filesystem::last_write_time(used.str(), std::filesystem::last_write_time(used.str()) + std::chrono::seconds(10));
  Save();
  ZRBObjectManager request = LastRequest();
  const ZRBObject* plate = request.GetObjectByAttrValue("PARTNUMBER", "Plate");
  ASSERT_EQ(plate->GetSlotValueList("TABLES").Size(), 1) << "once for the part used twice";
  EXPECT_EQ(request.GetObject(plate->GetSlotValueList("TABLES")[1])->GetSlotValue("EXTERNAL_LOCATION"),
            used.ConvertToString());
  EXPECT_NE(Pdm("vault", "show", "Plate").find(std::to_string(std::filesystem::file_size(used.str())) + " bytes"),
            std::string::npos);
  Save();
  request = LastRequest();
  EXPECT_EQ(request.GetObjectByAttrValue("PARTNUMBER", "Plate")->GetSlotValueList("TABLES").Size(), 0)
      << "the PDM has the table now";
}

TEST_F(SaveEndToEndTest, APartADrawingAndAComponentPartAreSavedWithTheirIdentity) {
  struct Case {
    const char* item;
    const char* document;  // in the exchange map
    bool component;        // saved through the product path
  };
  const Case cases[] = {
      {"Plate", "Plate.CADPart", false},
      {"Plate-DRW", "Plate.CADDrawing", false},
      {"Bolt", "Bolt.CADPart", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    const Node root = LoadIntoCad(c.item);
    CADDocument* document = XmapDocument(c.document);
    ASSERT_NE(document, nullptr);
    if (root) {
      if (c.component) GlobPropertyManager.SetReferenceProperty(root, "ZRB_ISCOMPONENT", "1");
      CADIPrdProperties_var(root->GetReferenceProduct())->SetDescription("revised");
    }
    document->SetDirty(1);
    const std::string dated = VaultItem(c.item)["modified"];
    const int calls = SaveCalls();
    Pdm("fault", "set", "x3UpdateFromFile", "--code", "0", "--times", "1");
    Save();
    EXPECT_NE(document->IsDirty(), 0u) << "a failed save keeps the mark";
    Save();
    ASSERT_EQ(SaveCalls(), calls + 2);
    ZRBObjectManager request = LastRequest();
    const auto saved = Asking(request, "UPD_GEOMETRY");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0]->GetSlotValue("PATH"), document->StorageName().ConvertToString());
    EXPECT_EQ(saved[0]->GetKey() == "ROOT", c.component);
    EXPECT_FALSE(saved[0]->GetSlotValue("OBID").IsEmpty());
    EXPECT_EQ(document->IsDirty(), 0u);
    if (!std::string_view(c.item).ends_with("DRW")) {
      EXPECT_NE(VaultItem(c.item)["modified"], dated);
    }
  }
}

TEST_F(SaveEndToEndTest, ANonChangeablePartStaysModifiedAndAllPartsSavesTheOthers) {
  GlobPropertyManager.SetReferenceProperty(At("Bracket.1/Plate.1"), "ZRB_CHANGEABLE", "0");
  for (const char* path : {"Bracket.1/Plate.1", "Bracket.1/Bolt.1"})
    CADIPrdProperties_var(At(path)->GetReferenceProduct())->SetDescription("revised");
  EXPECT_TRUE(Has(Save(), "may not be changed"));
  ZRBObjectManager first = LastRequest();
  for (const ZRBObject* saved : Asking(first, "UPD_GEOMETRY")) EXPECT_NE(saved->GetSlotValue("PARTNUMBER"), "Plate");
  EXPECT_NE(XmapDocument("Plate.CADPart")->IsDirty(), 0u);

  XmapDocument("Bolt.CADPart")->SetDirty(1);
  Pdm("fault", "set", "x3UpdateFromFile", "--code", "0", "--times", "1");
  for (const bool fails : {true, false}) {
    Save(new ZRBUpdateAllPartsCmd());
    ZRBObjectManager request = LastRequest();
    ASSERT_EQ(Asking(request, "UPD_GEOMETRY").size(), 1u);
    EXPECT_EQ(Asking(request, "UPD_GEOMETRY")[0]->GetSlotValue("PARTNUMBER"), "Bolt");
    EXPECT_EQ(XmapDocument("Bolt.CADPart")->IsDirty() != 0, fails);
    EXPECT_NE(XmapDocument("Plate.CADPart")->IsDirty(), 0u);
  }
}

TEST_F(SaveEndToEndTest, InStructureFileModeTheStructureFileTakesTheSaveWithoutThePdm) {
  // The structure the read was given serves as the structure file.
  WriteFile(XmapFile("sZRBstructure"), ReadFile(XmapFile("xfile.zrb")));
  CADIPrdProperties_var(At("Bracket.1/Plate.1")->GetReferenceProduct())->SetDescription("thicker");
  ASSERT_EQ(CADDocumentServices::New("CADPart", newPart_), S_OK);
  Node added;
  ASSERT_EQ(root_->AddExternalComponent(newPart_, added), S_OK);
  Save(new ZRBUpdateCmd(3));
  EXPECT_EQ(SaveCalls(), 0) << "the structure file stands in for the PDM";
  ZRBObjectManager file;
  ASSERT_TRUE(file.Read(CADUnicodeString(XmapFile("sZRBstructure"))));
  const std::string plate = VaultItem("Plate")["obid"];
  EXPECT_EQ(file.GetObject(plate.c_str())->GetSlotValue("S_ZRB_CHANGED_GEO"), "1");
  EXPECT_TRUE(file.GetObject(VaultItem("Bolt")["obid"].get<std::string>().c_str())
                  ->GetSlotValue("S_ZRB_CHANGED_GEO")
                  .IsEmpty());
  // The new part is in the file under a placeholder identity, which the session took as its own.
  const std::string placeholder = Ref(added, "ZRB_OBID");
  EXPECT_TRUE(placeholder.starts_with("SZRB_DUMMY_OBID_")) << placeholder;
  const ZRBObject* model = file.GetObjectByAttrValue("ID", placeholder.c_str());
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->GetSlotValue("CREATE_CADPART_AND_DOCUMENT"), "1");
  EXPECT_EQ(XmapDocument("Plate.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(PrivateLeft(root_), 0);
}

TEST_F(SaveEndToEndTest, TheExtendedStructureFileIsReadBackAfterTheSave) {
  WriteFile(XmapFile("eZRBstructure"), ReadFile(XmapFile("xfile.zrb")));
  ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  CADIPrdProperties_var(At("Bracket.1/Plate.1")->GetReferenceProduct())->SetDescription("thicker");
  CaptureTrace();
  const std::vector<std::string> warnings = Save(new ZRBUpdateCmd(6));
  EXPECT_TRUE(warnings.empty()) << warnings.front();
  EXPECT_EQ(SaveCalls(), 0);
  EXPECT_TRUE(TraceHas("SUCCESS IN REREAD OF EZRB STRUCTUREFILE"));
  EXPECT_EQ(XmapDocument("Plate.CADPart")->IsDirty(), 0u);
}

}  // namespace
