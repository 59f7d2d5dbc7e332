#include <gtest/gtest.h>

#include "CADApplication.h"
#include "CADApplicationFrame.h"
#include "CADDlgBoxScript.h"
#include "CADDlgNotify.h"
#include "CADDlgReaper.h"
#include "MessagesFixture.h"

namespace {

using MsgBoxTest = MessagesFixture;

TEST_F(MsgBoxTest, TitleFollowsThePrefixAndTheAnswerComesBack) {
  struct Case {
    const char* prefix;
    const char* title;
    unsigned long style;
    int answer;
    const char* shownTitle;
  };
  for (auto c :
       {Case{"", "", 0x8000200, CADDlgNfyAnswerOK, "ZRB"}, Case{"", "Read", 0x800200, CADDlgNfyAnswerYes, "Read"},
        Case{"SAM", "Read", 0x800200, CADDlgNfyAnswerNo, "SAM"}, Case{"SAM", "", 0x200, CADDlgNfyAnswerOK, "SAM"}}) {
    SCOPED_TRACE(std::string(c.prefix) + "/" + c.title);
    SetPrefix(c.prefix);
    CADDlgBoxScript::Reset();
    ExpectBoxText("Something happened.", c.answer);
    EXPECT_EQ(ZRBAfx::MsgBox("Something happened.", c.style, c.title), c.answer);
    auto records = CADDlgBoxScript::GetRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].identifier, CADString("ZRBMsgBoxId"));
    EXPECT_EQ(records[0].title, CADUnicodeString(c.shownTitle));
    EXPECT_EQ(records[0].style, c.style);
  }
}

TEST_F(MsgBoxTest, RaisesTheMainWindowTracesTheBoxAndReleasesIt) {
  CADApplication application;
  CaptureTrace();
  ExpectBox("ZRBAddTempCmd.AddTempFailed", CADDlgNfyAnswerOK);
  ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBAddTempCmd", "ZRBAddTempCmd.AddTempFailed"), 0x8000200);
  EXPECT_EQ(application.GetMainWindow().GetRaiseCount(), 1);
  EXPECT_NE(trace.str().find("MessageBox: [ZRB]The temporary part could not be added"), std::string::npos)
      << trace.str();
  EXPECT_EQ(CADDlgReaper::CountPending(), 1);  // the box goes at the end of the loop turn
  CADDlgReaper::Flush();
  EXPECT_TRUE(CADDlgDialog::GetAllWindows().empty());
}

TEST_F(MsgBoxTest, ASessionWithoutMainWindowStillAsks) {
  CADApplicationFrame::SetAbsent(true);
  ExpectBoxText("Continue?", CADDlgNfyAnswerYes);
  EXPECT_EQ(ZRBAfx::MsgBox("Continue?", 0x800200, "Title"), CADDlgNfyAnswerYes);
  CADDlgReaper::Flush();
  EXPECT_TRUE(CADDlgDialog::GetAllWindows().empty());
  CADApplicationFrame::SetAbsent(false);
}

}  // namespace
