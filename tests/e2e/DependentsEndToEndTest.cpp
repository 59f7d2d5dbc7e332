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
#include "ZRBAfx.h"
#include "ZRBExternalDocCmd.h"
#include "ZRBGetDepByCmd.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// One source of a query answer: OBID and file name.
struct Source {
  std::string obid;
  std::string file;
};

class DependentsEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    Pdm("load-into-cad", "Bolt");
    Loop().RunPending();
    CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
    ASSERT_NE(editor, nullptr);
    bolt_ = editor->GetDocument()->GetRootProduct();
    ASSERT_TRUE(bolt_);
    editor->GetCSO()->Empty();
    editor->GetCSO()->AddElement(CADPathElement(CADBaseUnknown_var(bolt_)));
    Pdm("journal", "clear");
  }

  // A query answer naming `items` (keys of "ROOT"."ITEMLIST"); the first item lists the sources.
  void CannedQuery(const std::vector<Source>& sources, const Names& items = {"ITEM"}, const std::string& count = "") {
    ZRBObjectManager answer;
    ZRBObject* root = answer.CreateObject("ROOT");
    root->SetSlotValue("ACTION_SUCCESS", "1");
    for (const std::string& key : items) {
      root->SlotAppend("ITEMLIST", CADString(key));
      answer.CreateObject(CADString(key))->SetSlotValue("MODEL_INFO", "INFO");
    }
    ZRBObject* info = answer.CreateObject("INFO");
    info->SetSlotValue("SOURCE_NUMBER", CADString(count.empty() ? std::to_string(sources.size()) : count));
    for (std::size_t i = 0; i < sources.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      info->SetSlotValue(CADString("SOURCE_OBID_" + n), CADString(sources[i].obid));
      info->SetSlotValue(CADString("SOURCE_CLASSNAME_" + n), "Document");
      info->SetSlotValue(CADString("SOURCE_DBNAME_" + n), "vault");
      info->SetSlotValue(CADString("SOURCE_DOC_" + n), CADString(sources[i].file));
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
  ZRBGetDepByCmd* Run() {
    auto* command = new ZRBGetDepByCmd();
    command->Activate(nullptr, nullptr);
    return command;
  }
  // The "FILENAME" slots of the get request, in request order.
  Names RequestedFiles(int seq) {
    const std::string copy = Root() + "/request.zrb";
    WriteFile(copy, JournalRequest(seq));
    ZRBObjectManager request;
    EXPECT_EQ(request.Read(CADUnicodeString(copy)), 1);
    Names files;
    for (const CADString& key : request.GetObject("ROOT")->GetSlotValueList("ITEMLIST"))
      files.push_back(request.GetObject(key)->GetSlotValue("FILENAME").str());
    return files;
  }
  static std::string Text(const char* key) {
    return ZRBAfx::BuildMessage("ZRBGetDepByCmd", CADString(std::string("ZRBGetDepByCmd.") + key)).str();
  }
  Names Backups() const {
    Names backups;
    for (const std::string& name : XmapFileNames())
      if (name.starts_with("ZRBBACKUP_")) backups.push_back(name);
    return backups;
  }

  CADIProduct_var bolt_;
};

TEST_F(DependentsEndToEndTest, TheVaultsDependencyLinksAreQueriedAndTheDependentsLoaded) {
  Pdm("vault", "link-dependency", "Plate", "Bolt");  // Plate depends on Bolt
  Run();
  Loop().RunPending();
  ASSERT_EQ(JournalActions(), (Names{"x3GetDependencyInfo", "x3GetDependentFiles"}));
  const std::vector<PdmCall> calls = Journal();
  EXPECT_NE(JournalRequest(calls[0].seq).find("{COMMAND} REQUEST_QUERY_DEPENDED_BY"), std::string::npos);
  EXPECT_EQ(RequestedFiles(calls[1].seq), Names{"Plate.CADPart"});
  EXPECT_NE(CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile("Plate.CADPart"))), nullptr);
  EXPECT_EQ(Dialogs().LastMessageCentre().status.str(), Text("UpdateOk"));
  EXPECT_FALSE(Exists(XmapFile("xmapfiles.zrb"))) << "the list goes once the answer was read";
}

TEST_F(DependentsEndToEndTest, TheExternalsOfTheSelectionAreNamedAndLoaded) {
  Pdm("vault", "link-dependency", "Bolt", "Plate");  // Bolt depends on Plate
  (new ZRBExternalDocCmd())->Activate(nullptr, nullptr);
  Loop().RunPending();
  ASSERT_EQ(JournalActions(), (Names{"x3GetDependencyInfo", "x3GetDependentFiles"}));
  EXPECT_NE(JournalRequest(Journal()[0].seq).find("{COMMAND} REQUEST_QUERY_DEPENDENT\n"), std::string::npos);
  EXPECT_NE(CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile("Plate.CADPart"))), nullptr);
  const MessageCentreView centre = Dialogs().LastMessageCentre();
  ASSERT_GE(centre.informations.Size(), 1);
  EXPECT_NE(centre.informations[1].str().find("Plate.CADPart is not loaded"), std::string::npos)
      << centre.informations[1].str();
}

