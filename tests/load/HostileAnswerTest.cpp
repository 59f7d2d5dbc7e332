// Broken and hostile answers: cycles, dangling keys, locations leading out of the exchange map, unusable
// positions, absurd depth. None may crash, touch a file outside the exchange map or lose what could be built.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ReadFixture.h"
#include "SampleSession.h"
#include "ZRBAnswerLocation.h"
#include "ZRBCache.h"
#include "ZRBCommand.h"
#include "ZRBInstancePlacement.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"

namespace {

class HostileAnswerTest : public ReadFixture {
 protected:
  void SetUp() override {
    SetUpIn("deep/xmap");
    scratch_.Write("deep/xmap/ASM.CADProduct", StructureAnswer::ProductFile("ASM"));
    scratch_.Write("deep/xmap/BOLT.CADPart", StructureAnswer::PartFile("BOLT"));
    assembly_ = answer_->Assembly(xmap_, "ASM");
    bolt_ = answer_->Part(xmap_, "BOLT");
    answer_->Relate(nullptr, "ROOT_REL_1", "ASM", "ASM.1", ZRBPosMatrixUtil::kIdentityText, false);
    answer_->Relate(assembly_, "RL1", "BOLT", "BOLT.1", ZRBPosMatrixUtil::kIdentityText);
  }
  CADIProduct_var Assembly() const { return RootOf(xmap_ + "/ASM.CADProduct"); }

