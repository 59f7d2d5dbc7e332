// A two-step command for the protocol tests: its start step hands a request to the PDM as the real ones do, and
// both steps and its destruction are written into a journal the test owns.
#pragma once

#include <string>
#include <vector>

#include "ZRBClientMode.h"
#include "ZRBPdmAction.h"
#include "ZRBTwoStepCommand.h"

class FakeTwoStepCmd : public ZRBTwoStepCommand {
 public:
  using Journal = std::vector<std::string>;

  static constexpr ZRBRunningCommandKind kAddTemp = ZRBRunningCommandKind::AddTemp;
  static constexpr ZRBRunningCommandKind kSaveAs = ZRBRunningCommandKind::SaveAs;

  FakeTwoStepCmd(const char* name, Journal& journal, ZRBRunningCommandKind kind = kAddTemp, bool sam = false)
      : ZRBTwoStepCommand(name, kind), journal_(journal) {
    if (sam) UseClientMode(ZRBClientMode::Sam());
  }
  ~FakeTwoStepCmd() override { journal_.push_back("destroyed " + GetName().str()); }

  // What the PDM's first step answers: 1 its dialog is up, 0 it failed.
  int firstStepResult = 1;

 protected:
  int StartStep() override {
    CADString status;
    GetModCommStatus(status);
    journal_.push_back("start " + GetName().str() + " status=" + status.str());
    const std::string_view word =
        GetKind().kind == ZRBRunningCommandKind::SaveAs ? ZRBPdmAction::SaveAsCADPartFrFile : ZRBPdmAction::AddTempCad;
    if (RunPdmAction(word, ZRBPdmAction::Line(word, "/xmap/" + GetName().str() + ".zrb")) < 0) return 0;
    if (!AnnounceHandOver()) return 0;
    return firstStepResult;
  }
  void EndStep(const CADString& status) override {
    journal_.push_back("end " + GetName().str() + " " + status.str() + " via " +
                       ZRBClientMode::Current().GetConnectionCommand().str());
    // As a follow-on command would at its start (the read of an add-temporary answer).
    ZRBCommand::CheckIntegrity(0);
  }

 private:
  Journal& journal_;
};
