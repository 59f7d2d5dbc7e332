// A new drawing joins the extended structure file under the name the designer types: each gets an identity of
// its own, a hostile name or a cancelled dialog changes nothing, and without a structure-file read nothing starts.
#include <gtest/gtest.h>

#include <string>

#include "CADDlgReaper.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CommandFixture.h"
#include "XmapScratchDirectory.h"
#include "ZRBAfx.h"
#include "ZRBCreateDrawingEZRBCmd.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {

class CreateDrawingEZRBTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    SetVariable("ZRBXMAP", xmap_.Root().c_str());
    xmap_.Write("eZRBstructure", "@ROOT\n{SUBASSRELATIONS} \n{DOCCOMS} \n\n");
    ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  }
  void TearDown() override {
    CADDlgReaper::Flush();
    CADDocumentServices::ResetSession();
    ZRBInfoUtil::SetDataModelValue("");
    CommandFixture::TearDown();
  }
  // Opens a new drawing, starts the command and answers its dialog (`name` null: Cancel).
  CADDocument* Run(const char* name) {
    CADDocument* drawing = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADDrawing", drawing), S_OK);
    CADFrmWindow* window = nullptr;
    EXPECT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(drawing, window), S_OK);
    (new ZRBCreateDrawingEZRBCmd())->Activate(nullptr, nullptr);
    if (Dialogs().Driver().IsOpen("ZRBTextBoxDialog")) {
      if (name) {
        EXPECT_TRUE(Dialogs().Driver().TypeText("ZRBTextBoxDialog", "ZRBTextBoxEditor", name));
      }
      EXPECT_TRUE(
          Dialogs().Driver().PressWindowButton("ZRBTextBoxDialog", name ? CADDlgEvent::OK : CADDlgEvent::Cancel));
    }
    Loop().RunPending();
    return drawing;
  }
  static std::string Obid(CADDocument* drawing) {
    return GlobPropertyManager.GetFileProperty(drawing->StorageName(), "ZRB_OBID").str();
  }
  XmapScratchDirectory xmap_;
};

TEST_F(CreateDrawingEZRBTest, EachDrawingJoinsTheFileWithItsOwnIdentity) {
  CADDocument* first = Run("Sheet-1");
  CADDocument* second = Run("Sheet-2");
  EXPECT_EQ(first->StorageName().str(), xmap_.Path("Sheet-1.CADDrawing"));
  EXPECT_TRUE(xmap_.Exists("Sheet-2.CADDrawing"));
  EXPECT_EQ(Obid(first), "EZRB_OBID_I");
  EXPECT_EQ(Obid(second), "EZRB_OBID_II");
  ZRBObjectManager file;
  ASSERT_TRUE(file.Read(CADUnicodeString(xmap_.Path("eZRBstructure"))));
  EXPECT_EQ(file.GetObject("ROOT")->GetSlotValueList("DOCCOMS"), (CADListValCADString{"ROOT.I", "ROOT.II"}));
  const ZRBObject* drawing = file.GetObject("ROOT.II");
  ASSERT_NE(drawing, nullptr);
  EXPECT_EQ(drawing->GetSlotValue("CREATE_CADDRAWING_AND_DOCUMENT"), "1");
  EXPECT_EQ(drawing->GetSlotValue("PARTNUMBER"), "Sheet-2");
  EXPECT_EQ(drawing->GetSlotValue("CLASSNAME"), "x0CadDrw");
  EXPECT_EQ(Dialogs().LastMessageCentre().status, ZRBAfx::BuildMessage("ZRBUpdateCmd", "ZRBUpdateCmd.UpdateOk"));
}

TEST_F(CreateDrawingEZRBTest, RefusalsAndCancelLeaveTheFileAsItWas) {
  struct Case {
    const char* name;  // typed; null: Cancel
    bool read;         // a structure-file read left a data model
  };
  const std::string before = xmap_.Read("eZRBstructure");
  for (const Case& c :
       {Case{"../evil", true}, Case{"a/b", true}, Case{"", true}, Case{nullptr, true}, Case{"Sheet-1", false}}) {
    SCOPED_TRACE(c.name ? c.name : "cancel");
    if (!c.read) ZRBInfoUtil::SetDataModelValue("");
    CADDocument* drawing = Run(c.name);
    EXPECT_EQ(xmap_.Read("eZRBstructure"), before);
    EXPECT_TRUE(Obid(drawing).empty());
    EXPECT_FALSE(xmap_.Exists("evil.CADDrawing"));
    EXPECT_FALSE(Dialogs().Driver().IsOpen("ZRBTextBoxDialog"));
  }
  EXPECT_FALSE(xmap_.Exists("ifile.zrb")) << "nothing was merged";
}

}  // namespace
