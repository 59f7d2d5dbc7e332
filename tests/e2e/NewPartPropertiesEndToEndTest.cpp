// A part created by a save ends with the properties a read of it gives; saving all parts leaves no stale vis or
// check-seal mark behind. Against the reference PDM and a fresh session.
#include <filesystem>
#include <nlohmann/json.hpp>

#include "CADDocumentServices.h"
#include "CADIPrdProperties.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBAfxCache.h"
#include "ZRBPropertyManager.h"
#include "ZRBUpdateAllPartsCmd.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class NewPartPropertiesEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    ASSERT_TRUE(root_ = LoadIntoCad("Assembly"));
  }
  void TearDown() override {
    root_ = nullptr;
    PdmEndToEndFixture::TearDown();
  }
  void Save(ZRBUpdateCmd* command) {
    command->Activate(nullptr, nullptr);
    Loop().RunPending();
  }
  CADIProduct_var root_;
};

// What a created part and the same part read by a fresh session must agree on, after a family letter: 'r'
// reference, 'i' instance property, 'n' the file name of a reference property (the sessions' exchange maps
// differ), 'f' a file property of the part's document being set.
constexpr std::string_view kAgreements[] = {
    "rZRB_OBID",       "rZRB_CLASSNAME",   "rZRB_DB_NAME",         "rZRB_CHANGEABLE",          "rZRB_ISCOMPONENT",
    "rZRB_PARTNUMBER", "rZRB_REVISION",    "rZRB_NOMENCLATURE",    "rZRB_IS_VISUALIZATION",    "nZRB_EXTERNAL_LOCATION",
    "iZRB_RELATION",   "iZRB_REL_DB_NAME", "iZRB_INSTANCE_IN_ZRB", "fZRB_LAST_KNOWN_MOD_TIME", "rZRB_DOC_OBID"};

TEST_F(NewPartPropertiesEndToEndTest, ACreatedPartHasTheReferenceAndFilePropertiesOfAReadOne) {
  CADDocument* part = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
  CADIPrdProperties_var(part->GetRootProduct())->SetNomenclature("Washer");
  CADIPrdProperties_var(part->GetRootProduct())->SetRevision("B");
  CADIProduct_var added;
  ASSERT_EQ(root_->AddExternalComponent(part, added), S_OK);
  Save(new ZRBUpdateCmd());

  const std::string fresh = Root() + "/fresh", name = fs::path(part->StorageName().str()).filename().string();
  fs::create_directories(fresh + "/xmap");
  WriteFile(fresh + "/read.zrbs", "shell pdmsim load-into-cad Assembly\nwait idle 30\n");
  const ToolRun run = RunBuiltTool("zrbsession", {"--xmap", fresh + "/xmap", "--settings", fresh + "/s", "--workdir",
                                                  fresh, "--script", fresh + "/read.zrbs", "--dump", fresh + "/d"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Json dump = Json::parse(ReadFile(fresh + "/d"));
  Json read;
  for (const Json& child : dump["products"][0]["children"])
    if (child["instance"] == SampleSession::InstanceName(added)) read = child;
  ASSERT_TRUE(read.is_object()) << dump.dump();
  for (const std::string_view agreement : kAgreements) {
    const char family = agreement[0];
    const std::string property(agreement.substr(1));
    std::string mine = (family == 'i' ? GlobPropertyManager.GetInstanceProperty(root_, added, property)
                                      : GlobPropertyManager.GetReferenceProperty(added, property))
                           .str();
    Json theirs = read[family == 'i' ? "instanceProperties" : "properties"].value(property, "");
    if (family == 'n') mine = fs::path(mine).filename(), theirs = fs::path(theirs.get<std::string>()).filename();
    if (family == 'f') {
      mine = GlobPropertyManager.IsFilePropertySet(part->StorageName(), property) ? "set" : "";
      for (const auto& [path, properties] : dump["fileProperties"].items())
        if (fs::path(path).filename() == name && properties.contains(property)) theirs = "set";
    }
    EXPECT_NE(theirs, "") << property;
    EXPECT_EQ(mine, theirs) << property;
  }
}

TEST_F(NewPartPropertiesEndToEndTest, SavingAllPartsDropsTheCachedVisAndAStaleSealAndKeepsAFailedPartModified) {
  Dialogs().SetSetting("CADCache", "CacheActivation", 1);
  SetVariable("ZRB_READ_QCKSEAL", "ON");
  SetVariable("ZRB_QCK_TIMESTAMP", "ON");
  CADUnicodeString cache;
  ASSERT_EQ(ZRBAfxCache::GetLocalCacheXmapDir(cache), S_OK);
  const std::string vis = cache.str() + "/Bolt.CADPart.2026-01-01-00.00.00.vis";
  fs::create_directories(cache.str());
  WriteFile(vis, "vis");
  const CADUnicodeString bolt(XmapFile("Bolt.CADPart")), plate(XmapFile("Plate.CADPart"));
  GlobPropertyManager.SetFileProperty(bolt, "ZRB_QCKFILE_UPTODATE", "1");
  Pdm("fault", "set", "x3UpdateFromFile", "--fail-for", "Plate", "--times", "1");
  for (const CADUnicodeString& path : {bolt, plate}) CADDocumentServices::GetDocumentInSession(path)->SetDirty(1);
  Save(new ZRBUpdateAllPartsCmd());

  EXPECT_FALSE(Exists(vis));
  EXPECT_EQ(JournalRequest(Journal().back().seq).find("{QCK_SEAL_UPTODATE} 1"), std::string::npos);
  EXPECT_EQ(CADDocumentServices::GetDocumentInSession(bolt)->IsDirty(), 0u);
  EXPECT_NE(CADDocumentServices::GetDocumentInSession(plate)->IsDirty(), 0u) << "the PDM refused it";
  SetVariable("ZRB_READ_QCKSEAL", "");
  SetVariable("ZRB_QCK_TIMESTAMP", "");
}

}  // namespace
