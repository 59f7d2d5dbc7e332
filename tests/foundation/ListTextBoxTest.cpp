#include <gtest/gtest.h>

#include "CADDlgSelectorList.h"
#include "MessagesFixture.h"
#include "ZRBListBoxDialog.h"

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

}  // namespace
