// Attaching a new sub-structure of a product from the PDM as an archive: the PDM receives a complete archive (its
// own unpack check passes), the answered identity lands on the product, the father's structure follows; a
// refused validation sends nothing and leaves no content marks, so the designer can retry.
#include <algorithm>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include "CADCSO.h"
#include "CADDlgNotify.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADIPrdProperties.h"
#include "CADIVisProperties.h"
#include "PdmEndToEndFixture.h"
#include "ZRBArchiveManager.h"
#include "ZRBAttachArchiveCmd.h"
#include "ZRBClientMode.h"
#include "ZRBInfoUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBSamAttachArchiveCmd.h"
#include "ZRBUpdateCmd.h"

namespace {

class AttachArchiveEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    for (const char* name : {"ZRB_PACK_ARCHIVE_CMD", "ZRB_PACK_ADD_ARCHIVE_CMD"}) SetVariable(name, "zip -0 -q -j");
    SetVariable("ZRB_ARCHIVE_AUTOUPDATE", "ON");
    SetVariable("ZRB_ENABLE_UNIQUEPARENTRULE", "ON");
    GlobArchiveManager.Clear();
    ImportSampleSession();
    ASSERT_TRUE(root_ = LoadIntoCad());
    ZRBInfoUtil::WorkWithDesignTables();
    // The designer's new sub-structure: a product holding a new part, placed under the assembly and selected.
    CADDocument* product = nullptr;
    CADDocument* part = nullptr;
    ASSERT_EQ(CADDocumentServices::New("CADProduct", product), S_OK);
    ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
    CADIProduct_var inner;
    ASSERT_EQ(product->GetRootProduct()->AddExternalComponent(part, inner), S_OK);
    part_ = inner;
    ASSERT_EQ(root_->AddExternalComponent(product, sub_), S_OK);
    Select();
    partNumber_ = sub_->GetPartNumber().str();
    Pdm("journal", "clear");
  }
  void TearDown() override {
    root_ = sub_ = part_ = nullptr;
    GlobArchiveManager.Clear();
    PdmEndToEndFixture::TearDown();
  }

  void Select() {
    CADCSO* selection = CADFrmEditor::GetCurrentEditor()->GetCSO();
    selection->Empty();
    selection->AddElement(CADPathElement(CADBaseUnknown_var(sub_)));
  }
  // Runs the command; its warnings, one a line.
  std::string Run(ZRBCommand* command) {
    Start(command);
    std::string warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings += text.str() + "\n";
    Loop().RunPending();
    return warnings;
  }
  std::string Attach(ZRBAttachArchiveCmd* command = new ZRBAttachArchiveCmd()) { return Run(command); }
  CADUnicodeString File(const char* name) {
    return GlobPropertyManager.GetFileProperty(GlobPropertyManager.GetProductFullPath(sub_), name);
  }
  std::string Mark() { return GlobPropertyManager.GetReferenceProperty(part_, "ZRB_CONTENT_IN_ARC").str(); }

  CADIProduct_var root_, sub_, part_;
  std::string partNumber_;
};

TEST_F(AttachArchiveEndToEndTest, ThePdmKeepsACompleteArchiveAndTheProductAndItsFatherFollow) {
  const std::string warnings = Attach();
  ASSERT_FALSE(File("ZRB_ARCHIVE_OBID").IsEmpty()) << warnings;
  const std::vector<std::string> actions = JournalActions();
  ASSERT_GE(actions.size(), 1u);
  EXPECT_EQ(actions.front(), "x3UpdateFromFile");
  EXPECT_NE(Journal().front().args.back().find("rfile.zrb"), std::string::npos);

  // The PDM's own check of what it kept: the structure file, the DTD and every member it names.
  const PdmRun check = RunPdm({"archive-check", Vault() + "/archives/" + partNumber_ + ".zip"});
  EXPECT_EQ(check.exitCode, 0) << check.out;
  EXPECT_NE(check.out.find("structure file: " + partNumber_ + ".xml"), std::string::npos) << check.out;

  EXPECT_EQ(File("ZRB_ARCHIVE_CLASSNAME"), "x0CadArc");
  EXPECT_EQ(File("ZRB_ARCHIVE_ROOT_PN").str(), partNumber_);
  EXPECT_FALSE(GlobPropertyManager.GetInstanceProperty(root_, sub_, "ZRB_RELATION").IsEmpty());
  EXPECT_TRUE(GlobPropertyManager.IsArchiveRoot(sub_));
  EXPECT_EQ(Mark(), "1");
  EXPECT_TRUE(GlobArchiveManager.ArchiveLoaded(File("ZRB_ARCHIVE_CONTENT_FILE_NAME")));
  // The father: the archive hangs below the assembly in the vault, and the follow-up update asked nothing new.
  EXPECT_NE(Pdm("vault", "show", "Assembly").find(partNumber_), std::string::npos);
  EXPECT_EQ(actions.size(), 2u) << "the father's update follows the attach";

  // Attached once: a second attach of the same product is refused in the session, nothing is sent.
  Pdm("journal", "clear");
  Select();
  ExpectBox("ZRBAttachArchiveCmd.SelectedIsFromZRB", CADDlgNfyAnswerOK);
  Attach();
  EXPECT_TRUE(JournalActions().empty());
}

