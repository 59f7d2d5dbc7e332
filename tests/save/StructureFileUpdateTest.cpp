// The structure file after a save: its hierarchical keys, and a small file brought up to a saved move, a changed
// part and a created part.
// New drawings join the extended file once each under the typed name; hostile names and Cancel leave it alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CADDlgReaper.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CommandFixture.h"
#include "XmapScratchDirectory.h"
#include "ZRBCreateDrawingEZRBCmd.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBStructureFileUpdate.h"

namespace {

class StructureFileUpdateTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    SetVariable("ZRBXMAP", xmap_.Root().c_str());
  }
  // The PDM's answer from its exchange-file text.
  ZRBObjectManager Answer(const std::string& text) {
    ZRBObjectManager answer;
    EXPECT_TRUE(answer.Read(CADUnicodeString(xmap_.Write("answer.zrb", text))));
    return answer;
  }
  XmapScratchDirectory xmap_;
  CADListValCADUnicodeString messages_;
  ZRBStructureFileUpdate update_{false, messages_};
};

TEST_F(StructureFileUpdateTest, KeysAreHierarchicalAndModelsCountInRomanNumerals) {
  EXPECT_EQ(ZRBStructureFileUpdate::GetFatherObjectKeyID("1.2.III"), "1.2");
  EXPECT_EQ(ZRBStructureFileUpdate::GetFatherObjectKeyID("IT1"), "");
  struct Split {
    const char* key;
    int result, number;
    const char* prefix;
  };
  for (const Split& c : {Split{"1.2.III", 1, 3, "1.2."}, Split{"1.2.14", 1, 14, "1.2."}, Split{"A.XLIX", 1, 49, "A."},
                         Split{"A.IIII", 0, 0, "A."}, Split{"A.", 0, 0, "A."}, Split{"nodot", 0, 0, ""}}) {
    SCOPED_TRACE(c.key);
    int number = -1;
    CADString prefix;
    EXPECT_EQ(update_.GetKeyIDAsIntAndPrefixString(c.key, number, prefix), c.result);
    EXPECT_EQ(number, c.number);
    EXPECT_EQ(prefix, c.prefix);
  }
  struct Generate {
    int highest;
    const char* type;
    const char* key;
  };
  for (const Generate& c : {Generate{0, "MODEL", "P.I"}, Generate{3, "MODEL", "P.IV"}, Generate{8, "MODEL", "P.IX"},
                            Generate{1993, "MODEL", "P.MCMXCIV"}, Generate{3999, "MODEL", ""},
                            Generate{9, "RELATION", "P.10"}, Generate{2, "PART", ""}}) {
    SCOPED_TRACE(std::to_string(c.highest) + c.type);
    EXPECT_EQ(update_.GenerateNewKeyID(c.highest, "P.", c.type), c.key);
  }
  EXPECT_EQ(messages_.Size(), 2) << "the key without a dot and the unknown type";
}

TEST_F(StructureFileUpdateTest, TheFileFollowsTheSavedMoveChangeAndCreation) {
  xmap_.Write("sZRBstructure",
              "@ROOT\n{SUBASSRELATIONS} {ROOT_REL_1}\n\n"
              "@ROOT_REL_1\n{ASS_ITEM_ID} A\n\n"
              "@A\n{OBID} A\n{SUBASSRELATIONS} {A.1}\n\n"
              "@A.1\n{ASS_ITEM_ID} A.I\n{REL_OBID} R1\n{MATRIX} 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1\n\n"
              "@A.I\n{ID} P\n{OBID} P\n\n");
  ZRBObjectManager answer = Answer(
      "@ROOT\n{OBID} A\n{SUBASSEMBLIES} {0} {1}\n\n"
      "@0\n{OBID} P\n{REL_OBID} R1\n{UPD_GEOMETRY} 1\n{UPD_MATRIX} 1\n{MATRIX} 1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1\n\n"
      "@1\n{OBID} NEW\n{CREATE_PART_SUCCESS} 1\n{PARTNUMBER} Spacer\n{INSTANCENAME} Spacer.1\n{DOCREL_ID} R2\n\n");
  ASSERT_EQ(update_.UpdateSZRBStructure(answer), 1) << (messages_.Size() ? messages_[1].str() : "");
  ZRBObjectManager file;
  ASSERT_TRUE(file.Read(CADUnicodeString(xmap_.Path("sZRBstructure"))));
  EXPECT_EQ(file.GetObject("A.1")->GetSlotValue("S_ZRB_CHANGED_POS"), "1");
  EXPECT_EQ(file.GetObject("A.1")->GetSlotValue("MATRIX"), "1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1");
  EXPECT_EQ(file.GetObject("A.I")->GetSlotValue("S_ZRB_CHANGED_GEO"), "1");
  // The new part is the father's second model and second relation.
  EXPECT_EQ(file.GetObject("A")->GetSlotValueList("SUBASSRELATIONS"), CADListValCADString({"A.1", "A.2"}));
  ASSERT_NE(file.GetObject("A.II"), nullptr);
  EXPECT_EQ(file.GetObject("A.II")->GetSlotValue("ID"), "NEW");
  EXPECT_EQ(file.GetObject("A.2")->GetSlotValue("ASS_ITEM_ID"), "A.II");
  EXPECT_EQ(file.GetObject("A.2")->GetSlotValue("REL_OBID"), "R2");

  // A file that is gone stays gone; the answer is not forced onto anything.
  std::filesystem::remove(xmap_.Path("sZRBstructure"));
  ExpectBox("ZRBUpdateCmd.NoFileAccessSZRB", 1);
  EXPECT_EQ(update_.UpdateSZRBStructure(answer), 0);
}

