// The structure file after a save: its hierarchical keys, and a small file brought up to a saved move, a changed
// part and a created part.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CommandFixture.h"
#include "XmapScratchDirectory.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
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

}  // namespace