TEST_F(AttachArchiveEndToEndTest, ARefusedValidationSendsNothingAndLeavesNoMarks) {
  SetVariable("ZRB_ENABLE_ARCHIVE_VALIDATION", "ON");
  Pdm("settings", "set", "archive.refuse_parts", part_->GetPartNumber().str());
  const std::string warnings = Attach();
  EXPECT_EQ(JournalActions(), (std::vector<std::string>{"x3ValidateArchive"}));
  EXPECT_EQ(std::ranges::count(warnings, '\n'), 1) << warnings;
  EXPECT_EQ(Mark(), "");
  EXPECT_TRUE(File("ZRB_ARCHIVE_OBID").IsEmpty());

  // The PDM allows it now: the plain retry goes through.
  Pdm("settings", "set", "archive.refuse_parts", "");
  Select();
  Attach();
  EXPECT_FALSE(File("ZRB_ARCHIVE_OBID").IsEmpty());
  EXPECT_EQ(Mark(), "1");
}

// After the attach the archive is the PDM's: a changed member makes it dirty, and the father's update checks it
// again and sends it packed anew, which the PDM unpacks and keeps; a hidden member stops the update instead.
TEST_F(AttachArchiveEndToEndTest, AnUpdateChecksAndStoresTheChangedArchiveAgain) {
  Attach();
  ASSERT_FALSE(File("ZRB_ARCHIVE_OBID").IsEmpty());
  const std::string kept = Vault() + "/archives/" + partNumber_ + ".zip";
  const std::string before = ReadFile(kept);
  auto update = [&]() {
    Pdm("journal", "clear");
    auto* command = new ZRBUpdateCmd();
    command->SetSupressInteraction(1);
    return Run(command);
  };

  CADIPrdProperties_var(part_->GetReferenceProduct())->SetDescription("revised");
  const std::string stored = update();
  ASSERT_EQ(JournalActions(), (std::vector<std::string>{"x3UpdateFromFile"})) << stored;
  EXPECT_NE(JournalRequest(Journal().front().seq).find(".ZRBArchive"), std::string::npos);
  EXPECT_NE(ReadFile(kept), before) << "the PDM keeps the archive packed anew";
  EXPECT_EQ(RunPdm({"archive-check", kept}).exitCode, 0);

  SetVariable("ZRB_ENABLE_HIDECHECKINARCHIVE", "ON");
  ASSERT_EQ(CADIVisProperties_var(part_)->SetShowAttr(CADShowAttr::NoShow), S_OK);
  CADIPrdProperties_var(part_->GetReferenceProduct())->SetDescription("hidden");
  const std::string refused = update();
  EXPECT_TRUE(JournalActions().empty()) << "an archive that does not validate is not sent without the designer";
  EXPECT_NE(refused.find("hidden members"), std::string::npos) << refused;
}

TEST_F(AttachArchiveEndToEndTest, TheSamClientAttachesWithItsOwnWordAndUpdatesTheFatherThroughSamcl) {
  SetVariable("SAM_ZRBXMAP", Xmap().c_str());
  for (const char* name : {"ZRB_PACK_ARCHIVE_CMD", "ZRB_PACK_ADD_ARCHIVE_CMD"})
    SetVariable(("SAM_" + std::string(name)).c_str(), "zip -0 -q -j");
  SetVariable("SAM_ZRB_ARCHIVE_AUTOUPDATE", "ON");
  Pdm("settings", "sam.pdm.design_tables", "OFF");
  const std::string warnings = Attach(new ZRBSamAttachArchiveCmd());
  ASSERT_FALSE(File("ZRB_ARCHIVE_OBID").IsEmpty()) << warnings;
  std::vector<std::string> calls;
  for (const nlohmann::json& call : nlohmann::json::parse(Pdm("journal", "--json")))
    calls.push_back(call["role"].get<std::string>() + ":" + call["action"].get<std::string>());
  // The settings the standard PDM gave in the set-up are not the SAM PDM's: the update asks its own.
  EXPECT_EQ(calls,
            (std::vector<std::string>{"sam:x3CreateArchiveFrFile", "sam:x3GetPDMSettings", "sam:x3UpdateFromFile"}));
}

}  // namespace