// The extended variant also places a copied part (a new relation to a known model, once however often the answer
// is merged) and takes out the children the PDM removed; what the PDM refused stays as it was.
TEST_F(StructureFileUpdateTest, TheExtendedFilePlacesCopiesAndTakesOutRemovedChildren) {
  ZRBStructureFileUpdate extended{true, messages_};
  xmap_.Write("eZRBstructure",
              "@ROOT\n{SUBASSRELATIONS} {A.0}\n\n@A.0\n{ASS_ITEM_ID} A\n\n"
              "@A\n{OBID} A\n{SUBASSRELATIONS} {A.1} {A.2}\n\n"
              "@A.1\n{ASS_ITEM_ID} A.I\n{REL_OBID} R1\n{INSTANCE_NAME} P.1\n\n"
              "@A.2\n{ASS_ITEM_ID} A.I\n{REL_OBID} R2\n{INSTANCE_NAME} P.2\n\n@A.I\n{ID} P\n\n");
  ZRBObjectManager answer = Answer(
      "@ROOT\n{OBID} A\n{SUBASSEMBLIES} {0} {1}\n\n"
      "@0\n{OBID} P\n{CREATE_MODEL_RELATION_ONLY} 1\n{INSTANTIATE_SUCCESS} 1\n{INSTANCENAME} 0\n{DOCREL_ID} 0\n\n"
      "@1\n{OBID} P\n{CREATE_MODEL_RELATION_ONLY} 1\n{INSTANTIATE_SUCCESS} 0\n{INSTANCENAME} 1\n{DOCREL_ID} 1\n\n"
      "@2\n{PARENT_OBID} {A}\n{REMOVED_SUBASS} {P.1}\n{REL_OBID} {R1}\n{REMOVE_SUCCESS} 1\n\n");
  for (int pass = 0; pass < 2; ++pass) {
    ASSERT_EQ(extended.UpdateSZRBStructure(answer), 1) << (messages_.Size() ? messages_[1].str() : "");
  }
  ZRBObjectManager file;
  ASSERT_TRUE(file.Read(CADUnicodeString(xmap_.Path("eZRBstructure"))));
  const ZRBObject* father = file.GetObject("A");
  EXPECT_EQ(father->GetSlotValueList("SUBASSRELATIONS"), CADListValCADString({"A.2", "A.3"}));
  EXPECT_EQ(father->GetSlotValueList("REMOVED_SUBASSEMBLIES"), CADListValCADString({"A.1"}));
  EXPECT_EQ(file.GetObject("A.1")->GetSlotValue("REMOVE_REL_IN_PDM"), "1");
  EXPECT_EQ(file.GetObject("A.3")->GetSlotValue("ASS_ITEM_ID"), "A.I");
  EXPECT_EQ(file.GetObject("A.3")->GetSlotValue("REL_OBID"), "0");
  EXPECT_EQ(file.GetObject("A.4"), nullptr) << "the refused copy and a second merge add nothing";
}

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
