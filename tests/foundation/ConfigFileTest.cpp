#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>

#include "ScopedEnv.h"
#include "ZRBConfigFileReader.h"
#include "ZRBConfigTopicManager.h"

namespace {

const std::string kDataDir = std::string(ZRB_TEST_DATA_DIR) + "/config/";

std::string Names(const CADListValCADUnicodeString& list) {
  std::string out;
  for (const CADUnicodeString& s : list) out += (out.empty() ? "" : ",") + s.str();
  return out;
}

TEST(ConfigFileReader, ReadsEveryElementOfACompleteFile) {
  std::string error;
  std::optional<ZRBConfigData> data = ZRBConfigFileReader::ReadFile(kDataDir + "site.xml", error);
  ASSERT_TRUE(data) << error;
  EXPECT_EQ(error, "");

  ZRBConfigTopicManager config;
  config.SetConfigData(std::move(*data));

  CADListValCADUnicodeString names, displays, props;
  EXPECT_EQ(config.GetPartCategories(names, displays), 3);
  EXPECT_EQ(Names(names), "MECH,ELEC,RAW");
  EXPECT_EQ(Names(displays), "Mechanical part,Electrical part,RAW");  // display defaults to the name
  CADUnicodeString text;
  EXPECT_EQ(config.GetDefaultPartCategory(text), 1);
  EXPECT_EQ(text, CADUnicodeString("MECH"));
  EXPECT_EQ(config.GetPartCategoryDisplayName("ELEC", text), 1);
  EXPECT_EQ(text, CADUnicodeString("Electrical part"));
  EXPECT_EQ(config.GetPartCategoryDisplayName("NONE", text), 0);
  EXPECT_EQ(text, CADUnicodeString(""));
  EXPECT_EQ(config.GetUserDefProps(props), 2);
  EXPECT_EQ(Names(props), "Supplier,CostCentre");

  const ZRBFeatureExtension* hole = config.GetFirstFeatureExtension();
  ASSERT_NE(hole, nullptr);
  EXPECT_EQ(hole->GetContainerID(), CADUnicodeString("PDMContainer"));
  EXPECT_EQ(hole->GetClientID(), CADUnicodeString("PDMClient"));
  EXPECT_EQ(hole->GetType(), CADUnicodeString("Hole"));
  std::string attrs;
  for (auto* a = config.GetFirstFeatureExtensionAttribute(hole); a; a = a->GetNext())
    attrs += a->GetName().str() + "=" + a->GetFormat().str() + ";";
  EXPECT_EQ(attrs, "Diameter=%.3f;Threaded=;Label=12;");
  const ZRBFeatureExtension* weld = hole->GetNext();
  ASSERT_NE(weld, nullptr);
  EXPECT_EQ(weld->GetType(), CADUnicodeString("Weld"));
  EXPECT_EQ(config.GetFirstFeatureExtensionAttribute(weld), nullptr);
  EXPECT_EQ(weld->GetNext(), nullptr);
  EXPECT_EQ(config.GetFirstFeatureExtensionAttribute(nullptr), nullptr);

  EXPECT_EQ(config.GetConfigBehaviorManager()->GetListOfConfigurableBehaviors().Size(), 3);
}

TEST(ConfigFileReader, RefusesFaultyFilesWithTheLineAndReason) {
  struct Case {
    const char* xml;
    const char* error;
  };
  const Case cases[] = {
      {"", "no element found"},
      {"<ZRBConfig>", "line 1: no element found"},
      {"<Config/>", "root element must be <ZRBConfig>"},
      {"<ZRBConfig version=\"2\"/>", "unsupported version \"2\""},
      {"<ZRBConfig>\n<Partcategory name=\"A\"/>\n</ZRBConfig>", "line 2: unknown element <Partcategory>"},
      {"<ZRBConfig><PartCategory name=\"A\" colour=\"red\"/></ZRBConfig>", "unknown attribute \"colour\""},
      {"<ZRBConfig><PartCategory display=\"A\"/></ZRBConfig>", "<PartCategory> needs a non-empty \"name\""},
      {"<ZRBConfig><PartCategory name=\"A\"/><PartCategory name=\"A\"/></ZRBConfig>", "configured twice"},
      {"<ZRBConfig><PartCategory name=\"A\" default=\"1\"/><PartCategory name=\"B\" default=\"1\"/></ZRBConfig>",
       "second default part category \"B\""},
      {"<ZRBConfig><PartCategory name=\"A\" default=\"yes\"/></ZRBConfig>", "must be 0 or 1"},
      {"<ZRBConfig><FileCategory type=\"CADPart\"/></ZRBConfig>", "needs a non-empty \"category\""},
      {"<ZRBConfig><FileCategory type=\"CADPart\" category=\"P\" link=\"2\"/></ZRBConfig>", "must be 0 or 1"},
      {"<ZRBConfig><Behavior type=\"Embedded\" behavior=\"SkipNode\"/></ZRBConfig>", "behavior type \"Embedded\""},
      {"<ZRBConfig><Behavior type=\"ProductNodeBehavior\"/></ZRBConfig>", "needs a non-empty \"behavior\""},
      {"<ZRBConfig><Attribute name=\"A\"/></ZRBConfig>", "unknown element <Attribute>"},
      {"<ZRBConfig><FeatureExtension container=\"c\" client=\"k\" type=\"t\"><Behavior type=\"ProductNodeBehavior\" "
       "behavior=\"b\"/></FeatureExtension></ZRBConfig>",
       "<Behavior> is not allowed inside <FeatureExtension>"},
      {"<ZRBConfig><UserDefProperty name=\"A\"><UserDefProperty name=\"B\"/></UserDefProperty></ZRBConfig>",
       "not allowed inside <UserDefProperty>"},
      {"<ZRBConfig>Supplier</ZRBConfig>", "text is not allowed inside <ZRBConfig>"},
      {"<ZRBConfig><UserDefProperty name=\"A\" name=\"B\"/></ZRBConfig>", "duplicate attribute"},
      {"<ZRBConfig><UserDefProperty name=\"A\"></ZRBConfig>", "mismatched tag"},
      {"<?xml version=\"1.0\"?><!DOCTYPE ZRBConfig [<!ENTITY a \"aaaa\">]><ZRBConfig/>", "DOCTYPE is not allowed"},
      {"<ZRBConfig/><ZRBConfig/>", "junk after document element"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ZRBConfigFileReader::ReadText(c.xml, error)) << c.xml;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.xml << "\n  gave: " << error;
  }
}

TEST(ConfigFileReader, AcceptsEmptyConfigurationsCommentsAndOtherEncodings) {
  const char* good[] = {
      "<ZRBConfig/>",
      "<?xml version=\"1.0\"?>\n<!-- nothing yet -->\n<ZRBConfig>\n  \n</ZRBConfig>\n",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ZRBConfig><UserDefProperty "
      "name=\"Gr\xFC\xDF\x65\"/></ZRBConfig>",
  };
  for (const char* xml : good) {
    std::string error;
    EXPECT_TRUE(ZRBConfigFileReader::ReadText(xml, error)) << xml << ": " << error;
  }
  std::string error;
  auto latin1 = ZRBConfigFileReader::ReadText(good[2], error);
  ASSERT_TRUE(latin1);
  EXPECT_EQ(latin1->UserDefProps().at(0), "Grüße");  // handed out as UTF-8
}

class ConfigFileLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    config_.SetDiagnosticStream(&out_);
    config_.SetDebug(1);
  }
  ScopedEnv env_;
  ZRBConfigTopicManager config_;
  std::ostringstream out_;
};

