// The create commands end to end against the reference PDM: a new part or drawing gets its PDM item, its identity
// and its follow-on save; the PDM's refusals and the designer's stop leave the document without an identity.
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "CADDlgNotify.h"
#include "CADDlgReaper.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIParmPublisher.h"
#include "CADIProduct.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBCache.h"
#include "ZRBCreateCmd.h"
#include "ZRBCreateForDocCmd.h"
#include "ZRBCreateLegacyCmd.h"
#include "ZRBGlobalProperties.h"
#include "ZRBInfoUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBSaveAsCmd.h"
#include "ZRBSaveAsLegacyCmd.h"

namespace {

using Actions = std::vector<std::string>;

class CreateEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    std::filesystem::create_directories(Root() + "/work");
    CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(Root() + "/work"));
  }
  // A new document of `type`, shown in the current window.
  static CADDocument* NewDocument(const char* type) {
    CADDocument* document = nullptr;
    EXPECT_EQ(CADDocumentServices::New(type, document), S_OK);
    CADFrmWindow* window = nullptr;
    EXPECT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
    return document;
  }
  void Create() {
    Start(new ZRBCreateCmd());
    Loop().RunPending();
  }
  static std::string Obid(CADDocument* document) {
    return GlobPropertyManager.GetReferenceProperty(document->GetRootProduct(), "ZRB_OBID").str();
  }
  std::string Status() { return Dialogs().LastMessageCentre().status.str(); }
};

TEST_F(CreateEndToEndTest, ANewPartGetsItsItemIdentityContentEntryAndFollowOnSave) {
  CADDocument* part = NewDocument("CADPart");
  Create();
  ASSERT_EQ(JournalActions(), (Actions{"x3CreateCADPartFrFile", "x3UpdateFromFile"})) << CentreText();
  const PdmCall call = Journal()[0];
  EXPECT_EQ(call.args, (std::vector<std::string>{XmapFile("Part1.CADPart"), "BOM"}));
  const std::string request = JournalRequest(1);
  EXPECT_NE(request.find("{CADCLASSNAME} CADPart\n"), std::string::npos) << request;
  EXPECT_NE(request.find("{PARTNUMBER} Part1\n"), std::string::npos) << request;
  EXPECT_NE(request.find("{ZRB_PRIVATE_UPDATE_ID} "), std::string::npos) << request;

  EXPECT_EQ(part->StorageName().str(), XmapFile("Part1.CADPart")) << "saved into the exchange map";
  EXPECT_FALSE(Obid(part).empty());
  EXPECT_NE(Pdm("vault", "show", "Part1").find(Obid(part)), std::string::npos);
  ZRBXmapManager* content = GlobZRBCache.GetXmapManager();
  ASSERT_NE(content, nullptr);
  EXPECT_NE(content->FindByFileName("Part1.CADPart"), nullptr);
  EXPECT_EQ(Journal()[1].outcome.rfind("answered: ACTION_SUCCESS 1;", 0), 0u) << Journal()[1].outcome;
  EXPECT_EQ(part->IsDirty(), 0) << "the follow-on save sent the new part";
  EXPECT_EQ(Status(), MessageText("ZRBCreateCmd.CreateOk"));
}

