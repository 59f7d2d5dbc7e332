#include <gtest/gtest.h>

#include "CADApplicationFrame.h"
#include "CADDlgEditor.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "MessagesFixture.h"
#include "ZRBMessageCenter.h"
#include "ZRBMessageDialog.h"
#include "ZRBMessageDialogExt.h"

namespace {

using MessageCentreTest = MessagesFixture;

TEST_F(MessageCentreTest, ChoosesTheVariantStatusAndPagesFromTheOutcome) {
  WriteSiteCatalog("ZRBListMessages.msg", "Load = Loaded:\n");
  CADListValCADUnicodeString categorised;
  ZRBAfx::AddMessageCategoryToList(categorised, "Load", "part.prt");
  struct Case {
    int success, successVariant, failureVariant;
    CADListValCADUnicodeString warnings, informations;
    int variant;
    const char* status;
    CADListValCADUnicodeString shownWarnings, shownInformations;
    bool warningsOn, informationsOn;
    const char* page;
  };
  const std::vector<Case> cases = {
      {1, 0, 0, {}, {"done"}, 1, "ok", {}, {"done"}, false, true, "ZRBInformations"},
      {1, 1, 0, {"careful\nsecond line"}, {}, 3, "ok", {"careful", "second line"}, {}, true, false, "ZRBWarnings"},
      {0, 1, 0, {"broken"}, categorised, 2, "failed", {"broken"}, {"Loaded:", "part.prt"}, true, true, "ZRBWarnings"},
      {0, 0, 1, {}, {}, 3, "failed", {}, {}, false, false, "ZRBWarnings"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status + std::to_string(c.variant));
    ZRBMessageCenter::Display(c.success, c.successVariant, "ok", "failed", c.failureVariant, c.warnings,
                              c.informations);
    MessageCentreView view = LastMessageCentre();
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.identifier, CADString("ZRBMessageDialog"));
    EXPECT_EQ(view.variant, c.variant);
    EXPECT_EQ(view.status, CADUnicodeString(c.status));
    EXPECT_EQ(view.warnings, c.shownWarnings);
    EXPECT_EQ(view.informations, c.shownInformations);
    EXPECT_EQ(view.warningPageSensitive, c.warningsOn);
    EXPECT_EQ(view.informationPageSensitive, c.informationsOn);
    EXPECT_EQ(view.selectedPage, CADString(c.page));
    ASSERT_TRUE(Driver().PressWindowButton(view.identifier.view(), CADDlgEvent::Close));
    EXPECT_FALSE(LastMessageCentre().found);
  }
}

TEST_F(MessageCentreTest, TheSamPrefixGivesTheSamDialog) {
  SetPrefix("SAM");
  ZRBMessageCenter::Display(1, 0, "ok", "failed", 0, {}, {"info"});
  MessageCentreView view = LastMessageCentre();
  EXPECT_EQ(view.identifier, CADString("ZRBSamMessageDialog"));
  EXPECT_EQ(Driver().GetTitle("ZRBSamMessageDialog"), CADUnicodeString("SAM Messages"));
  SetPrefix("SAMX");
  ZRBMessageDialog* plain = ZRBAfx::ZRBGenMessageDialog();
  EXPECT_EQ(plain->GetName(), CADString("ZRBMessageDialog"));
  plain->RequestDelayedDestruction();
}

TEST_F(MessageCentreTest, ASelectedLineIsShownWrappedInTheOutputBox) {
  const CADUnicodeString longLine(
      "The document /projects/engine/block.prt could not be saved because the PDM reported that it is locked by "
      "another user of the vault");
  ZRBMessageCenter::Display(0, 0, "ok", "failed", 0, {longLine, "short"}, {});
  ASSERT_TRUE(Driver().SelectRows("ZRBMessageDialog", "ZRBWarningList", {0}));
  CADListValCADUnicodeString shown = Driver().GetLines("ZRBMessageDialog", "ZRBOutputBox");
  int width = static_cast<int>(Driver().GetVisibleTextWidth("ZRBMessageDialog", "ZRBOutputBox") * 1.5);
  EXPECT_EQ(shown, ZRBMessageDialog::WrapText(longLine, width));
  EXPECT_GT(shown.Size(), 1);
  ASSERT_TRUE(Driver().SelectRows("ZRBMessageDialog", "ZRBWarningList", {}));
  EXPECT_TRUE(Driver().GetText("ZRBMessageDialog", "ZRBOutputBox").IsEmpty());
}

