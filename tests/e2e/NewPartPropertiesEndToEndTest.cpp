// A part created by a save ends with the properties a read of it gives, and the save of all parts leaves no
// stale vis or check-seal mark behind; checked against the reference PDM and a fresh session.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIPrdProperties.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBAfxCache.h"
#include "ZRBFileUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBUpdateAllPartsCmd.h"
#include "ZRBUpdateCmd.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

class NewPartPropertiesEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    root_ = LoadIntoCad("Assembly");
    ASSERT_TRUE(root_);
  }
  void TearDown() override {
    root_ = nullptr;
    PdmEndToEndFixture::TearDown();
  }
  void Run(ZRBUpdateCmd* command) {
    command->Activate(nullptr, nullptr);
    Loop().RunPending();
  }
  CADDocument* Xmapped(const char* name) {
    return CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile(name)));
  }
  CADIProduct_var root_;
};

// (property family, name) pairs that a created part and the same part read back must agree on; "file name"
// compares only the last path component, as the two sessions have different exchange maps.
struct Agreement {
  const char* family;
  const char* name;
};
constexpr Agreement kAgreements[] = {{"reference", "ZRB_OBID"},
                                     {"reference", "ZRB_CLASSNAME"},
                                     {"reference", "ZRB_DB_NAME"},
                                     {"reference", "ZRB_CHANGEABLE"},
                                     {"reference", "ZRB_ISCOMPONENT"},
                                     {"reference", "ZRB_PARTNUMBER"},
                                     {"reference", "ZRB_REVISION"},
                                     {"reference", "ZRB_NOMENCLATURE"},
                                     {"reference", "ZRB_IS_VISUALIZATION"},
                                     {"file name", "ZRB_EXTERNAL_LOCATION"},
                                     {"instance", "ZRB_RELATION"},
                                     {"instance", "ZRB_REL_DB_NAME"},
                                     {"instance", "ZRB_INSTANCE_IN_ZRB"},
                                     {"attribute", "partNumber"},
                                     {"attribute", "nomenclature"},
                                     {"attribute", "revision"},
                                     {"file set", "ZRB_LAST_KNOWN_MOD_TIME"}};

TEST_F(NewPartPropertiesEndToEndTest, ACreatedPartHasTheReferenceAndFilePropertiesOfAReadOne) {
  CADDocument* part = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
  CADIPrdProperties_var(part->GetRootProduct())->SetNomenclature("Washer");
  CADIPrdProperties_var(part->GetRootProduct())->SetRevision("B");
  CADIProduct_var added;
  ASSERT_EQ(root_->AddExternalComponent(part, added), S_OK);
  Run(new ZRBUpdateCmd());
  ASSERT_FALSE(GlobPropertyManager.GetReferenceProperty(added, "ZRB_OBID").IsEmpty()) << "created";
  const std::string instance = SampleSession::InstanceName(added);

  const std::string fresh = Root() + "/fresh";
  fs::create_directories(fresh + "/xmap");
  WriteFile(fresh + "/read.zrbs", "shell pdmsim load-into-cad Assembly\nwait idle 30\n");
  const ToolRun run =
      RunBuiltTool("zrbsession", {"--xmap", fresh + "/xmap", "--settings", fresh + "/settings", "--workdir", fresh,
                                  "--script", fresh + "/read.zrbs", "--dump", fresh + "/dump.json"});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  const json dump = json::parse(ReadFile(fresh + "/dump.json"));
  json read;
  for (const json& product : dump["products"])
    if (product["partNumber"] == "Assembly")
      for (const json& child : product["children"])
        if (child["instance"] == instance) read = child;
  ASSERT_TRUE(read.is_object()) << dump.dump();

  const auto text = [](const json& j, const char* key) { return j.contains(key) ? j[key].get<std::string>() : ""; };
  const auto fileName = [](const std::string& path) { return fs::path(path).filename().string(); };
  const std::string created = part->StorageName().str();
  CADIPrdProperties_var attributes(added->GetReferenceProduct());
  for (const Agreement& a : kAgreements) {
    SCOPED_TRACE(std::string(a.family) + " " + a.name);
    const std::string family = a.family;
    std::string mine, theirs;
    if (family == "reference" || family == "file name") {
      mine = GlobPropertyManager.GetReferenceProperty(added, a.name).str();
      theirs = text(read["properties"], a.name);
      if (family == "file name") mine = fileName(mine), theirs = fileName(theirs);
    } else if (family == "instance") {
      mine = GlobPropertyManager.GetInstanceProperty(root_, added, a.name).str();
      theirs = text(read["instanceProperties"], a.name);
    } else if (family == "attribute") {
      CADUnicodeString value = added->GetPartNumber();
      if (std::string(a.name) == "nomenclature") attributes->GetNomenclature(value);
      if (std::string(a.name) == "revision") attributes->GetRevision(value);
      mine = value.str();
      theirs = text(read, a.name);
    } else {
      mine = GlobPropertyManager.IsFilePropertySet(part->StorageName(), a.name) ? "set" : "unset";
      theirs = "unset";
      for (const auto& [path, properties] : dump["fileProperties"].items())
        if (fileName(path) == fileName(created) && properties.contains(a.name)) theirs = "set";
    }
    EXPECT_FALSE(theirs.empty());
    EXPECT_EQ(mine, theirs);
  }
}

TEST_F(NewPartPropertiesEndToEndTest, SavingAllPartsDropsTheCachedVisAndAStaleSealAndKeepsAFailedPartModified) {
  Dialogs().SetSetting("CADCache", "CacheActivation", 1);
  SetVariable("ZRB_READ_QCKSEAL", "ON");
  SetVariable("ZRB_QCK_TIMESTAMP", "ON");
  CADUnicodeString cache;
  ASSERT_EQ(ZRBAfxCache::GetLocalCacheXmapDir(cache), S_OK);
  fs::create_directories(cache.str());
  const std::string vis = (fs::path(cache.str()) / "Bolt.CADPart.2026-01-01-00.00.00.vis").string();
  WriteFile(vis, "vis");
  const CADUnicodeString bolt(XmapFile("Bolt.CADPart"));
  GlobPropertyManager.SetFileProperty(bolt, "ZRB_QCKFILE_UPTODATE", "1");
  for (const char* name : {"Bolt.CADPart", "Plate.CADPart"}) Xmapped(name)->SetDirty(1);
  Pdm("fault", "set", "x3UpdateFromFile", "--fail-for", "Plate", "--times", "1");
  Run(new ZRBUpdateAllPartsCmd());

  EXPECT_FALSE(Exists(vis));
  EXPECT_EQ(JournalRequest(Journal().back().seq).find("{QCK_SEAL_UPTODATE} 1"), std::string::npos);
  EXPECT_FALSE(GlobPropertyManager.IsFilePropertySet(bolt, "ZRB_QCKFILE_UPTODATE"));
  EXPECT_EQ(Xmapped("Bolt.CADPart")->IsDirty(), 0u);
  EXPECT_NE(Xmapped("Plate.CADPart")->IsDirty(), 0u) << "the PDM refused it";
  SetVariable("ZRB_READ_QCKSEAL", "");
  SetVariable("ZRB_QCK_TIMESTAMP", "");
}

}  // namespace
