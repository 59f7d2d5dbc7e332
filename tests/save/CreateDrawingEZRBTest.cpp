// New drawings join the extended structure file under the typed name, each with an identity of its own; hostile
// names, Cancel and a session without a structure-file read leave the file as it was.
#include <gtest/gtest.h>

#include "CADDlgReaper.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CommandFixture.h"
#include "XmapScratchDirectory.h"
#include "ZRBCreateDrawingEZRBCmd.h"
#include "ZRBInfoUtil.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {

class CreateDrawingEZRBTest : public CommandFixture {
 protected:
  void TearDown() override {
    CADDlgReaper::Flush();
    CADDocumentServices::ResetSession();
    ZRBInfoUtil::SetDataModelValue("");
    CommandFixture::TearDown();
  }
  // Opens a new drawing, starts the command and answers its dialog (null: Cancel); the drawing's identity.
  std::string Run(const char* name) {
    CADDocument* drawing = nullptr;
    CADFrmWindow* window = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADDrawing", drawing), S_OK);
    EXPECT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(drawing, window), S_OK);
    (new ZRBCreateDrawingEZRBCmd())->Activate(nullptr, nullptr);
    CADDialogDriver& driver = Dialogs().Driver();
    if (driver.IsOpen("ZRBTextBoxDialog")) {
      if (name) {
        EXPECT_TRUE(driver.TypeText("ZRBTextBoxDialog", "ZRBTextBoxEditor", name));
      }
      EXPECT_TRUE(driver.PressWindowButton("ZRBTextBoxDialog", name ? CADDlgEvent::OK : CADDlgEvent::Cancel));
    }
    Loop().RunPending();
    return GlobPropertyManager.GetFileProperty(drawing->StorageName(), "ZRB_OBID").str();
  }
  XmapScratchDirectory xmap_;
};

TEST_F(CreateDrawingEZRBTest, EachNewDrawingJoinsTheFileOnceWithItsOwnIdentity) {
  SetVariable("ZRBXMAP", xmap_.Root().c_str());
  const std::string before = xmap_.Write("eZRBstructure", "@ROOT\n{DOCCOMS} \n\n");
  EXPECT_EQ(Run("Sheet-1"), "") << "no structure-file read yet";
  ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  for (const char* refused : {"../evil", "a/b", "", static_cast<const char*>(nullptr)}) EXPECT_EQ(Run(refused), "");
  EXPECT_EQ(xmap_.Read("eZRBstructure"), "@ROOT\n{DOCCOMS} \n\n");
  EXPECT_EQ(Run("Sheet-1"), "EZRB_OBID_I");
  EXPECT_EQ(Run("Sheet-2"), "EZRB_OBID_II");
  ZRBObjectManager file;
  ASSERT_TRUE(file.Read(CADUnicodeString(before)));
  EXPECT_EQ(file.GetObject("ROOT")->GetSlotValueList("DOCCOMS"), (CADListValCADString{"ROOT.I", "ROOT.II"}));
  const ZRBObject* drawing = file.GetObject("ROOT.II");
  ASSERT_NE(drawing, nullptr);
  EXPECT_EQ(drawing->GetSlotValue("CREATE_CADDRAWING_AND_DOCUMENT"), "1");
}

}  // namespace
