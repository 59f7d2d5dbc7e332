// Links, renamed instances and black boxes against the sample vault: what each request answers and what the
// vault keeps (no new item for a link, a relation keeping its identity through a rename), and a black box read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "ExchangeFile.h"
#include "PdmSimHarness.h"

namespace {
using pdmsimtest::PdmSimHarness;
using Json = nlohmann::json;

class LinkRename : public ::testing::Test {
 protected:
  void SetUp() override { harness.FillSampleVault(); }
  long Items() {
    const std::string ls = harness.Admin({"vault", "ls"});
    return std::count(ls.begin(), ls.end(), '\n');
  }
  Json Show(const std::string& pn) { return Json::parse(harness.Admin({"vault", "show", pn, "--json"})); }
  std::string Rel(const std::string& parent, const std::string& instance) {
    const Json item = Show(parent);
    for (const Json& child : item["children"])
      if (child["instance"] == instance) return child["relation"];
    return "";
  }
  // One request below "ROOT" (the item `parent`) with a single child node `0` made of `slots`.
  pdmsim::ExchangeFile Send(const std::string& parent, const std::string& slots,
                            const std::string& action = "x3UpdateFromFile") {
    const std::string text = action == "x3UpdateFromFile"
                                 ? "@ROOT\n{ACTION_SUCCESS} 0\n{OBID} " + Show(parent)["obid"].get<std::string>() +
                                       "\n{SUBASSEMBLIES} {0}\n\n@0\n" + slots + "\n"
                                 : slots;
    PdmSimHarness::WriteFile(harness.XmapFile("ifile.zrb"), text);
    EXPECT_EQ(harness.Session(action, harness.XmapFile("ifile.zrb")).exitCode, 0);
    return pdmsim::ExchangeFile::Parse(PdmSimHarness::ReadFile(harness.XmapFile("ifile.zrb")));
  }
  PdmSimHarness harness;
};

TEST_F(LinkRename, ALinkPlacesTheExistingItemAndARefusedOneMakesNothing) {
  PdmSimHarness::WriteFile(harness.XmapFile("x.CADPart"), "designer's copy\n");
  PdmSimHarness::WriteFile(harness.XmapFile("x.CADProduct"), "designer's copy\n");
  struct Case {
    const char *what, *partNumber, *file, *parent, *answer;  // answer: CREATE_PART_SUCCESS LINK_SUCCESS ROOT code
  } cases[] = {{"known part", "BOLT", "x.CADPart", "SHAFT-ASM", "111"},
               {"sent again", "BOLT", "x.CADPart", "SHAFT-ASM", "111"},
               {"unknown part number: created", "NEWPART", "x.CADPart", "SHAFT-ASM", "101"},
               {"a drawing as a part", "BOLT-DRW", "x.CADPart", "SHAFT-ASM", "003"},
               {"a cycle", "GEARBOX", "x.CADProduct", "SHAFT-ASM", "003"}};
  for (const Case& c : cases) {
    const long items = Items();
    const pdmsim::ExchangeFile answer =
        Send(c.parent, std::string("{PARTNUMBER} ") + c.partNumber + "\n{INSTANCENAME} " + c.partNumber +
                           ".7\n{CREATE_PART_IN_PDM} 2\n{LINK_IN_PDM} 1\n{UPD_GEOMETRY} 1\n{PATH} " + c.file);
    const pdmsim::ExchangeObject& node = *answer.Find("0");
    EXPECT_EQ(node.Get("CREATE_PART_SUCCESS") + node.Get("LINK_SUCCESS") + answer.Find("ROOT")->Get("ACTION_SUCCESS"),
              c.answer)
        << c.what;
    EXPECT_EQ(Rel(c.parent, std::string(c.partNumber) + ".7"), c.answer[0] == '1' ? node.Get("DOCREL_ID") : "")
        << c.what;
    // Only the unknown part number makes an item.
    EXPECT_EQ(Items() - items, c.answer == std::string("101") ? 1 : 0) << c.what;
  }
}

TEST_F(LinkRename, ARenameKeepsTheRelationAndARefusedOneKeepsTheName) {
  const std::string bolt1 = Rel("GEARBOX", "BOLT.1");
  struct Case {
    const char *what, *relation, *from, *to, *vaultName, *code;
  } cases[] = {{"by relation", "{REL_OBID} @\n", "BOLT.1", "BOLT.A", "BOLT.A", "1"},
               {"by old name", "", "BOLT.A", "BOLT.B", "BOLT.B", "1"},
               {"a name another child holds", "{REL_OBID} @\n", "BOLT.B", "BOLT.2", "BOLT.B", "3"},
               {"index only", "{REL_OBID} @\n", "BOLT.B", "BOLT.B", "BOLT.B", "1"}};
  for (const Case& c : cases) {
    std::string relation = c.relation;
    if (!relation.empty()) relation.replace(relation.find('@'), 1, bolt1);
    const pdmsim::ExchangeFile answer =
        Send("GEARBOX", "{OBID} " + Show("BOLT")["obid"].get<std::string>() + "\n{PARTNUMBER} BOLT\n" + relation +
                            "{INSTANCENAME} " + c.to + "\n{CAD_ORIG_INSTANCENAME} " + c.from +
                            "\n{CAD_ORIG_MATRIX_INDEX} -1\n");
    EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS"), c.code) << c.what;
    EXPECT_EQ(answer.Find("0")->Get("INSTANCENAME"), c.vaultName) << c.what;
    EXPECT_EQ(Rel("GEARBOX", c.vaultName), bolt1) << c.what;
  }
}

TEST_F(LinkRename, AReadDeliversTheBlackBoxTheVaultKeeps) {
  PdmSimHarness::WriteFile(harness.XmapFile("Box.CADProduct"), "box\n");
  PdmSimHarness::WriteFile(harness.XmapFile("BoxPart.CADPart"), "box part\n");
  Send("GEARBOX",
       "@ROOT\n{BLACKBOX} B\n\n@B\n{FATHERPRODUCT_OBID} " + Show("GEARBOX")["obid"].get<std::string>() +
           "\n{CURRENT_ROOT_FILES} {Box.CADProduct}\n{CURRENT_SUB_FILES} {BoxPart.CADPart}\n"
           "{FILES_TO_BE_ADDED} {F1} {F2}\n\n@F1\n{FILENAME} Box.CADProduct\n\n@F2\n{FILENAME} BoxPart.CADPart\n\n",
       "x3AttachBlackBoxCmd");
  std::filesystem::remove(harness.XmapFile("BoxPart.CADPart"));
  harness.Admin({"load-into-cad", "--no-start", "GEARBOX"});
  ASSERT_EQ(harness.Session("x3WriteZRBFile", harness.WriteReadRequest()).exitCode, 0);
  const auto read = pdmsim::ExchangeFile::Parse(PdmSimHarness::ReadFile(harness.XmapFile("xfile.zrb")));
  const pdmsim::ExchangeObject* box =
      read.Find(read.Find(Show("GEARBOX")["obid"].get<std::string>())->Get("ATTACHED_BLACKBOX"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetList("CURRENT_ROOT_FILES"), std::vector<std::string>{"Box.CADProduct"});
  EXPECT_EQ(box->GetList("ATTACHED_FILEOBJECT_FILENAMES"),
            (std::vector<std::string>{"Box.CADProduct", "BoxPart.CADPart"}));
  EXPECT_EQ(read.Find(box->GetList("ATTACHED_FILEOBJECTS")[1])->Get("OBID").rfind("BBF", 0), 0u);
  EXPECT_EQ(PdmSimHarness::ReadFile(harness.XmapFile("BoxPart.CADPart")), "box part\n");
}

}  // namespace
