// The save side against requests written as the update command writes them:
// every action's answer and what the vault keeps, a second send changing
// nothing, hostile requests, node validation and the workbench. (Injected
// outcomes that keep nothing are checked end to end through the module.)
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ExchangeFile.h"
#include "PdmSimHarness.h"

namespace {
using pdmsim::ExchangeFile;
using pdmsimtest::PdmSimHarness;
using Json = nlohmann::json;

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

class SaveAction : public ::testing::Test {
 protected:
  void SetUp() override {
    harness.FillSampleVault();
    PdmSimHarness::WriteFile(harness.XmapFile("NEW.CADPart"), "new part\n");
    PdmSimHarness::WriteFile(harness.XmapFile("BOLT.CADPart"), "bolt, longer\n");
    PdmSimHarness::WriteFile(harness.XmapFile("GEARBOX.CADProduct"), "gearbox holding NEW\n");
    PdmSimHarness::WriteFile(harness.XmapFile("NEW_sizes.xls"), "a;b\n");
  }

  Json Show(const std::string& partNumber) const {
    return Json::parse(harness.Admin({"vault", "show", partNumber, "--json"}));
  }
  std::string Relation(const std::string& parent, const std::string& instance) const {
    const Json item = Show(parent);
    for (const Json& child : item["children"])
      if (child["instance"] == instance) return child["relation"];
    return "<none>";
  }
  std::string VaultState() const { return harness.Admin({"vault", "ls"}) + Show("GEARBOX").dump(); }

  // A designer's save of GEARBOX: BOLT.1 moved and modified, NEW created with a design table, BOLT.2 removed,
  // the product document saved, SHAFT-ASM.1 untouched.
  std::string SaveRequest() const {
    std::string text =
        "@ROOT\n{ACTION_SUCCESS} 0\n{OBID} @GEARBOX@\n{PARTNUMBER} GEARBOX\n{PRODUCT} 4\n{SUBASSEMBLIES} {0} {1} "
        "{2}\n\n"
        "@0\n{OBID} @SHAFT-ASM@\n{PARTNUMBER} SHAFT-ASM\n{INSTANCENAME} SHAFT-ASM.1\n{REL_OBID} @SHAFT-ASM.1@\n"
        "{MATRIX} 1 0 0 0 0 1 0 0 0 0 1 0 0 0 50 1\n{UNIT} 1.0\n\n"
        "@1\n{OBID} @BOLT@\n{PARTNUMBER} BOLT\n{INSTANCENAME} BOLT.1\n{REL_OBID} @BOLT.1@\n"
        "{MATRIX} 1 0 0 0 0 1 0 0 0 0 1 0 12.5 0 0 1\n{UNIT} 1.0\n{UPD_MATRIX} 1\n{UPD_GEOMETRY} 1\n"
        "{PATH} @XMAP@/BOLT.CADPart\n{ZRB_PRIVATE_UPDATE_ID} 1\n\n"
        "@2\n{OBID} \n{PARTNUMBER} NEW\n{INSTANCENAME} NEW.1\n{CREATE_PART_IN_PDM} 2\n{UPD_GEOMETRY} 1\n"
        "{PATH} @XMAP@/NEW.CADPart\n{MATRIX} 1 0 0 0 0 1 0 0 0 0 1 0 0 30 0 1\n"
        "{STANDARD_ATTRS} {CADNomenclature} {CADRevision} {CADDefinition} {CADDescription}\n"
        "{STANDARD_VALS} {New part} {A} {} {}\n{TABLES} {3}\n{ZRB_PRIVATE_UPDATE_ID} 2\n\n"
        "@3\n{LINK_DESTAB} 1\n{EXTERNAL_LOCATION} @XMAP@/NEW_sizes.xls\n\n"
        "@4\n{PATH} @XMAP@/GEARBOX.CADProduct\n{UPD_GEOMETRY} 1\n{CLASSNAME} x0CadPrd\n\n"
        "@5\n{REMOVED_SUBASS} {BOLT.2}\n{INSTANCENAME} {BOLT.2}\n{OBID} {@BOLT@}\n{REL_OBID} {@BOLT.2@}\n"
        "{REMOVE_IN_PDM} {1}\n{PARENT_OBID} @GEARBOX@\n\n";
    for (const char* item : {"GEARBOX", "SHAFT-ASM", "BOLT"})
      Replace(text, std::string("@") + item + "@", Show(item)["obid"]);
    for (const char* instance : {"SHAFT-ASM.1", "BOLT.1", "BOLT.2"})
      Replace(text, std::string("@") + instance + "@", Relation("GEARBOX", instance));
    Replace(text, "@XMAP@", harness.Xmap());
    return text;
  }

