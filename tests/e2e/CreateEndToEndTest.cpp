// The create commands end to end against the reference PDM: a new part or drawing gets its PDM item, its identity
// and its follow-on save; the PDM's refusals and the designer's stop leave the document without an identity.
#include <filesystem>
#include <string>
#include <vector>

#include "CADDlgNotify.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADIProduct.h"
#include "PdmEndToEndFixture.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBCreateCmd.h"
#include "ZRBPropertyManager.h"

namespace {

using Actions = std::vector<std::string>;

class CreateEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    std::filesystem::create_directories(Root() + "/work");
    CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(Root() + "/work"));
  }
  void TearDown() override {
    CADDocumentServices::ResetSession();
    PdmEndToEndFixture::TearDown();
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
    (new ZRBCreateCmd())->Activate(nullptr, nullptr);
    Loop().RunPending();
  }
  static std::string Obid(CADDocument* document) {
    return GlobPropertyManager.GetReferenceProperty(document->GetRootProduct(), "ZRB_OBID").str();
  }
  static std::string Text(const char* catalog, const char* key) {
    return ZRBAfx::BuildMessage(CADString(catalog), CADString(std::string(catalog) + "." + key)).str();
  }
  std::string Centre() {
    const MessageCentreView centre = Dialogs().LastMessageCentre();
    std::string text = centre.status.str();
    for (const CADUnicodeString& line : centre.warnings) text += "|" + line.str();
    return text;
  }
};

TEST_F(CreateEndToEndTest, ANewPartGetsItsItemIdentityContentEntryAndFollowOnSave) {
  CADDocument* part = NewDocument("CADPart");
  Create();
  ASSERT_EQ(JournalActions(), (Actions{"x3CreateCADPartFrFile", "x3UpdateFromFile"})) << Centre();
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
  EXPECT_EQ(Dialogs().LastMessageCentre().status.str(), Text("ZRBCreateCmd", "CreateOk"));
}

TEST_F(CreateEndToEndTest, ThePdmsAnswerDecidesWhetherTheDocumentKeepsAnIdentity) {
  struct Case {
    const char* name;
    std::vector<std::string> fault;  // pdmsim fault options for the create word
    bool created;
    const char* status;
    const char* stats;  // a line the message centre shows
  };
  const Case cases[] = {
      {"3: success with remarks",
       {"--code", "3", "--stats", "Part1 needs a material"},
       true,
       "CreateOk",
       "Part1 needs a material"},
      {"0: refused", {"--code", "0", "--stats", "no licence"}, false, "CreateFailed", "no licence"},
      {"not rewritten", {"--no-rewrite"}, false, "CreateFailed", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    std::vector<std::string> fault{"fault", "set", "x3CreateCADPartFrFile"};
    fault.insert(fault.end(), c.fault.begin(), c.fault.end());
    PdmArgs(fault);
    CADDocument* part = NewDocument("CADPart");
    Create();
    EXPECT_EQ(!Obid(part).empty(), c.created);
    EXPECT_EQ(JournalActions().size(), c.created ? 2u : 1u) << "no follow-on save after a refusal";
    EXPECT_EQ(Pdm("vault", "ls").find("Part1") != std::string::npos, c.created) << "the vault keeps nothing";
    EXPECT_EQ(Dialogs().LastMessageCentre().status.str(), Text("ZRBCreateCmd", c.status));
    if (c.stats) {
      EXPECT_NE(Centre().find(c.stats), std::string::npos) << Centre();
    }
  }
}

TEST_F(CreateEndToEndTest, ADrawingIsCreatedWithItsOwnWordAndKeepsItsIdentityOnItsFile) {
  CADDocument* drawing = NewDocument("CADDrawing");
  Create();
  ASSERT_EQ(JournalActions(), (Actions{"x3CreateCADDrawFrFile", "x3UpdateFromFile"})) << Centre();
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

}  // namespace