TEST_F(DependentsEndToEndTest, WithoutDependentsTheCommandInformsAndMakesNoGetRound) {
  Run();
  Loop().RunPending();
  EXPECT_EQ(JournalActions(), Names{"x3GetDependencyInfo"});
  MessageCentreView centre = Dialogs().LastMessageCentre();
  EXPECT_EQ(centre.status.str(), Text("UpdateOk"));
  ASSERT_EQ(centre.informations.Size(), 1);
  EXPECT_NE(centre.informations[1].str().find("No document depends"), std::string::npos);
}

TEST_F(DependentsEndToEndTest, TheQueryAnswerDecidesWhatIsRequested) {
  struct Case {
    const char* name;
    std::vector<Source> sources;
    Names items;
    std::string count;   // "SOURCE_NUMBER"; empty: the number of sources
    Names requested;     // empty: no get round
    int warnings;        // "MultipleVersionsRequested" lines
    const char* status;  // the message centre's text: "UpdateOk" or "UpdateFailed"
  };
  const std::vector<Case> cases = {
      {"two keys in the item list", {{"1", "a.CADPart"}}, {"ITEM", "OTHER"}, "", {}, 0, "UpdateFailed"},
      {"duplicates at 2 and 5",
       {{"1", "b.CADPart"}, {"2", "a.CADPart"}, {"3", "c.CADPart"}, {"4", "d.CADPart"}, {"5", "a.CADPart"}},
       {"ITEM"},
       "",
       {"b.CADPart", "c.CADPart", "d.CADPart"},
       1,
       "UpdateFailed"},
      {"a triple and a pair",
       {{"1", "a.CADPart"},
        {"2", "x.CADPart"},
        {"3", "a.CADPart"},
        {"4", "y.CADPart"},
        {"5", "a.CADPart"},
        {"6", "y.CADPart"}},
       {"ITEM"},
       "",
       {"x.CADPart"},
       2,
       "UpdateFailed"},
      {"a count that claims more than the slots",
       {{"1", "a.CADPart"}},
       {"ITEM"},
       "7",
       {"a.CADPart"},
       0,
       "UpdateFailed"},
      {"a count that is no number", {{"1", "a.CADPart"}}, {"ITEM"}, "-3", {}, 0, "UpdateOk"},
  };
  for (const Case& c : cases) {
    Pdm("journal", "clear");
    CannedQuery(c.sources, c.items, c.count);
    Pdm("fault", "set", "x3GetDependentFiles", "--code", "0");
    Run();
    Loop().RunPending();
    const std::vector<PdmCall> calls = Journal();
    if (c.requested.empty()) {
      EXPECT_EQ(calls.size(), 1u) << c.name;
    } else {
      ASSERT_EQ(calls.size(), 2u) << c.name;
      EXPECT_EQ(RequestedFiles(calls[1].seq), c.requested) << c.name;
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
  CannedQuery({{"OB-PLATE", "Plate.CADPart"}});
  // "0", and an answer the PDM never wrote (the request comes back as it was, without "ACTION_SUCCESS").
  for (const char* fault : {"--code", "--no-rewrite"}) {
    std::vector<std::string> args{"fault", "set", "x3GetDependentFiles", fault};
    if (std::string(fault) == "--code") args.push_back("0");
    PdmArgs(args);
    Run();
    Loop().RunPending();
    EXPECT_EQ(Backups(), Names{}) << fault;
    for (const char* name : {"Old.CADPart", "Other.vis", "Older.CADPart"}) EXPECT_TRUE(Exists(XmapFile(name))) << name;
  }
}

TEST_F(DependentsEndToEndTest, ACachedCopyIsTakenFromTheExchangeMap) {
  fs::copy_file(SampleDirectory() + "/Plate.CADPart", XmapFile("Plate.CADPart"));
  CannedQuery({{"OB-PLATE", "Plate.CADPart"}});
  CannedGet("Plate.CADPart", true);
  Run();
  Loop().RunPending();
  EXPECT_EQ(Backups(), Names{});
  EXPECT_NE(CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile("Plate.CADPart"))), nullptr);
  EXPECT_EQ(Dialogs().LastMessageCentre().status.str(), Text("UpdateOk"));
}

}  // namespace
