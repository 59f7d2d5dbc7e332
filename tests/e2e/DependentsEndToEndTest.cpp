// The dependent-documents commands against the reference PDM: the query and the get round trips, the answers
// a PDM may give (canned with `pdmsim fault set ... --answer-file` where the vault cannot produce them), and the
// exchange map around the get.
#include <filesystem>
#include <string>
#include <vector>

#include "CADCSO.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBExternalDocCmd.h"
#include "ZRBGetDepByCmd.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class DependentsEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    bolt_ = LoadIntoCad("Bolt");
    ASSERT_TRUE(bolt_);
    CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
    editor->GetCSO()->Empty();
    editor->GetCSO()->AddElement(CADPathElement(CADBaseUnknown_var(bolt_)));
    Pdm("journal", "clear");
  }

  // A query answer naming `items` (keys of "ROOT"."ITEMLIST"); the first lists the sources (file stems, with OBIDs
  // 1, 2 ... unless given as "OBID:stem").
  void CannedQuery(const char* sources, const Names& items = {"ITEM"}, const std::string& count = "") {
    const Names stems = Words(sources);
    ZRBObjectManager answer;
    ZRBObject* root = answer.CreateObject("ROOT");
    root->SetSlotValue("ACTION_SUCCESS", "1");
    for (const std::string& key : items) {
      root->SlotAppend("ITEMLIST", CADString(key));
      answer.CreateObject(CADString(key))->SetSlotValue("MODEL_INFO", "INFO");
    }
    ZRBObject* info = answer.CreateObject("INFO");
    info->SetSlotValue("SOURCE_NUMBER", CADString(count.empty() ? std::to_string(stems.size()) : count));
    for (std::size_t i = 0; i < stems.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      const auto colon = stems[i].find(':');
      const std::string obid = colon == std::string::npos ? n : stems[i].substr(0, colon);
      info->SetSlotValue(CADString("SOURCE_OBID_" + n), CADString(obid));
      info->SetSlotValue(CADString("SOURCE_CLASSNAME_" + n), "Document");
      info->SetSlotValue(CADString("SOURCE_DBNAME_" + n), "vault");
      info->SetSlotValue(CADString("SOURCE_DOC_" + n), CADString(stems[i].substr(colon + 1) + ".CADPart"));
    }
    Inject("x3GetDependencyInfo", answer, "query.zrb");
  }
  // A get answer delivering `file` (taken from the exchange map when `cached`), or failing with `code`.
  void CannedGet(const std::string& file, bool cached, const std::string& code = "1") {
    ZRBObjectManager answer;
    ZRBObject* root = answer.CreateObject("ROOT");
    root->SetSlotValue("ACTION_SUCCESS", CADString(code));
    root->SlotAppend("ITEMLIST", "F1");
    ZRBObject* object = answer.CreateObject("F1");
    object->SetSlotValue("GET_SUCCESS", "1");
    object->SetSlotValue("EXTERNAL_LOCATION", CADString(XmapFile(file)));
    object->SetSlotValue("ZRB_OBID", "OB-PLATE");
    object->SetSlotValue("DESCRIPTION", "Plate");
    if (cached) object->SetSlotValue("USE_FILE_IN_EXMAP", "1");
    Inject("x3GetDependentFiles", answer, "get.zrb");
  }
  void Inject(const char* action, ZRBObjectManager& answer, const char* name) {
    const std::string path = Root() + "/" + name;
    ASSERT_EQ(answer.Write(CADUnicodeString(path)), 1);
    Pdm("fault", "set", action, "--answer-file", path);
  }
  void Run() {
    Start(new ZRBGetDepByCmd());
    Loop().RunPending();
  }
  // The "FILENAME" slots of the get request, in request order.
  Names RequestedFiles(int seq) {
    ZRBObjectManager request;
    EXPECT_TRUE(ReadRequest(seq, request));
    Names files;
    for (const CADString& key : request.GetObject("ROOT")->GetSlotValueList("ITEMLIST"))
      files.push_back(request.GetObject(key)->GetSlotValue("FILENAME").str());
    return files;
  }
  static std::string Text(const char* key) { return MessageText(std::string("ZRBGetDepByCmd.") + key); }

  CADIProduct_var bolt_;
};

TEST_F(DependentsEndToEndTest, TheVaultsDependencyLinksAreQueriedAndTheDependentsLoaded) {
  Pdm("vault", "link-dependency", "Plate", "Bolt");  // Plate depends on Bolt
  Run();
  ASSERT_EQ(JournalActions(), (Names{"x3GetDependencyInfo", "x3GetDependentFiles"}));
  const std::vector<PdmCall> calls = Journal();
  EXPECT_NE(JournalRequest(calls[0].seq).find("{COMMAND} REQUEST_QUERY_DEPENDED_BY"), std::string::npos);
  EXPECT_EQ(RequestedFiles(calls[1].seq), Names{"Plate.CADPart"});
  EXPECT_TRUE(InSession("Plate.CADPart"));
  EXPECT_EQ(Dialogs().LastMessageCentre().status.str(), Text("UpdateOk"));
  EXPECT_FALSE(Exists(XmapFile("xmapfiles.zrb"))) << "the list goes once the answer was read";
}