TEST_F(ConfigFileLoading, MissingOrFaultyFileLeavesNoDataAndOneLine) {
  struct Case {
    std::string path;
    const char* reason;
  };
  const Case cases[] = {
      {kDataDir + "does-not-exist.xml", "cannot open: No such file or directory"},
      {kDataDir + "typo.xml", "line 3: unknown element <Partcategory>"},
      {kDataDir, "cannot read"},  // a directory
  };
  for (const Case& c : cases) {
    ASSERT_EQ(config_.LoadConfigFile((kDataDir + "site.xml").c_str()), 1);
    out_.str("");
    EXPECT_EQ(config_.LoadConfigFile(c.path.c_str()), 0) << c.path;
    // No half configuration: what the good file gave is gone too.
    CADListValCADUnicodeString names, displays;
    EXPECT_EQ(config_.GetPartCategories(names, displays), 0);
    EXPECT_EQ(config_.GetFirstFeatureExtension(), nullptr);
    EXPECT_EQ(config_.GetConfigBehaviorManager()->GetListOfConfigurableBehaviors().Size(), 0);
    EXPECT_NE(config_.GetLoadError().find(c.reason), std::string::npos) << config_.GetLoadError();
    const std::string text = out_.str();
    EXPECT_EQ(text, "ZRB: ZRBConfigTopicManager: configuration file '" + c.path + "' not used (" +
                        config_.GetLoadError() + "); no categories, extensions or behaviors are configured\n");
  }
}

TEST_F(ConfigFileLoading, WritesNothingWithTheSwitchOffAndNothingWithoutAFile) {
  config_.SetDebug(0);
  EXPECT_EQ(config_.LoadConfigFile((kDataDir + "typo.xml").c_str()), 0);
  config_.SetDebug(1);
  EXPECT_EQ(config_.LoadConfigFile(nullptr), 1);
  EXPECT_EQ(config_.LoadConfigFile(""), 1);
  EXPECT_EQ(config_.GetLoadError(), "");
  EXPECT_EQ(out_.str(), "");
}

TEST_F(ConfigFileLoading, DebugSwitchAndFileNamedAtLoadAreRead) {
  env_.Set("ZRB_DEBUG", "ON");
  env_.Set("ZRB_CONFIG_FILE", (kDataDir + "site.xml").c_str());
  ZRBConfigTopicManager loaded;
  EXPECT_EQ(loaded.GetDebug(), 1);
  CADUnicodeString category;
  EXPECT_EQ(loaded.GetDefaultPartCategory(category), 1);
  EXPECT_EQ(category, CADUnicodeString("MECH"));
  loaded.Unload();
  EXPECT_EQ(loaded.GetDefaultPartCategory(category), 0);
  env_.Set("ZRB_DEBUG", "0");
  ZRBConfigTopicManager off;
  EXPECT_EQ(off.GetDebug(), 0);
  off.SetDebug(5);
  EXPECT_EQ(off.GetDebug(), 5);
  // Readers that know only the service's layout read the first int.
  EXPECT_EQ(reinterpret_cast<const std::atomic<int>*>(&off)->load(), 5);
}

TEST_F(ConfigFileLoading, DumpShowsOverridesUnderTheirFullNames) {
  config_.SetModulePrefix("SAM_");
  config_.ChangeEnvVar("ZRBXMAP", "/x", 1);
  config_.ChangeEnvVar("CONNECTPORT", nullptr, 0);
  std::ostringstream dump;
  config_.Dump(dump);
  EXPECT_NE(dump.str().find("  changed variable: CONNECTPORT (not set)\n  changed variable: SAM_ZRBXMAP=\"/x\"\n"),
            std::string::npos)
      << dump.str();
}

}  // namespace