  ExchangeFile Send(const std::string& request, const std::string& action = "x3UpdateFromFile") const {
    const std::string path = harness.XmapFile("ifile.zrb");
    PdmSimHarness::WriteFile(path, request);
    EXPECT_EQ(harness.Session(action, path).exitCode, 0);
    return ExchangeFile::Parse(PdmSimHarness::ReadFile(path));
  }

  PdmSimHarness harness;
};

TEST_F(SaveAction, EveryActionIsAnsweredAndKeptAndASecondSendChangesNothing) {
  const std::string request = SaveRequest();
  ExchangeFile answer = Send(request);
  EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS"), "1");
  EXPECT_EQ(answer.Find("ROOT")->Get("STATS"), "");

  Json gearbox = Show("GEARBOX");
  std::vector<std::string> instances;
  for (const Json& child : gearbox["children"]) instances.push_back(child["instance"]);
  EXPECT_EQ(instances, (std::vector<std::string>{"SHAFT-ASM.1", "BOLT.1", "NEW.1"}));
  EXPECT_EQ(gearbox["children"][1]["matrix"][12], 12.5);
  EXPECT_EQ(gearbox["children"][2]["matrix"][13], 30.0);
  Json created = Show("NEW");
  EXPECT_EQ(created["file"], "NEW.CADPart");

  const pdmsim::ExchangeObject& node = *answer.Find("2");
  EXPECT_EQ(node.Get("CREATE_PART_SUCCESS"), "1");
  EXPECT_EQ(node.Get("OBID"), created["obid"]);
  EXPECT_EQ(node.Get("DOCREL_ID"), Relation("GEARBOX", "NEW.1"));
  EXPECT_EQ(node.Get("MODIFICATION_DATE_GMT"), created["modified"]);
  const pdmsim::ExchangeObject& moved = *answer.Find("1");
  EXPECT_EQ(moved.Get("UPD_MATRIX_SUCCESS") + moved.Get("MODEL_UPD_SUCCESS"), "11");
  EXPECT_EQ(moved.Get("MODIFICATION_DATE_GMT"), Show("BOLT")["modified"]);
  EXPECT_EQ(answer.Find("4")->Get("PRODUCT_SUCCESS"), "1");
  EXPECT_EQ(answer.Find("4")->Get("MODIFICATION_DATE_GMT"), gearbox["modified"]);
  EXPECT_EQ(answer.Find("3")->Get("LINK_SUCCESS"), "1");
  EXPECT_EQ(answer.Find("5")->Get("REMOVE_SUCCESS"), "1");
  EXPECT_EQ(answer.Find("0")->Get("UPD_MATRIX_SUCCESS"), "");  // untouched nodes get no answer slots

  // The same request again (the module sends it again after a lost answer): the same identities, nothing new.
  const std::string state = VaultState() + Show("NEW").dump() + Show("BOLT").dump();
  ExchangeFile again = Send(request);
  EXPECT_EQ(again.Find("ROOT")->Get("ACTION_SUCCESS"), "1");
  EXPECT_EQ(again.Find("2")->Get("OBID"), created["obid"]);
  EXPECT_EQ(VaultState() + Show("NEW").dump() + Show("BOLT").dump(), state);
}

TEST_F(SaveAction, HostileRequestsAreRefusedWithALine) {
  struct Case {
    const char* what;
    std::string from, to;
    std::string code;
    std::string line;
  };
  const std::string request = SaveRequest();
  for (const Case& c : std::vector<Case>{
           {"a dangling child key", "{SUBASSEMBLIES} {0} {1} {2}", "{SUBASSEMBLIES} {0} {1} {9}", "0", "9"},
           {"a node listed twice", "{SUBASSEMBLIES} {0} {1} {2}", "{SUBASSEMBLIES} {0} {1} {2} {1}", "0", "twice"},
           {"a document that is not there", "/NEW.CADPart", "/GONE.CADPart", "3", "cannot be read"},
           {"a part number of another item", "{PARTNUMBER} NEW", "{PARTNUMBER} SHAFT", "3", "already used"},
           {"a position that is none", "12.5 0 0 1", "12,5 0 0 1", "3", "no position text"},
       }) {
    const std::string before = VaultState();
    std::string hostile = request;
    Replace(hostile, c.from, c.to);
    ExchangeFile answer = Send(hostile);
    EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS"), c.code) << c.what;
    EXPECT_NE(answer.Find("ROOT")->Get("STATS").find(c.line), std::string::npos) << c.what;
    if (c.code == "0") {
      EXPECT_EQ(VaultState(), before) << c.what;
    }
  }
}

TEST_F(SaveAction, ValidationAnswersEveryNode) {
  harness.Admin({"fault", "set", "x3ValidateCadNodes", "--validate-fail", "BOLT"});
  ExchangeFile answer = Send(
      "@ROOT\n{CREATING_SYSTEM} CADHOST\n{PROCESS} ValidateNodes\n{FILEVERSION} 1.00\n{ACTION_SUCCESS} 0\n\n"
      "@0\n{OPERATION} ValCreateCadObj\n{PARTNUMBER} NEW\n{NEXT_OP} 1\n\n"
      "@1\n{OPERATION} ValAttachCadObjInst\n{PARTNUMBER} NEW\n\n"
      "@2\n{OPERATION} ValDropCadObjInst\n{PARTNUMBER} BOLT\n\n",
      "x3ValidateCadNodes");
  EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS"), "1");
  EXPECT_EQ(answer.Find("0")->Get("VALIDATE_SUCCESS") + answer.Find("1")->Get("VALIDATE_SUCCESS") +
                answer.Find("2")->Get("VALIDATE_SUCCESS"),
            "110");
  EXPECT_NE(answer.Find("2")->Get("VALIDATE_MSG").find("BOLT"), std::string::npos);
}

TEST_F(SaveAction, TheWorkbenchIsCreatedOnceAndHoldsItsChildren) {
  std::string request =
      "@ROOT\n{ACTION_SUCCESS} 0\n{VIRTUALROOT} 1\n{VRSESSOBID} \n{SUBASSEMBLIES} {0}\n\n"
      "@0\n{OBID} " +
      Show("GEARBOX")["obid"].get<std::string>() + "\n{PARTNUMBER} GEARBOX\n{INSTANCENAME} GEARBOX.1\n\n";
  ExchangeFile first = Send(request);
  const pdmsim::ExchangeObject& root = *first.Find("ROOT");
  ASSERT_EQ(root.Get("ACTION_SUCCESS"), "1");
  EXPECT_EQ(root.Get("NEWFILENAME"), root.Get("PARTNUMBER") + ".CADProduct");
  Json workbench = Show(root.Get("PARTNUMBER"));
  EXPECT_EQ(workbench["obid"], root.Get("WBSESSOBID"));
  EXPECT_EQ(workbench["children"][0]["partnumber"], "GEARBOX");

  Replace(request, "{VRSESSOBID} ", "{VRSESSOBID} " + root.Get("WBSESSOBID"));
  const std::string items = harness.Admin({"vault", "ls"});
  ExchangeFile second = Send(request);
  EXPECT_EQ(second.Find("ROOT")->Get("WBSESSOBID"), root.Get("WBSESSOBID"));
  EXPECT_FALSE(second.Find("ROOT")->Has("NEWFILENAME"));
  EXPECT_EQ(harness.Admin({"vault", "ls"}), items);
}

}  // namespace