TEST_F(DependentsEndToEndTest, TheExternalsOfTheSelectionAreNamedAndLoaded) {
  Pdm("vault", "link-dependency", "Bolt", "Plate");  // Bolt depends on Plate
  Start(new ZRBExternalDocCmd());
  Loop().RunPending();
  ASSERT_EQ(JournalActions(), (Names{"x3GetDependencyInfo", "x3GetDependentFiles"}));
  EXPECT_NE(JournalRequest(Journal()[0].seq).find("{COMMAND} REQUEST_QUERY_DEPENDENT\n"), std::string::npos);
  EXPECT_TRUE(InSession("Plate.CADPart"));
  const MessageCentreView centre = Dialogs().LastMessageCentre();
  ASSERT_GE(centre.informations.Size(), 1);
  EXPECT_NE(centre.informations[1].str().find("Plate.CADPart is not loaded"), std::string::npos)
      << centre.informations[1].str();
}

TEST_F(DependentsEndToEndTest, WithoutDependentsTheCommandInformsAndMakesNoGetRound) {
  Run();
  EXPECT_EQ(JournalActions(), Names{"x3GetDependencyInfo"});
  MessageCentreView centre = Dialogs().LastMessageCentre();
  EXPECT_EQ(centre.status.str(), Text("UpdateOk"));
  ASSERT_EQ(centre.informations.Size(), 1);
  EXPECT_NE(centre.informations[1].str().find("No document depends"), std::string::npos);
}

TEST_F(DependentsEndToEndTest, TheQueryAnswerDecidesWhatIsRequested) {
  struct Case {
    const char* name;
    const char* sources;  // file stems
    Names items;
    std::string count;      // "SOURCE_NUMBER"; empty: the number of sources
    const char* requested;  // file stems; "": no get round
    int warnings;           // "MultipleVersionsRequested" lines
    const char* status;     // the message centre's text: "UpdateOk" or "UpdateFailed"
  };
  const std::vector<Case> cases = {
      {"two keys in the item list", "a", {"ITEM", "OTHER"}, "", "", 0, "UpdateFailed"},
      {"duplicates at 2 and 5", "b a c d a", {"ITEM"}, "", "b c d", 1, "UpdateFailed"},
      {"a triple and a pair", "a x a y a y", {"ITEM"}, "", "x", 2, "UpdateFailed"},
      {"a count that claims more than the slots", "a", {"ITEM"}, "7", "a", 0, "UpdateFailed"},
      {"a count that is no number", "a", {"ITEM"}, "-3", "", 0, "UpdateOk"},
  };
  for (const Case& c : cases) {
    Pdm("journal", "clear");
    CannedQuery(c.sources, c.items, c.count);
    Pdm("fault", "set", "x3GetDependentFiles", "--code", "0");
    Run();
    const std::vector<PdmCall> calls = Journal();
    Names requested;
    for (const std::string& stem : Words(c.requested)) requested.push_back(stem + ".CADPart");
    ASSERT_EQ(calls.size(), requested.empty() ? 1u : 2u) << c.name;
    if (!requested.empty()) {
      EXPECT_EQ(RequestedFiles(calls[1].seq), requested) << c.name;
    }
    MessageCentreView centre = Dialogs().LastMessageCentre();
    EXPECT_EQ(centre.status.str(), Text(c.status)) << c.name;
    int versionWarnings = 0;
    for (const CADUnicodeString& line : centre.warnings)
      versionWarnings += line.str().find("more than one version") != std::string::npos;
    EXPECT_EQ(versionWarnings, c.warnings) << c.name;
    Pdm("fault", "clear");
  }
}

TEST_F(DependentsEndToEndTest, AFailedGetRestoresEveryBackup) {
  for (const char* name : {"Old.CADPart", "Other.vis", "ZRBBACKUP_Older.CADPart"}) WriteFile(XmapFile(name), "x");
  CannedQuery("OB-PLATE:Plate");
  // "0", and an answer the PDM never wrote (the request comes back as it was, without "ACTION_SUCCESS").
  for (const char* fault : {"--code", "--no-rewrite"}) {
    std::vector<std::string> args{"fault", "set", "x3GetDependentFiles", fault};
    if (std::string(fault) == "--code") args.push_back("0");
    PdmArgs(args);
    Run();
    EXPECT_EQ(Backups(), Names{}) << fault;
    for (const char* name : {"Old.CADPart", "Other.vis", "Older.CADPart"}) EXPECT_TRUE(Exists(XmapFile(name))) << name;
  }
}

TEST_F(DependentsEndToEndTest, ACachedCopyIsTakenFromTheExchangeMap) {
  fs::copy_file(SampleDirectory() + "/Plate.CADPart", XmapFile("Plate.CADPart"));
  CannedQuery("OB-PLATE:Plate");
  CannedGet("Plate.CADPart", true);
  Run();
  EXPECT_EQ(Backups(), Names{});
  EXPECT_TRUE(InSession("Plate.CADPart"));
  EXPECT_EQ(Dialogs().LastMessageCentre().status.str(), Text("UpdateOk"));
}

}  // namespace
