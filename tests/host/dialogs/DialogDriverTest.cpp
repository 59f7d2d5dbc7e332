#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CADApplicationFrame.h"
#include "CADDlgBoxScript.h"
#include "CADDlgCheckButton.h"
#include "CADDlgCombo.h"
#include "CADDlgDialog.h"
#include "CADDlgEditor.h"
#include "CADDlgFrame.h"
#include "CADDlgLabel.h"
#include "CADDlgMultiList.h"
#include "CADDlgNotify.h"
#include "CADDlgPushButton.h"
#include "CADDlgReaper.h"
#include "CADDlgSelectorList.h"
#include "CADDlgTabContainer.h"
#include "CADDlgTabPage.h"
#include "CADEventLoop.h"
#include "HostDialogFixture.h"

namespace {

// A small dialog with one of each control, the way module dialogs build theirs.
class SampleDialog : public CADDlgDialog {
 public:
  explicit SampleDialog(CADDialog* parent) : CADDlgDialog(parent, "Sample", CADDlgWndBtnOKCancel) {
    list->SetColumnTitles({"Name", "State", "Hidden"});
    list->SetColumnVisibility(2, CADDlgHide);
    list->AddRow({"a", "new", "-1"});
    list->AddRow({"b", "old", "-1"});
    lines->SetLine("only");
    combo->SetLine("x");
    combo->SetLine("y");
    icon->SetIconName("StatusIconSuccess");
    auto log = [this](const char* what) { return [this, what](CADDialog&) { events.push_back(what); }; };
    push->Connect(CADDlgEvent::Push, log("push"));
    check->Connect(CADDlgEvent::CheckChanged, log("check"));
    list->Connect(CADDlgEvent::SelectionChanged, log("select"));
    list->Connect(CADDlgEvent::Activate, log("activate"));
    tabs->Connect(CADDlgEvent::SelectionChanged, log("tab"));
    editor->Connect(CADDlgEvent::TextModified, log("text"));
    combo->Connect(CADDlgEvent::SelectionChanged, log("combo"));
    Connect(CADDlgEvent::OK, log("ok"));
    Connect(CADDlgEvent::WindowClose, [this](CADDialog&) { RequestDelayedDestruction(); });
    SetVisibility(CADDlgShow);
  }
  CADDlgFrame* frame = new CADDlgFrame(this, "Frame");
  CADDlgPushButton* push = new CADDlgPushButton(frame, "Push");
  CADDlgCheckButton* check = new CADDlgCheckButton(frame, "Check");
  CADDlgTabContainer* tabs = new CADDlgTabContainer(this, "Tabs");
  CADDlgTabPage* first = new CADDlgTabPage(tabs, "First");
  CADDlgTabPage* second = new CADDlgTabPage(tabs, "Second");
  CADDlgMultiList* list = new CADDlgMultiList(first, "Jobs");
  CADDlgSelectorList* lines = new CADDlgSelectorList(second, "Lines");
  CADDlgEditor* editor = new CADDlgEditor(this, "Edit");
  CADDlgEditor* trace = new CADDlgEditor(this, "Trace", CADDlgEdtReadOnly);
  CADDlgCombo* combo = new CADDlgCombo(this, "Combo");
  CADDlgLabel* icon = new CADDlgLabel(this, "Icon");
  std::vector<std::string> events;
};

class DialogDriverTest : public HostDialogFixture {
 protected:
  void SetUp() override {
    HostDialogFixture::SetUp();
    dialog = new SampleDialog(CADApplicationFrame::GetFrame()->GetMainWindow());
    recorder.SetFailureHandler(nullptr);  // failures only recorded: the table below expects them
  }
  SampleDialog* dialog = nullptr;
  CADDialogDriver recorder;
};

TEST_F(DialogDriverTest, ActionsReachControlsAndFireTheirNotificationsSynchronously) {
  EXPECT_TRUE(Driver().Push("Sample", "Push"));
  EXPECT_TRUE(Driver().SetCheck("Sample", "Check", true));
  EXPECT_TRUE(Driver().SetCheck("Sample", "Check", true));  // no change, no notification
  EXPECT_TRUE(Driver().ActivateRow("Sample", "Jobs", 1));   // selects, then activates
  EXPECT_TRUE(Driver().SelectTab("Sample", "Second"));
  EXPECT_TRUE(Driver().TypeText("Sample", "Edit", "typed"));
  EXPECT_TRUE(Driver().SelectComboLine("Sample", "Combo", 1));
  EXPECT_TRUE(Driver().PressWindowButton("Sample", CADDlgEvent::OK));
  EXPECT_EQ(dialog->events,
            (std::vector<std::string>{"push", "check", "select", "activate", "tab", "text", "combo", "ok"}));
  EXPECT_EQ(Driver().GetSelectedRows("Sample", "Tabs.First.Jobs"), std::vector<int>{1});
  EXPECT_EQ(Driver().GetComboSelection("Sample", "Combo"), 1);
  EXPECT_FALSE(dialog->list->IsColumnVisible(2));
}

TEST_F(DialogDriverTest, RejectsWhatAUserCouldNotReach) {
  struct Case {
    const char* name;
    std::function<void(SampleDialog&)> arrange;
    std::function<bool(CADDialogDriver&)> act;
    const char* why;
  };
  const std::vector<Case> cases = {
      {"insensitive button", [](auto& d) { d.push->SetSensitivity(CADDlgDisable); },
       [](auto& r) { return r.Push("Sample", "Push"); }, "insensitive"},
      {"button in insensitive frame", [](auto& d) { d.frame->SetSensitivity(CADDlgDisable); },
       [](auto& r) { return r.SetCheck("Sample", "Check", true); }, "insensitive"},
      {"hidden button", [](auto& d) { d.push->SetVisibility(CADDlgHide); },
       [](auto& r) { return r.Push("Sample", "Push"); }, "not visible"},
      {"list on unselected page", [](auto& d) { d.tabs->SetSelectedPage(d.second); },
       [](auto& r) { return r.SelectRows("Sample", "Jobs", {0}); }, "not visible"},
      {"disabled tab page", [](auto& d) { d.second->SetSensitivity(CADDlgDisable); },
       [](auto& r) { return r.SelectTab("Sample", "Second"); }, "insensitive"},
      {"read-only editor", [](auto&) {}, [](auto& r) { return r.TypeText("Sample", "Trace", "x"); }, "read-only"},
      {"two rows in a single-selection list", [](auto&) {},
       [](auto& r) {
         return r.SelectRows("Sample", "Jobs", std::vector<int>{0, 1});
       },
       "one row"},
      {"row outside the list", [](auto&) {}, [](auto& r) { return r.ActivateRow("Sample", "Jobs", 5); }, "no row 5"},
      {"window button the dialog lacks", [](auto&) {},
       [](auto& r) { return r.PressWindowButton("Sample", CADDlgEvent::Close); }, "no Close button"},
      {"insensitive window", [](auto& d) { d.SetSensitivity(CADDlgDisable); },
       [](auto& r) { return r.PressWindowButton("Sample", CADDlgEvent::OK); }, "insensitive"},
      {"closed window", [](auto& d) { d.SetVisibility(CADDlgHide); }, [](auto& r) { return r.Push("Sample", "Push"); },
       "no open dialog"},
      {"push on a label", [](auto&) {}, [](auto& r) { return r.Push("Sample", "Icon"); }, "not a push button"},
      {"unknown control", [](auto&) {}, [](auto& r) { return r.Push("Sample", "Nope"); }, "has no control"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    delete dialog;
    dialog = new SampleDialog(CADApplicationFrame::GetFrame()->GetMainWindow());
    c.arrange(*dialog);
    size_t before = recorder.GetFailures().size();
    EXPECT_FALSE(c.act(recorder));
    ASSERT_EQ(recorder.GetFailures().size(), before + 1);
    EXPECT_NE(recorder.GetFailures().back().find(c.why), std::string::npos) << recorder.GetFailures().back();
    EXPECT_TRUE(dialog->events.empty());
  }
}

TEST_F(DialogDriverTest, ARejectedActionFailsTheTest) {
  dialog->push->SetSensitivity(CADDlgDisable);
  EXPECT_NONFATAL_FAILURE(Driver().Push("Sample", "Push"), "push rejected");
}

TEST_F(DialogDriverTest, DestructionRequestedInsideANotificationWaitsForTheEndOfTheAction) {
  int afterRequest = 0;
  dialog->push->Connect(CADDlgEvent::Push, [&](CADDialog& sender) {
    sender.GetDialogWindow()->RequestDelayedDestruction();
    afterRequest = sender.GetName() == "Push";  // the object is still whole here
  });
  dialog->push->Connect(CADDlgEvent::Push, [&](CADDialog&) { ++afterRequest; });
  EXPECT_TRUE(Driver().Push("Sample", "Push"));
  EXPECT_EQ(afterRequest, 2);
  EXPECT_FALSE(Driver().IsOpen("Sample"));
  EXPECT_EQ(CADDlgReaper::CountPending(), 0);
  EXPECT_TRUE(CADDlgDialog::GetAllWindows().empty());
  dialog = nullptr;
}

TEST_F(DialogDriverTest, ADisconnectInsideTheNotificationHoldsAndTheSessionLoopPerformsTheDestruction) {
  int calls = 0, id = 0;
  id = dialog->push->Connect(CADDlgEvent::Push, [&](CADDialog& sender) {
    ++calls;
    sender.Disconnect(id);
  });
  Driver().Push("Sample", "Push");
  Driver().Push("Sample", "Push");
  EXPECT_EQ(calls, 1);
  CADEventLoop::Instance().Reset();
  dialog->RequestDelayedDestruction();
  dialog->RequestDelayedDestruction();  // once is enough
  EXPECT_EQ(CADDlgReaper::CountPending(), 1);
  EXPECT_FALSE(Driver().IsOpen("Sample"));  // on its way out: no longer open
  CADEventLoop::Instance().RunPending();
  EXPECT_EQ(CADDlgReaper::CountPending(), 0);
  EXPECT_TRUE(CADDlgDialog::GetAllWindows().empty());
  dialog = nullptr;
}

TEST(DialogBoxScript, AnUnexpectedBoxOrAMissingExpectedOneFailsTheTestAtTheEnd) {
  HostDialogSetup unexpected;
  unexpected.Start();
  CADDlgNotify box(nullptr, "ZRBMsgBoxId", 0x800200);
  EXPECT_EQ(box.DisplayBlocked("Replace it?", "ZRB"), CADDlgNfyAnswerNo) << "the safe answer";
  EXPECT_NONFATAL_FAILURE(unexpected.Finish(), "unexpected message box");

  HostDialogSetup missing;
  missing.Start();
  missing.ExpectBoxText("never*", CADDlgNfyAnswerOK);
  EXPECT_NONFATAL_FAILURE(missing.Finish(), "never shown");
}

TEST(DialogBoxScript, Patterns) {
  struct PatternCase {
    const char* pattern;
    const char* text;
    bool match;
  };
  for (auto c : {PatternCase{"abc", "abc", true}, PatternCase{"abc", "abcd", false}, PatternCase{"a*c", "abbbc", true},
                 PatternCase{"a*c", "ab", false}, PatternCase{"*", "", true}, PatternCase{"**x", "yyx", true},
                 PatternCase{"a*b*c", "aXbYbZc", true}, PatternCase{"", "x", false}, PatternCase{"x*", "x", true}})
    EXPECT_EQ(CADDlgBoxScript::Matches(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
}

}  // namespace
