// What every command inherits: saving documents for the PDM, the PDM call with its failure message, and the
// message centre with the command's warnings and informations.
#include <filesystem>

#include "CADDlgNotify.h"
#include "CADDocument.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBDummyCmd.h"
#include "ZRBPdmAction.h"

namespace {

// Opens the protected helpers of the base for the test.
class CommandBaseTest : public CommandFixture {};

TEST_F(CommandBaseTest, SaveAsWritesTheNewFileOrSavesInPlaceForTheSamePath) {
  SampleSession sample;
  CADDocument* document = sample.Open("Bolt.CADPart");
  ASSERT_NE(document, nullptr);
  auto* command = new ProbeCommand();
  const CADUnicodeString copy = sample.Path("BoltCopy.CADPart");
  EXPECT_EQ(command->SaveAs(*document, copy, "CADPart", 0), 1);
  EXPECT_TRUE(std::filesystem::exists(copy.str()));
  EXPECT_EQ(document->StorageName(), copy);
  // The same file again, spelled differently: saved in place, not refused as a path in use.
  EXPECT_EQ(command->SaveAs(*document, sample.Path("./BoltCopy.CADPart"), "CADPart", 0), 1);
  EXPECT_EQ(command->Save(nullptr, 0), 0);
  command->Release();
}

TEST_F(CommandBaseTest, APdmCommandThatCannotBeStartedIsShownAndReportedNegative) {
  struct Case {
    int shellResult;
    bool shown;
  };
  auto* command = new ProbeCommand();
  CaptureTrace();
  for (Case c : {Case{0, false}, Case{1 << 8, false}, Case{127 << 8, true}, Case{126 << 8, true}}) {
    SCOPED_TRACE(c.shellResult);
    SetShellAnswer([&c](const std::string&) { return c.shellResult; });
    if (c.shown) ExpectBox("ZRBAfx.ConnectFailed", CADDlgNfyAnswerOK);
    const int result = command->RunPdmAction(ZRBPdmAction::ValidateCadNodes,
                                             ZRBPdmAction::Line(ZRBPdmAction::ValidateCadNodes, "/x/v.zrb"));
    EXPECT_EQ(result < 0, c.shown);
  }
  EXPECT_TRUE(TraceHas("SYSTEM ConnectPdm x3ValidateCadNodes failed with -1 errno: "));
  command->Release();
}

TEST_F(CommandBaseTest, TheMessageCentreShowsTheCommandsOwnLists) {
  auto* command = new ProbeCommand();
  command->GetWarnings().Append("Plate.CADPart is read-only");
  command->GetInformations().Append("2 documents saved");
  command->DisplayMessageCenter(1, 0, "Saved", "Not saved", 0);
  MessageCentreView view = Dialogs().LastMessageCentre();
  ASSERT_TRUE(view.found);
  EXPECT_EQ(view.status, "Saved");
  EXPECT_EQ(view.warnings.Size(), 1);
  EXPECT_EQ(view.informations.Size(), 1);
  EXPECT_EQ(view.warnings[1], "Plate.CADPart is read-only");
  command->Release();
}

}  // namespace
