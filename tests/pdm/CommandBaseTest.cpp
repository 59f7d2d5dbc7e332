// What every command inherits: saving documents for the PDM, the PDM call with its failure message, the
// message centre with the command's warnings and informations, and the one-step lifecycle.
#include <filesystem>

#include "CADDlgNotify.h"
#include "CADDocument.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBOneStepCommand.h"
#include "ZRBPdmAction.h"

namespace {

// A one-step command whose work ends as the test says and that counts its steps.
class CountingOneStepCmd : public ZRBOneStepCommand {
 public:
  explicit CountingOneStepCmd(Outcome outcome) : ZRBOneStepCommand("CountingOneStepCmd"), outcome_(outcome) {}
  using ZRBOneStepCommand::End;
  int works = 0;
  int shown = -1;  // the success ShowOutcome got; -1 when it was not called

 protected:
  Outcome Work() override {
    ++works;
    return outcome_;
  }
  void ShowOutcome(int success) override { shown = success; }

 private:
  Outcome outcome_;
};

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

TEST_F(CommandBaseTest, AOneStepCommandWorksOnceShowsAFinishedWorkAndEndsOnce) {
  using Outcome = ZRBOneStepCommand::Outcome;
  using State = ZRBOneStepCommand::State;
  struct Case {
    Outcome outcome;
    int shown;
    State state;
  };
  for (Case c : {Case{Outcome::Succeeded, 1, State::Ended}, Case{Outcome::Failed, 0, State::Ended},
                 Case{Outcome::Stopped, -1, State::Ended}, Case{Outcome::Continues, -1, State::WaitingForUser}}) {
    SCOPED_TRACE(static_cast<int>(c.outcome));
    auto* command = new CountingOneStepCmd(c.outcome);
    command->AddRef();  // kept past its delayed destruction to be looked at
    command->Activate(nullptr, nullptr);
    command->Activate(nullptr, nullptr);  // a command starts once
    EXPECT_EQ(command->works, 1);
    EXPECT_EQ(command->shown, c.shown);
    EXPECT_EQ(command->GetState(), c.state);
    EXPECT_EQ(command->IsDestructionRequested(), c.state == State::Ended);
    // A command waiting for its dialog ends when the dialog says so.
    command->End();
    EXPECT_TRUE(command->IsDestructionRequested());
    command->Release();
  }
}

}  // namespace