TEST(ZRBMessageDialogWrap, BreaksAtTheLastBlankOnceTheWidthIsReached) {
  struct Case {
    const char* text;
    int width;
    CADListValCADUnicodeString lines;
  };
  const std::vector<Case> cases = {
      {"short", 10, {"short"}},
      {"", 5, {""}},
      {"abcdefghijklmnopqrstuvwxyz", 5, {"abcdefghijklmnopqrstuvwxyz"}},  // no blank: never broken
      {"aaa bbb ccc ddd", 8, {"aaa bbb", "ccc ddd"}},
      {"aaa bbb ccc ddd", 5, {"aaa", "bbb", "ccc", "ddd"}},
      {"averyverylongword tail", 5, {"averyverylongword", "tail"}},
      {"ab cd", 5, {"ab", "cd"}},              // as long as the width: walked, broken at its blank
      {"äöü äöü äöü", 8, {"äöü äöü", "äöü"}},  // widths count characters, not bytes
      {"one  two", 4, {"one", "", "two"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ZRBMessageDialog::WrapText(c.text, c.width), c.lines) << c.text << " / " << c.width;
}

TEST_F(MessageCentreTest, NothingIsAddedBeforeBuild) {
  auto* dialog = new ZRBMessageDialog(CADApplicationFrame::GetFrame()->GetMainWindow());
  dialog->AddWarning("lost");
  dialog->SetStatusMessage("lost");
  dialog->DisableTabPage(0);
  dialog->SetActualPage();
  dialog->SetOutBoxText("lost");
  EXPECT_TRUE(dialog->GetChildren().empty());
  dialog->Build2();
  EXPECT_NE(dialog->FindDescendant("ZRBStatusIcon2"), nullptr);
  dialog->Build();  // built once
  EXPECT_EQ(dialog->FindDescendant("ZRBStatusIcon"), nullptr);
}

TEST_F(MessageCentreTest, TheEditorVariantSelectsTheObjectOfAChosenLine) {
  CADDocumentServices::ResetSession();
  CADDocument* document = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", document), S_OK);
  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
  CADFrmEditor* editor = window->GetEditor();
  CADPathElement part{CADBaseUnknown_var(document)};

  auto* dialog = new ZRBMessageDialogExt(CADApplicationFrame::GetFrame()->GetMainWindow(), editor);
  dialog->Build();
  dialog->AddWarning("first\nsecond", part);  // both lines carry the object
  dialog->AddWarning("third");                // no object
  dialog->SetVisibility(CADDlgShow);

  EXPECT_TRUE(Driver().SelectRows("ZRBMessageDialog", "ZRBWarningList", {1}));
  EXPECT_EQ(Driver().GetText("ZRBMessageDialog", "ZRBOutputBox"), CADUnicodeString("second"));
  ASSERT_EQ(editor->GetCSO()->GetSize(), 1);
  EXPECT_TRUE(*editor->GetCSO()->GetElement(1) == part);
  unsigned long changes = editor->GetCSO()->GetChangeCount();
  EXPECT_TRUE(Driver().SelectRows("ZRBMessageDialog", "ZRBWarningList", {2}));
  EXPECT_EQ(editor->GetCSO()->GetChangeCount(), changes);  // a line without an object leaves the selection
  Driver().CloseWindow("ZRBMessageDialog");
  CADDocumentServices::ResetSession();
}

}  // namespace