  ZRBObject* assembly_ = nullptr;
  ZRBObject* bolt_ = nullptr;
};

struct Damage {
  const char* name;
  std::function<void(StructureAnswer&, ZRBObject* assembly)> apply;
  const char* expectedChildren;  // children of ASM afterwards
  int warningState;
  const char* warningText;  // part of the error lines ("" for none)
};

TEST_F(HostileAnswerTest, DamagedAnswersBuildWhatTheyCanAndSayWhatTheyLeftOut) {
  const auto matrix = [](const char* text) {
    return [text](StructureAnswer& a, ZRBObject*) { a.Answer().GetObject("RL1")->SetSlotValue("MATRIX", text); };
  };
  const char* identity = ZRBPosMatrixUtil::kIdentityText;
  const std::vector<Damage> damages = {
      {"a relation back to its own assembly",
       [identity](StructureAnswer& a, ZRBObject* asm_) { a.Relate(asm_, "RL_BACK", "ASM", "ASM.9", identity); },
       "BOLT.1", 1, "leads back into itself at \"ASM.9\""},
      {"a relation back to the answer's root",
       [identity](StructureAnswer& a, ZRBObject* asm_) {
         ZRBObject* r = a.Relate(asm_, "RL_ROOT", "ASM", "ROOT.1", identity);
         r->SetSlotValue("ASS_ITEM_ID", "ROOT");
       },
       "BOLT.1", 1, "leads back into itself"},
      {"dangling keys in every list",
       [identity](StructureAnswer& a, ZRBObject* asm_) {
         asm_->SlotAppend("SUBASSRELATIONS", "NO_SUCH_RELATION");
         asm_->SlotAppend("SENDING_LIST", "NO_SUCH_OBJECT");
         a.Root()->SlotAppend("DOCCOMS", "NO_SUCH_DOCUMENT");
         a.Relate(asm_, "RL_DANGLING", "NOBODY", "NOBODY.1", identity);
       },
       "BOLT.1", 1, "names \"NO_SUCH_RELATION\""},
      {"a location leading out of the exchange map",
       [](StructureAnswer& a, ZRBObject*) {
         a.Answer().GetObject("DC_BOLT")->SetSlotValue("EXTERNAL_LOCATION", "../../x");
       },
       "", 1, "\"x\" could not be loaded"},  // only its name is used: the exchange map has no "x"
      {"an empty matrix", matrix(""), "BOLT.1", 1, "no usable position for \"BOLT.1\""},
      {"a matrix of fifteen numbers", matrix("1 0 0 0 0 1 0 0 0 0 1 0 0 0 0"), "BOLT.1", 1, "no usable position"},
      {"a matrix with NaN", matrix("nan 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"), "BOLT.1", 1, "no usable position"},
      {"a matrix that squashes the part flat", matrix("0 0 0 0 0 0 0 0 0 0 0 0 5 5 5 1"), "BOLT.1", 1,
       "no usable position"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    Restart();
    scratch_.Write("x", "outside the exchange map");
    scratch_.Write("deep/x", "outside the exchange map");
    damage.apply(*answer_, assembly_);

    EXPECT_EQ(Read(), 1);
    CADIProduct_var assembly = Assembly();
    ASSERT_TRUE(assembly);
    EXPECT_EQ(SampleSession::ChildNames(assembly), damage.expectedChildren);
    EXPECT_EQ(state_.warningState, damage.warningState) << Warnings();
    if (*damage.warningText) {
      EXPECT_NE(Warnings().find(damage.warningText), std::string::npos) << Warnings();
    } else {
      EXPECT_EQ(Warnings(), "");
    }
    // Nothing outside the exchange map was opened or changed.
    EXPECT_EQ(scratch_.Read("x"), "outside the exchange map");
    EXPECT_EQ(scratch_.Read("deep/x"), "outside the exchange map");
    EXPECT_FALSE(CADDocumentServices::GetDocumentInSession(scratch_.Path("x").c_str()));
    CADIProduct_var bolt = SampleSession::Child(assembly, "BOLT.1");
    if (bolt && std::string(damage.warningText).find("position") != std::string::npos) {
      // An unusable matrix leaves the default position and records no load-time position.
      double position[12];
      ASSERT_EQ(command_->GetProductPosition(bolt, assembly, position), 1);
      EXPECT_EQ(position[0], 1.0);
      EXPECT_EQ(position[9], 0.0);
      EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(assembly, bolt, "ZRB_ORIG_MATRIX").str(), "");
    }
  }
}

TEST_F(HostileAnswerTest, AnswersDeeperThanTheCapAreCutOffThere) {
  // A chain of embedded components, each below the last: no documents needed, only depth.
  ZRBObject* parent = assembly_;
  for (int level = 1; level <= ZRBStructureReader::kMaxDepth + 20; ++level) {
    const std::string partNumber = "LEVEL" + std::to_string(level);
    ZRBObject* item = answer_->Answer().CreateObject(("IT_" + partNumber).c_str());
    item->SetSlotValue("DESCRIPTION", partNumber.c_str());
    item->SetSlotValue("USE_EMBEDDED_PRODUCT", "1");
    answer_->Relate(parent, "RL_" + partNumber, partNumber, partNumber + ".1", ZRBPosMatrixUtil::kIdentityText);
    parent = item;
  }
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(state_.warningState, 1);
  EXPECT_NE(Warnings().find("nested too deeply"), std::string::npos) << Warnings();
  int depth = 0;
  for (CADIProduct_var node = SampleSession::Child(Assembly(), "LEVEL1.1"); node;
       node = SampleSession::Child(node, "LEVEL" + std::to_string(depth + 1) + ".1"))
    ++depth;
  EXPECT_GT(depth, ZRBStructureReader::kMaxDepth - 5);
  EXPECT_LT(depth, ZRBStructureReader::kMaxDepth);
}

TEST(AnswerLocationTest, OnlyNamesInsideTheExchangeMapAreAccepted) {
  struct Case {
    const char* location;
    int accepted;
  };
  // Only the name is used: what the directory part says does not matter (a relative exchange map, one spelled
  // through "sub/../" or holding a control character).
  for (const Case& c : {Case{"/home/user/xmap/BOLT.CADPart", 1}, Case{"BOLT.CADPart", 1},
                        Case{"/elsewhere/BOLT.CADPart", 1}, Case{"../../x", 1}, Case{"a/../b.CADPart", 1},
                        Case{"rel/xmap/BOLT.CADPart", 1}, Case{"/x/ma\x01p/BOLT.CADPart", 1}, Case{"...CADPart", 1},
                        Case{"..", 0}, Case{"/xmap/..", 0}, Case{"/xmap/", 0}, Case{"/xmap/.", 0}, Case{"", 0},
                        Case{"a\\..\\b", 0}, Case{"BO\nLT.CADPart", 0}, Case{"B\x01OLT", 0}})
    EXPECT_EQ(ZRBAnswerLocation::IsAcceptable(c.location), c.accepted) << c.location;
}

TEST(InstancePositionTest, OnlyFiniteNonDegenerateSixteenNumberTextsArePositions) {
  struct Case {
    const char* text;
    int position;
  };
  // Malformed texts are the text reader's; here what a well-formed text may still not be.
  const Case cases[] = {
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", 1},   {"0 1 0 0 -1 0 0 0 0 0 1 0 90 40 5 1", 1},
      {"2 0 0 0 0 2 0 0 0 0 2 0 0 0 0 1", 1},   {"", 0},
      {"1 0 0 0 0 1 0 0 0 0 1 0 inf 0 0 1", 0}, {"1 0 0 0 1 0 0 0 0 0 1 0 0 0 0 1", 0},  // two equal axes
  };
  for (const Case& c : cases) {
    double coefficients[12] = {};
    EXPECT_EQ(ZRBInstancePlacement::ReadPosition(c.text, coefficients), c.position) << c.text;
  }
}

}  // namespace