TEST_F(CreateEndToEndTest, ThePdmsAnswerDecidesWhetherTheDocumentKeepsAnIdentity) {
  const struct {
    const char* code;  // for the create word; "": the answer is not rewritten
    bool created;
    const char* status;
  } cases[] = {{"3", true, "CreateOk"}, {"0", false, "CreateFailed"}, {"", false, "CreateFailed"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    TearDown();
    SetUp();
    if (*c.code)
      Pdm("fault", "set", "x3CreateCADPartFrFile", "--code", c.code, "--stats", "remark " + std::string(c.code));
    else
      PdmFault("x3CreateCADPartFrFile", "--no-rewrite");
    CADDocument* part = NewDocument("CADPart");
    Create();
    EXPECT_EQ(!Obid(part).empty(), c.created);
    EXPECT_EQ(JournalActions().size(), c.created ? 2u : 1u) << "no follow-on save after a refusal";
    EXPECT_EQ(Pdm("vault", "ls").find("Part1") != std::string::npos, c.created) << "the vault keeps nothing";
    EXPECT_EQ(Status(), MessageText(std::string("ZRBCreateCmd.") + c.status));
    if (*c.code) {
      EXPECT_NE(CentreText().find("remark " + std::string(c.code)), std::string::npos) << CentreText();
    }
  }
}

TEST_F(CreateEndToEndTest, ADrawingIsCreatedWithItsOwnWordAndKeepsItsIdentityOnItsFile) {
  CADDocument* drawing = NewDocument("CADDrawing");
  Create();
  ASSERT_EQ(JournalActions(), (Actions{"x3CreateCADDrawFrFile", "x3UpdateFromFile"})) << CentreText();
  EXPECT_EQ(Journal()[0].args, (std::vector<std::string>{XmapFile("Drawing1.CADDrawing")}));
  EXPECT_FALSE(GlobPropertyManager.GetFileProperty(drawing->StorageName(), "ZRB_OBID").IsEmpty());
}

TEST_F(CreateEndToEndTest, RefusalsBeforeSendingAndThePartTypeQuestion) {
  struct Case {
    const char* name;
    bool inProduct;
    const char* box;  // the question, answered with `answer`
    int answer;
    const char* argument;  // the part type sent; null: nothing sent
  };
  const Case cases[] = {
      {"part used by an open product", true, nullptr, 0, nullptr},
      {"default NOT_SET, Yes", false, "ZRBAfx.AskForPartTypeCreate.YesIsNoBom", CADDlgNfyAnswerYes, "NO_BOM"},
      {"default NOT_SET, No", false, "ZRBAfx.AskForPartTypeCreate.YesIsNoBom", CADDlgNfyAnswerNo, "BOM"},
      {"stopped", false, "ZRBAfx.AskForPartTypeCreate.YesIsNoBom", CADDlgNfyAnswerCancel, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    SetVariable("ZRB_CHECK_LINKED_PRODUCT", "ON");
    SetVariable("ZRB_ENABLE_ASK_FOR_BOM_PART", c.box ? "ON" : "OFF");
    CADDocument* part = nullptr;
    ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
    if (c.inProduct) {
      CADDocument* product = nullptr;
      ASSERT_EQ(CADDocumentServices::New("CADProduct", product), S_OK);
      CADIProduct_var added;
      ASSERT_EQ(product->GetRootProduct()->AddExternalComponent(part, added), S_OK);
    }
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(part, window), S_OK);
    if (c.box) ExpectBox(c.box, c.answer);
    Create();
    if (!c.argument) {
      EXPECT_TRUE(JournalActions().empty());
      EXPECT_TRUE(Obid(part).empty());
      continue;
    }
    ASSERT_FALSE(Journal().empty());
    EXPECT_EQ(Journal()[0].args.back(), c.argument);
  }
}

// The two-step commands: the PDM user completes or cancels the PDM's dialog; the status word comes back through
// the automation bridge and the poll picks it up.
TEST_F(CreateEndToEndTest, TwoStepCreateForDocumentAndSaveAs) {
  const struct {
    const char* name;
    bool saveAs;              // save-as of a created part, else create-for-document of a new part
    bool stepOneFails;        // the PDM refuses the first call
    const char* pdmUser;      // the PDM user's dialog command
    const char* hostilePath;  // a relative path written into the answer before the poll reads it
    const char* fileAfter;    // the document's name in the exchange map afterwards
    bool newIdentity;
  } cases[] = {
      {"step 1 fails", false, true, "", nullptr, "Part1", false},
      {"created under the PDM's name", false, false, "complete --name P-100 --relative-path P-100", nullptr, "P-100",
       true},
      {"the PDM user cancels", false, false, "cancel", nullptr, "Part1", false},
      {"the PDM refuses", false, false, "complete --name P-100 --code 0", nullptr, "Part1", false},
      {"a name outside the exchange map", false, false, "complete --name P-100 --relative-path P-100", "../P-100",
       "Part1", false},
      {"an empty relative path keeps the file name", false, false, "complete --name P-300", nullptr, "Part1", true},
      {"save-as under a new name", true, false, "complete --name P-200 --relative-path P-200", nullptr, "P-200", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    CADDocument* part = NewDocument("CADPart");
    if (c.saveAs) Create();
    const std::string before = Obid(part);
    const std::string word = c.saveAs ? "x3SaveAsCADPartFrFile" : "x3CreateCadPrtDocFrFile";
    const std::string catalog = c.saveAs ? "ZRBSaveAsCmd." : "ZRBCreateForDocCmd.";
    if (c.stepOneFails) {
      PdmFault(word, "--code 0");
      ExpectBox(CADString(catalog + (c.saveAs ? "SaveAsFailed" : "CreateForDocFailed")), 1);
    }
    const std::size_t callsBefore = JournalActions().size();
    if (c.saveAs)
      Start(new ZRBSaveAsCmd());
    else
      Start(new ZRBCreateForDocCmd());
    ASSERT_EQ(JournalActions().size(), callsBefore + 1);
    EXPECT_EQ(JournalActions().back(), word);
    EXPECT_EQ(Journal().back().args, std::vector<std::string>{XmapFile("Part1.CADPart")});
    EXPECT_NE(JournalRequest(Journal().back().seq)
                  .find(c.saveAs ? "{COMMAND} REQUEST_SAVEAS\n" : "{COMMAND} REQUEST_CREATEFORDOC\n"),
              std::string::npos);
    Loop().AdvanceBy(3000);
    EXPECT_EQ(JournalActions().size(), callsBefore + 1) << "waiting asks the PDM nothing";
    if (*c.pdmUser) {
      PdmLine(std::string("dialog ") + c.pdmUser);
      if (c.hostilePath) {
        std::string answer = ReadFile(XmapFile("rfile.zrb"));
        const std::string slot = "{RELATIVE_PATH} P-100\n";
        answer.replace(answer.find(slot), slot.size(), std::string("{RELATIVE_PATH} ") + c.hostilePath + "\n");
        WriteFile(XmapFile("rfile.zrb"), answer);
      }
      Loop().AdvanceBy(1000);
    }
    Loop().RunPending();
    EXPECT_EQ(part->StorageName().str(), XmapFile(std::string(c.fileAfter) + ".CADPart"));
    EXPECT_EQ(Obid(part) != before, c.newIdentity);
    EXPECT_TRUE(ZRBGlobalProperties::Process().GetRunningCommandRegistry().IsEmpty());
    EXPECT_EQ(Loop().PendingTimeOuts(), 0u);
    if (c.stepOneFails) continue;  // the failure box, checked by the fixture
    const char* outcome =
        c.newIdentity ? (c.saveAs ? "SaveAsOk" : "CreateForDocOk") : (c.saveAs ? "SaveAsFailed" : "CreateForDocFailed");
    EXPECT_EQ(Status(), MessageText(catalog + outcome)) << CentreText();
    if (c.hostilePath) {
      EXPECT_FALSE(Exists(Root() + "/P-100.CADPart"));
    }
    CADDlgReaper::Flush();
  }
}

TEST_F(CreateEndToEndTest, ANewerTwoStepCommandCancelsTheWaitingOneWhichThenAppliesNothing) {
  CADDocument* part = NewDocument("CADPart");
  Start(new ZRBCreateForDocCmd());
  Loop().AdvanceBy(2000);
  Start(new ZRBCreateForDocCmd());
  EXPECT_EQ(JournalActions(), (Actions{"x3CreateCadPrtDocFrFile", "x3CancelCreateForDoc", "x3CreateCadPrtDocFrFile"}));
  Pdm("dialog", "cancel");
  Loop().AdvanceBy(1000);
  Loop().RunPending();
  EXPECT_TRUE(Obid(part).empty());
  EXPECT_EQ(Loop().PendingTimeOuts(), 0u);
  CADDlgReaper::Flush();
  EXPECT_EQ(CADCommand::LiveCount(), 0u) << "both commands are gone";
}

TEST_F(CreateEndToEndTest, ALegacyModelIsCreatedForTheSelectedPartInstanceWithItsFathersIdentity) {
  ImportSampleSession();
  CADIProduct_var root = LoadIntoCad("Assembly");
  ASSERT_TRUE(root);
  CADFrmWindow* window = CADFrmLayout::GetCurrentLayout().GetCurrentWindow();
  CADIProduct_var bracket = SampleSession::Node(root, "Bracket.1");
  CADPathElement path(root);
  path.AddChildElement(CADBaseUnknown_var(bracket));
  path.AddChildElement(CADBaseUnknown_var(SampleSession::Node(root, "Bracket.1/Plate.1")));
  window->GetEditor()->GetCSO()->AddElement(path);
  ExpectBox("ZRBCreateLegacyCmd.CreateOk", CADDlgNfyAnswerOK);
  Start(new ZRBCreateLegacyCmd());
  Loop().RunPending();
  ASSERT_EQ(JournalActions().back(), "x3CreateCADLegacyFromFile");
  EXPECT_EQ(Journal().back().args, std::vector<std::string>{XmapFile("Plate.model")});
  const std::string request = JournalRequest(Journal().back().seq);
  const std::string father = GlobPropertyManager.GetReferenceProperty(bracket, "ZRB_OBID").str();
  EXPECT_NE(request.find("{FATHER_OBID} " + father + "\n"), std::string::npos) << request;
  EXPECT_NE(Pdm("vault", "ls").find("Plate.model"), std::string::npos);
}

// A legacy model is a new item beside the part: the part keeps its identity whatever the PDM user does.
TEST_F(CreateEndToEndTest, LegacySaveAsGivesTheModelANewItemAndLeavesThePartAlone) {
  struct Case {
    const char* name;
    const char* fault;    // pdmsim before the start
    const char* pdmUser;  // pdmsim while the command waits
    bool saved;
  } const cases[] = {
      {"step 1 fails", "fault set x3SaveAsCADPartLegacyFrFl --code 0", "", false},
      {"the PDM user completes", "", "dialog complete --name P-LEG", true},
      {"the PDM user cancels", "", "dialog cancel", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    CADDocument* part = NewDocument("CADPart");
    Create();
    const std::string obid = Obid(part);
    PdmLine(c.fault);
    if (*c.fault || c.saved)
      ExpectBox(c.saved ? "ZRBSaveAsLegacyCmd.SaveAsOk" : "ZRBSaveAsLegacyCmd.SaveAsFailed", CADDlgNfyAnswerOK);
    Start(new ZRBSaveAsLegacyCmd());
    EXPECT_EQ(Journal().back().args, std::vector<std::string>{XmapFile("Part1.model")});
    const std::string request = JournalRequest(Journal().back().seq);
    EXPECT_NE(request.find("{CADORIGOBID} " + obid + "\n"), std::string::npos) << request;
    PdmLine(c.pdmUser);
    Loop().AdvanceBy(1000);
    Loop().RunPending();
    EXPECT_EQ(Obid(part), obid);
    EXPECT_EQ(Pdm("vault", "ls").find("P-LEG") != std::string::npos, c.saved);
    EXPECT_EQ(GlobZRBCache.GetXmapManager()->FindByFileName("Part1.model") != nullptr, c.saved);
    CADDlgReaper::Flush();
  }
}

TEST_F(CreateEndToEndTest, LegacySaveAsRefusesWhatCannotBecomeAModel) {
  for (const auto& [type, setting, reason] : {std::tuple{"CADDrawing", "", "NoPartObject"},
                                              {"CADPart", "ZRB_SAVEAS_LEGACY_WITH_ZRBCHECK", "CadFileNotFromZRB"},
                                              {"CADPart", "ZRB_SAVEAS_LEGACY_WITH_DIRTYCHECK", "CadFileDirty"}}) {
    TearDown();
    SetUp();
    if (*setting) SetVariable(setting, "ON");
    NewDocument(type)->SetDirty(1);
    Start(new ZRBSaveAsLegacyCmd());
    EXPECT_TRUE(JournalActions().empty());
    EXPECT_EQ(CentreText(), MessageText("ZRBSaveAsLegacyCmd.SaveAsFailed") + "|" +
                                MessageText(std::string("ZRBSaveAsLegacyCmd.") + reason));
    CADDlgReaper::Flush();
  }
}

// A new part's design table goes with it; a check seal taken before the part changed is not vouched for.
TEST_F(CreateEndToEndTest, ANewPartsDesignTableIsLinkedAndAStaleSealMarkDropped) {
  ZRBInfoUtil::SetUseDesigTables(1);
  SetVariable("ZRB_CHECK_BROKEN_DT", "ON");
  SetVariable("ZRB_READ_QCKSEAL", "ON");
  SetVariable("ZRB_QCK_TIMESTAMP", "ON");
  CADDocument* part = NewDocument("CADPart");
  GlobPropertyManager.SetFileProperty(part->StorageName(), "ZRB_QCKFILE_UPTODATE", "1");
  WriteFile(Root() + "/sizes.xls", "a\tb\n1\t2\n");
  CADIDesignTable_var table;
  ASSERT_EQ(CADIParmPublisher_var(part->GetRootProduct().get())
                ->AddDesignTable("Sizes", CADUnicodeString(Root() + "/sizes.xls"), table),
            S_OK);
  Create();
  ASSERT_EQ(JournalActions().front(), "x3CreateCADPartFrFile") << CentreText();
  const std::string request = JournalRequest(1);
  EXPECT_NE(request.find("{LINK_DESTAB} 1\n"), std::string::npos) << request;
  EXPECT_EQ(request.find("{QCK_SEAL_UPTODATE} 1"), std::string::npos) << request;
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(part->GetRootProduct(), "ZRB_DESIGNTABLES").str(), " {sizes.xls}");
  EXPECT_FALSE(GlobPropertyManager.GetFileProperty(CADUnicodeString(XmapFile("sizes.xls")), "ZRB_OBID").IsEmpty());
}

}  // namespace
