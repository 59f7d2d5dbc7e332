// Links and renames the reference PDM answers otherwise than the plain case, and a black box read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "ExchangeFile.h"
#include "PdmSimHarness.h"

namespace {
using pdmsimtest::PdmSimHarness;

class LinkRename : public ::testing::Test {
 protected:
  void SetUp() override { harness.FillSampleVault(); }
  std::string Show(const std::string& pn) { return harness.Admin({"vault", "show", pn, "--json"}); }
  std::string Obid(const std::string& pn) { return nlohmann::json::parse(Show(pn))["obid"]; }
  pdmsim::ExchangeFile Send(const std::string& text, const std::string& action) {
    PdmSimHarness::WriteFile(harness.XmapFile("ifile.zrb"), text);
    EXPECT_EQ(harness.Session(action, harness.XmapFile("ifile.zrb")).exitCode, 0);
    return pdmsim::ExchangeFile::Parse(PdmSimHarness::ReadFile(harness.XmapFile("ifile.zrb")));
  }
  PdmSimHarness harness;
};

TEST_F(LinkRename, UnknownRefusedAndRenamedByNameAnswerWhatTheVaultHolds) {
  for (const char* file : {"x.CADPart", "x.CADProduct"}) PdmSimHarness::WriteFile(harness.XmapFile(file), "x\n");
  const std::string link = "\n{CREATE_PART_IN_PDM} 2\n{LINK_IN_PDM} 1\n{UPD_GEOMETRY} 1\n{PATH} x.CAD";
  const std::string bolt = "{OBID} " + Obid("BOLT") + "\n{PARTNUMBER} BOLT\n{CAD_ORIG_MATRIX_INDEX} -1\n";
  struct Case {
    std::string what, parent, node, answer;  // ROOT code, CREATE_PART_SUCCESS LINK_SUCCESS, INSTANCENAME
    bool kept;                               // the parent's children changed
  } cases[] = {{"unknown: created", "SHAFT-ASM", "{PARTNUMBER} NEW\n{INSTANCENAME} N.1" + link + "Part", "1 10 N.1", 1},
               {"a drawing", "SHAFT-ASM", "{PARTNUMBER} BOLT-DRW\n{INSTANCENAME} D.1" + link + "Part", "3 00 D.1", 0},
               {"a cycle", "SHAFT-ASM", "{PARTNUMBER} GEARBOX\n{INSTANCENAME} G.1" + link + "Product", "3 00 G.1", 0},
               {"by old name", "GEARBOX", bolt + "{CAD_ORIG_INSTANCENAME} BOLT.1\n{INSTANCENAME} B.9", "1  B.9", 1},
               {"name taken", "GEARBOX", bolt + "{CAD_ORIG_INSTANCENAME} B.9\n{INSTANCENAME} BOLT.2", "3  B.9", 0}};
  for (const Case& c : cases) {
    const std::string before = Show(c.parent);
    const pdmsim::ExchangeFile answer =
        Send("@ROOT\n{ACTION_SUCCESS} 0\n{OBID} " + Obid(c.parent) + "\n{SUBASSEMBLIES} {0}\n\n@0\n" + c.node + "\n\n",
             "x3UpdateFromFile");
    const pdmsim::ExchangeObject& node = *answer.Find("0");
    EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS") + " " + node.Get("CREATE_PART_SUCCESS") +
                  node.Get("LINK_SUCCESS") + " " + node.Get("INSTANCENAME"),
              c.answer)
        << c.what;
    EXPECT_EQ(Show(c.parent) != before, c.kept) << c.what;
  }
}

TEST_F(LinkRename, AReadDeliversTheBlackBoxTheVaultKeeps) {
  PdmSimHarness::WriteFile(harness.XmapFile("Box.CADProduct"), "box\n");
  PdmSimHarness::WriteFile(harness.XmapFile("BoxPart.CADPart"), "box part\n");
  Send("@ROOT\n{BLACKBOX} B\n\n@B\n{FATHERPRODUCT_OBID} " + Obid("GEARBOX") +
           "\n{CURRENT_ROOT_FILES} {Box.CADProduct}\n{CURRENT_SUB_FILES} {BoxPart.CADPart}\n"
           "{FILES_TO_BE_ADDED} {F1} {F2}\n\n@F1\n{FILENAME} Box.CADProduct\n\n@F2\n{FILENAME} BoxPart.CADPart\n\n",
       "x3AttachBlackBoxCmd");
  std::filesystem::remove(harness.XmapFile("BoxPart.CADPart"));
  harness.Admin({"load-into-cad", "--no-start", "GEARBOX"});
  ASSERT_EQ(harness.Session("x3WriteZRBFile", harness.WriteReadRequest()).exitCode, 0);
  const auto read = pdmsim::ExchangeFile::Parse(PdmSimHarness::ReadFile(harness.XmapFile("xfile.zrb")));
  const pdmsim::ExchangeObject* box = read.Find(read.Find(Obid("GEARBOX"))->Get("ATTACHED_BLACKBOX"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetList("CURRENT_ROOT_FILES"), std::vector<std::string>{"Box.CADProduct"});
  EXPECT_EQ(box->GetList("ATTACHED_FILEOBJECT_FILENAMES"),
            (std::vector<std::string>{"Box.CADProduct", "BoxPart.CADPart"}));
  EXPECT_EQ(read.Find(box->GetList("ATTACHED_FILEOBJECTS")[1])->Get("OBID").rfind("BBF", 0), 0u);
  EXPECT_EQ(PdmSimHarness::ReadFile(harness.XmapFile("BoxPart.CADPart")), "box part\n");
}

}  // namespace
