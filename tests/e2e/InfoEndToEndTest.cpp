// The info dialog over a structure read from the reference PDM: the identity each kind of object shows, the
// table of several objects, following the selection and the window, and when custom attributes are not shown.
#include <string>
#include <vector>

#include "CADDlgReaper.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBInfoCmd.h"
#include "ZRBInfoDialog.h"
#include "ZRBInfoUtil.h"
#include "ZRBPropertyManager.h"

namespace {

class InfoEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    ASSERT_TRUE(root_ = LoadIntoCad()) << "the read shows the assembly in a window";
    Pdm("journal", "clear");
  }
  void TearDown() override {
    if (ZRBInfoDialog* dialog = ZRBInfoDialog::GetCurrent()) dialog->CloseDialog();
    CADDlgReaper::Flush();
    PdmEndToEndFixture::TearDown();
  }

  // Selects the nodes (paths below the assembly, "" for the assembly itself) in the current window.
  void Select(const std::vector<std::string>& paths) {
    CADCSO* cso = CADFrmEditor::GetCurrentEditor()->GetCSO();
    cso->Empty();
    for (const std::string& path : paths) {
      std::vector<CADIProduct_var> chain;
      for (CADIProduct_var p = path.empty() ? root_ : SampleSession::Node(root_, path); p; p = p->GetFatherProduct())
        chain.insert(chain.begin(), p);
      CADPathElement element;
      for (const CADIProduct_var& p : chain) element.AddChildElement(CADBaseUnknown_var(p));
      cso->AddElement(element);
    }
  }
  ZRBInfoDialog* StartInfo() {
    Start(new ZRBInfoCmd());
    Loop().RunPending();
    return ZRBInfoDialog::GetCurrent();
  }
  std::string Column(int row, int column) {
    return Dialogs().Driver().GetCell("ZRBInfoDialog", "ZRBMultiInformationTable", row, column).str();
  }

  CADIProduct_var root_;
};

TEST_F(InfoEndToEndTest, EachKindShowsItsPdmIdentity) {
  const struct {
    std::string path, kind, partNumber;
  } cases[] = {{"", "Product", "Assembly"},
               {"Bracket.2", "Product", "Bracket"},
               {"Bracket.1/Plate.1", "Part", "Plate"},
               {"Fixings.1/Bolt.1", "Part", "Bolt"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    Select({c.path});
    ZRBInfoDialog* dialog = StartInfo();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->GetShown().size(), 1u);
    const ZRBInfos& info = dialog->GetShown()[0];
    EXPECT_EQ(Column(0, 0), c.kind);
    EXPECT_EQ(Column(0, 1), c.partNumber);
    EXPECT_EQ(info.fromPdm, 1);
    // The identity shown is the vault's OBID of the item.
    EXPECT_NE(Pdm("vault", "ls").find(Column(0, 5)), std::string::npos) << Column(0, 5);
    EXPECT_EQ(Column(0, 6), "PDM");
  }
  // A document without a product shows the identity of its file.
  LoadIntoCad("Plate-DRW");
  ZRBInfoDialog* dialog = StartInfo();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Column(0, 0), "Drawing");
  EXPECT_NE(Pdm("vault", "ls").find(Column(0, 5)), std::string::npos) << Column(0, 5);
}

TEST_F(InfoEndToEndTest, TheTableFollowsTheSelectionAndTheDialogItsWindow) {
  Select({"Bracket.1", "Bracket.1/Plate.1", "Fixings.1/Bolt.1"});
  ZRBInfoDialog* dialog = StartInfo();
  ASSERT_NE(dialog, nullptr);
  auto& driver = Dialogs().Driver();
  EXPECT_EQ(driver.GetRowCount("ZRBInfoDialog", "ZRBMultiInformationTable"), 3);
  EXPECT_EQ(driver.GetSelectedTab("ZRBInfoDialog", "ZRBInfoTabContainer").str(), "ZRBMultiInformation");
  EXPECT_EQ(Column(2, 1), "Bolt");
  // Choosing a row shows that object on the single page.
  ASSERT_TRUE(driver.SelectRows("ZRBInfoDialog", "ZRBMultiInformationTable", {1}));
  EXPECT_EQ(driver.GetText("ZRBInfoDialog", "ZRBPartnumberText").str(), "Plate");

  // The designer selects something else: the table follows without a new command.
  Select({"Bracket.2/Bolt.2"});
  EXPECT_EQ(driver.GetRowCount("ZRBInfoDialog", "ZRBMultiInformationTable"), 1);
  EXPECT_EQ(driver.GetText("ZRBInfoDialog", "ZRBPartnumberText").str(), "Bolt");
  Select({});
  EXPECT_NE(driver.GetTitle("ZRBInfoDialog", "ZRBMessageText").str().find("Select one or more"), std::string::npos);

  // A second command keeps the one dialog.
  EXPECT_EQ(StartInfo(), dialog);
  // Closing the window closes the dialog.
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().GetCurrentWindow()->Close(), S_OK);
  EXPECT_EQ(ZRBInfoDialog::GetCurrent(), nullptr);
  CADDlgReaper::Flush();
  EXPECT_FALSE(driver.IsOpen("ZRBInfoDialog"));
}

TEST_F(InfoEndToEndTest, CustomAttributesNeedAnIdentityAndASuccessfulAnswer) {
  CADListValCADString names, values;
  // Without an identity nothing is sent.
  ExpectBox("ZRBAfx.NoAttributesFound", 1);
  EXPECT_EQ(ZRBInfoUtil::GetCustomPropertiesForDialog("CADPart", "", "", "", "", names, values), 0);
  EXPECT_TRUE(Journal().empty());
  // A failed answer shows the same message and nothing else.
  PdmFault("x3GetCustomAttrsCad", "--code 0");
  ExpectBox("ZRBAfx.NoAttributesFound", 1);
  const std::string obid = GlobPropertyManager.GetReferenceProperty(root_, "ZRB_OBID").str();
  EXPECT_EQ(ZRBInfoUtil::GetCustomPropertiesForDialog("CADProduct", obid.c_str(), "", "", "", names, values), 0);
  EXPECT_EQ(names.Size(), 0);
  EXPECT_EQ(JournalActions(), std::vector<std::string>{"x3GetCustomAttrsCad"});
}

}  // namespace
