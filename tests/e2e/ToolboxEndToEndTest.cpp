// The toolbox functions against the reference PDM on a part read from it: the result each situation gives, the
// value that reaches the vault, and the example toolbox loading the module on its own.
#include <string>
#include <vector>

#include "CADDlgNotify.h"
#include "PdmEndToEndFixture.h"
#include "ZRBLinxApi.h"
#include "ZRBPropertyManager.h"
#include "ZRBToolboxApi.h"

namespace {

class ToolboxEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    Pdm("vault", "attr", "Bolt", "TITLE=Hex bolt M8");
    ASSERT_TRUE(bolt_ = LoadIntoCad("Bolt"));
  }
  std::string Identity(const char* name) { return GlobPropertyManager.GetReferenceProperty(bolt_, name).str(); }
  std::string Get(const char* name, int* result, size_t size = 256) {
    std::vector<char> buffer(size + 8, '#');
    *result = ZRBGetPartAttributeFromPdm(bolt_.get(), name, buffer.data(), size);
    EXPECT_EQ(buffer[size], '#') << "nothing past the caller's buffer";
    return std::string(buffer.data());
  }

  CADIProduct_var bolt_;
};

TEST_F(ToolboxEndToEndTest, ResultRules) {
  const std::string stale = XmapFile("data.zrb");
  const std::string supplied = Root() + "/calc.txt";
  WriteFile(supplied, "torque 25 Nm\n");
  struct Case {
    const char* what;
    const char* fault;  // pdmsim fault options for the one call, "" for none
    int call;           // 0 get, 1 put, 2 supply file
    const char* name;
    const char* value;
    int result;
    const char* got;
  };
  const std::string tooLong(ZRB_TOOLBOX_MAX_VALUE + 1, 'x');
  const Case cases[] = {
      {"a value with blanks comes back whole", "", 0, "TITLE", "", ZRB_TOOLBOX_OK, "Hex bolt M8"},
      {"a supplied value is stored", "", 1, "TITLE", "  Hex bolt M10\n", ZRB_TOOLBOX_OK, ""},
      {"and read back trimmed", "", 0, "TITLE", "", ZRB_TOOLBOX_OK, "Hex bolt M10"},
      {"an attribute the PDM lacks gives no value, not a stale one", "", 0, "WEIGHT", "", ZRB_TOOLBOX_NO_VALUE, ""},
      {"ERROR from the PDM", "--code=0", 0, "TITLE", "", ZRB_TOOLBOX_PDM_FAILED, ""},
      {"no answer at all", "--garbage", 0, "TITLE", "", ZRB_TOOLBOX_NO_ANSWER, ""},
      {"the value does not fit", "", 3, "TITLE", "", ZRB_TOOLBOX_BUFFER_TOO_SMALL, ""},
      {"a name that would break the request", "", 0, "TI\nTLE", "", ZRB_TOOLBOX_BAD_ARGUMENT, ""},
      {"an oversized value", "", 1, "TITLE", tooLong.c_str(), ZRB_TOOLBOX_BAD_ARGUMENT, ""},
      {"a supplied file", "", 2, supplied.c_str(), "calculation", ZRB_TOOLBOX_OK, ""},
      {"a file that is not there", "", 2, "/nonexistent/calc.txt", "calculation", ZRB_TOOLBOX_PDM_FAILED, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(stale, "old value");
    if (*c.fault) Pdm("fault", "set", "*", c.fault, "--times", "1");
    if (c.result == ZRB_TOOLBOX_NO_ANSWER) ExpectBox("ZRBToolboxApi.NoAnswerFromPdm", CADDlgNfyAnswerOK);
    int result = -1;
    std::string got;
    if (c.call == 0 || c.call == 3) got = Get(c.name, &result, c.call == 3 ? 5 : 256);
    if (c.call == 1) result = ZRBSupplyPartAttributeToPdm(bolt_.get(), c.name, c.value, nullptr);
    if (c.call == 2) result = ZRBSupplyAdditionalFileForPrdToPdm(bolt_.get(), c.name, c.value, nullptr);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(got, c.got);
    // A call refused before it reaches the exchange map leaves it alone; every other takes the data file along.
    EXPECT_EQ(Exists(stale), c.result == ZRB_TOOLBOX_BAD_ARGUMENT);
    Pdm("fault", "clear");
  }
  EXPECT_NE(Pdm("vault", "show", "Bolt").find("Hex bolt M10"), std::string::npos);

  // An item the PDM does not know, a part without identity, no part at all.
  int code = 0;
  GlobPropertyManager.SetReferenceProperty(bolt_, "ZRB_OBID", "NO-SUCH-ITEM");
  EXPECT_EQ(ZRBSupplyPartAttributeToPdm(bolt_.get(), "TITLE", "x", &code), ZRB_TOOLBOX_PDM_FAILED);
  EXPECT_EQ(code, 1);
  GlobPropertyManager.DeleteReferenceProperty(bolt_, "ZRB_OBID");
  EXPECT_EQ(ZRBSupplyPartAttributeToPdm(bolt_.get(), "TITLE", "x", &code), ZRB_TOOLBOX_NO_IDENTITY);
  EXPECT_EQ(ZRBSupplyPartAttributeToPdm(nullptr, "TITLE", "x", &code), ZRB_TOOLBOX_NO_SUBJECT);
  EXPECT_EQ(ZRBInZRBArchive(nullptr), ZRB_IN_ARCHIVE_NO_PRODUCT);
}

TEST_F(ToolboxEndToEndTest, ExampleToolboxWritesAndReadsThroughTheLoadedModule) {
  const ToolRun run = RunBuiltTool(
      "zrbtoolbox", {"--obid", Identity("ZRB_OBID"), "--class", Identity("ZRB_CLASSNAME"), "--db",
                     Identity("ZRB_DB_NAME"), "--attribute", "MATERIAL", "--set", "Steel 8.8 zinc plated"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "MATERIAL=Steel 8.8 zinc plated\n");
  const std::vector<std::string> words = JournalActions();
  ASSERT_GE(words.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(words.end() - 2, words.end()),
            (std::vector<std::string>{"x3PutPartAttributeApi", "x3GetPartAttributeApi"}));
}

TEST(LinxApiLists, BraceEntries) {
  const struct {
    const char* text;
    std::vector<std::string> entries;
  } cases[] = {{"{}{X}", {"", "X"}}, {"X", {"X"}}, {"", {}}, {"{a b}{c}", {"a b", "c"}}};
  for (const auto& c : cases) {
    std::vector<std::string> got;
    for (const CADString& entry : ZRBLinxApi::GetValuesOfList(c.text)) got.push_back(entry.str());
    EXPECT_EQ(got, c.entries) << c.text;
  }
}

}  // namespace
