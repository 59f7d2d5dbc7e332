// One save that links an item the PDM already holds under a second parent and renames an instance: the vault keeps
// one item with two parents and the renamed relation under its old identity, and a fresh session reads both back.
#include <filesystem>
#include <nlohmann/json.hpp>

#include "CADDocumentServices.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBUpdateCmd.h"

namespace {
using nlohmann::json;

class LinkRenameEndToEndTest : public PdmEndToEndFixture {
 protected:
  void TearDown() override {
    g_ZRBConfig.SetConfigData(ZRBConfigData());
    PdmEndToEndFixture::TearDown();
  }
  json Show(const std::string& partNumber) { return json::parse(Pdm("vault", "show", partNumber, "--json")); }
  static std::string Relation(const json& item, const std::string& partNumber) {
    for (const json& child : item["children"])
      if (child["partnumber"] == partNumber || child["instance"] == partNumber) return child["relation"];
    return "";
  }
};

TEST_F(LinkRenameEndToEndTest, ALinkedItemGainsAParentAndARenamedInstanceKeepsItsRelation) {
  ImportSampleSession();
  WriteFile(Root() + "/Spacer.CADPart", "kept by the PDM\n");
  WriteFile(Root() + "/Kit.CADProduct", "kit\n");
  Pdm("vault", "add-item", "Spacer", "--file", Root() + "/Spacer.CADPart");
  Pdm("vault", "add-item", "Kit", "--file", Root() + "/Kit.CADProduct");
  Pdm("vault", "relate", "Kit", "Spacer");
  const CADIProduct_var root = LoadIntoCad();
  ASSERT_TRUE(root);
  const std::string bracket2 = Relation(Show("Assembly"), "Bracket.2");

  // Parts of this category are linked to the PDM's item of their part number rather than created.
  ZRBConfigData config;
  config.AddFileCategory({"CADPart", "", "Bought", 1});
  g_ZRBConfig.SetConfigData(std::move(config));
  CADDocument* spacer = nullptr;
  CADIProduct_var spacerRoot, added;
  ASSERT_EQ(CADDocumentServices::New("CADPart", spacer), S_OK);
  ASSERT_EQ(ZRBPSNTreeUtil::GetRootProductFromDocument(spacer, &spacerRoot), S_OK);
  spacerRoot->SetPartNumber("Spacer");
  ASSERT_EQ(root->AddExternalComponent(spacer, added), S_OK);
  ASSERT_EQ(GlobPropertyManager.SetInstanceName(SampleSession::Child(root, "Bracket.2"), "Bracket.9"), 1);
  // Bracket.2 renamed keeps its relation: no removal question (an unexpected box fails the test).
  (new ZRBUpdateCmd())->Activate(nullptr, nullptr);
  Loop().RunPending();

  const json assembly = Show("Assembly");
  EXPECT_EQ(Relation(assembly, "Bracket.9"), bracket2);
  EXPECT_NE(Relation(Show("Kit"), "Spacer"), "");
  EXPECT_EQ(Relation(assembly, "Spacer"), GlobPropertyManager.GetInstanceProperty(root, added, "ZRB_RELATION").str());
  EXPECT_EQ(Show("Spacer")["obid"], GlobPropertyManager.GetReferenceProperty(added, "ZRB_OBID").str());

  // A fresh session with an empty exchange map reads the names back; the linked item brings the PDM's document.
  const std::string fresh = Root() + "/fresh";
  std::filesystem::create_directories(fresh + "/xmap");
  WriteFile(fresh + "/read.zrbs",
            "answer ok --key ZRBReadCmd.ReplacedWarning\nshell pdmsim load-into-cad Assembly\nwait idle 30\n");
  const ToolRun run =
      RunBuiltTool("zrbsession", {"--xmap", fresh + "/xmap", "--settings", fresh + "/settings", "--workdir", fresh,
                                  "--script", fresh + "/read.zrbs", "--dump", fresh + "/dump.json"});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  std::string children;
  const json dump = json::parse(ReadFile(fresh + "/dump.json"));
  for (const json& product : dump["products"])
    if (product["partNumber"] == "Assembly")
      for (const json& child : product["children"]) children += child["instance"].get<std::string>() + " ";
  EXPECT_EQ(children, "Bracket.1 Bracket.9 Fixings.1 " + SampleSession::InstanceName(added) + " ");
}

}  // namespace
