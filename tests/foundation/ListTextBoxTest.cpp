#include <gtest/gtest.h>

#include "CADDlgEditor.h"
#include "CADDlgSelectorList.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "MessagesFixture.h"
#include "ZRBListBoxDialog.h"
#include "ZRBTextBoxDialog.h"

namespace {

using ListTextBoxTest = MessagesFixture;

TEST_F(ListTextBoxTest, TheListBoxShowsLinesInCallOrderAndClosesItself) {
  auto* dialog = new ZRBListBoxDialog();
  dialog->AddListItem("before build");  // ignored: nothing to add to yet
  dialog->SetLabel("before build");
  dialog->Build();
  dialog->SetLabel("Added children:");
  for (const char* line : {"    inst.1 (P-100)", "    inst.2 (P-200)", "    inst.1 (P-100)"}) dialog->AddListItem(line);
  dialog->SetVisibility(CADDlgShow);

  EXPECT_EQ(Driver().GetLines("ZRBListBoxDialog", "ZRBListBox"),
            (CADListValCADUnicodeString{"    inst.1 (P-100)", "    inst.2 (P-200)", "    inst.1 (P-100)"}));
  EXPECT_EQ(Driver().GetTitle("ZRBListBoxDialog", "ZRBListBoxTitle"), CADUnicodeString("Added children:"));
  EXPECT_EQ(Driver().GetTitle("ZRBListBoxDialog"), CADUnicodeString("ZRB Information"));  // from its catalog

  EXPECT_TRUE(Driver().PressWindowButton("ZRBListBoxDialog", CADDlgEvent::Close));
  EXPECT_FALSE(Driver().IsOpen("ZRBListBoxDialog"));

  auto* second = new ZRBListBoxDialog();
  second->Build();
  second->SetVisibility(CADDlgShow);
  EXPECT_TRUE(Driver().CloseWindow("ZRBListBoxDialog"));
  EXPECT_TRUE(CADDlgDialog::GetAllWindows().empty());
}

TEST_F(ListTextBoxTest, TheTextBoxGivesTheTypedTextToTheCommandThatSubscribed) {
  CADDocumentServices::ResetSession();
  CADDocument* document = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADDrawing", document), S_OK);
  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
  CADFrmEditor* editor = window->GetEditor();
  auto* dialog = new ZRBTextBoxDialog(editor);
  dialog->Build();
  dialog->SetLabel("Drawing name:");
  CADUnicodeString taken;
  dialog->Connect(CADDlgEvent::OK, [&](CADDialog&) {
    taken = dialog->GetText();
    dialog->RequestDelayedDestruction();
  });
  dialog->SetVisibility(CADDlgShow);
  EXPECT_TRUE(Driver().TypeText("ZRBTextBoxDialog", "ZRBTextBoxEditor", "Sheet 'A' \"1\""));
  EXPECT_TRUE(Driver().PressWindowButton("ZRBTextBoxDialog", CADDlgEvent::OK));
  EXPECT_EQ(taken, CADUnicodeString("Sheet 'A' \"1\""));
  EXPECT_FALSE(Driver().IsOpen("ZRBTextBoxDialog"));
  CADDocumentServices::ResetSession();
}

}  // namespace
