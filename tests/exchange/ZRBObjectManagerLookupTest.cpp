// Creating and finding objects in a manager.
#include <gtest/gtest.h>

#include <string>

#include "ExchangeTestSupport.h"
#include "ZRBObjectManager.h"

namespace {
class ZRBObjectManagerLookup : public ::testing::Test {
 protected:
  void SetUp() override { ZRBObjectManager::ResetKeyCountersForTest(); }
  void TearDown() override { ZRBObjectManager::ResetKeyCountersForTest(); }
};

TEST_F(ZRBObjectManagerLookup, GeneratedKeysCountOverTheProcessAndSkipUsedKeys) {
  ZRBObjectManager first;
  EXPECT_EQ(first.CreateObject("")->GetKey(), "0");
  EXPECT_EQ(first.CreateObject("")->GetKey(), "1");
  ZRBObjectManager later;  // another command continues the count
  EXPECT_EQ(later.CreateObject("")->GetKey(), "2");
  later.CreateObject("3");
  later.CreateObject("4");
  EXPECT_EQ(later.CreateObject("")->GetKey(), "5");
  // the copy counter is its own
  EXPECT_EQ(later.CreateObjectByCopy("3", "")->GetKey(), "0");
  EXPECT_EQ(later.CreateObjectByCopy("3", "")->GetKey(), "1");
  EXPECT_EQ(later.CreateObjectByCopy("3", "")->GetKey(), "6");
}

TEST_F(ZRBObjectManagerLookup, CreateObjectByCopyCopiesSlotsOrStartsEmpty) {
  ZRBObjectManager m;
  ZRBObject* source = m.CreateObject("SRC");
  source->SetSlotValue("A", "1");
  source->SetSlotValueList("L", {"x", "y"});
  ZRBObject* copy = m.CreateObjectByCopy("SRC", "DST");
  source->SetSlotValue("A", "changed");
  EXPECT_EQ(Describe(m), "@SRC A=changed L={x} {y}|@DST A=1 L={x} {y}");
  TraceCapture trace;
  ZRBObject* none = m.CreateObjectByCopy("MISSING", "NEW");
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->GetSlotCount(), 0);
  EXPECT_EQ(none->GetKey(), "NEW");
  EXPECT_NE(trace.Text().find("MISSING"), std::string::npos);
  EXPECT_NE(copy, none);
}

TEST_F(ZRBObjectManagerLookup, GetNextObjectWalksDuplicateKeysByIdentity) {
  ZRBObjectManager m;
  ZRBObject* a1 = m.CreateObject("OBID");
  ZRBObject* b = m.CreateObject("B");
  ZRBObject* a2 = m.CreateObject("OBID");
  ZRBObject* c = m.CreateObject("C");
  EXPECT_EQ(m.GetFirstObject(), a1);
  EXPECT_EQ(m.GetNextObject(a1), b);
  EXPECT_EQ(m.GetNextObject(b), a2);
  EXPECT_EQ(m.GetNextObject(a2), c);  // a key search would loop back to b
  EXPECT_EQ(m.GetNextObject(c), nullptr);
  EXPECT_EQ(m.GetNextObject(nullptr), nullptr);
  EXPECT_EQ(m.GetObject("OBID"), a1);

  // An object of another manager is found by its key.
  ZRBObjectManager copy(m);
  EXPECT_EQ(m.GetNextObject(copy.GetObject("B")), a2);
  EXPECT_NE(copy.GetObject("B"), b);
  ZRBObjectManager other;
  ZRBObject* stranger = other.CreateObject("UNKNOWN");
  EXPECT_EQ(m.GetNextObject(stranger), nullptr);

  ZRBObjectManager empty;
  EXPECT_EQ(empty.GetFirstObject(), nullptr);
}

TEST_F(ZRBObjectManagerLookup, FindByValuesAndLists) {
  ZRBObjectManager m;
  ZRBObject* a = m.CreateObject("A");
  a->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", "7");
  a->SetSlotValue("CLASS", "Part");
  a->SetSlotValueList("FILES", {"a.CADPart", "b.CADPart"});
  ZRBObject* b = m.CreateObject("B");
  b->SetSlotValue("CLASS", "Part");
  b->SetSlotValue("NOTE", "x\ny");
  ZRBObject* c = m.CreateObject("C");
  c->SetSlotValue("class", "part");

  EXPECT_EQ(m.GetObjectByPrivateUpdateId("7"), a);
  EXPECT_EQ(m.GetObjectByPrivateUpdateId("8"), nullptr);
  EXPECT_EQ(m.GetObjectByAttrValue("class", "Part"), a);
  EXPECT_EQ(m.GetObjectByAttrValue("CLASS", "part"), c);  // values compare case-sensitively
  EXPECT_EQ(m.GetObjectByAttrValue("NOTE", "x\ny"), b);
  EXPECT_EQ(m.GetObjectByAttrValue("NOTE", ""), a);  // a missing slot reads as ""
  EXPECT_EQ(m.GetObjectBySetValue("files", "b.CADPart"), a);
  EXPECT_EQ(m.GetObjectBySetValue("files", "b.cadpart"), nullptr);

  auto set = m.GetObjectSetByAttrValue("CLASS", "Part");
  ASSERT_EQ(set->Size(), 2);
  EXPECT_EQ((*set)[1], a);
  EXPECT_EQ((*set)[2], b);
  EXPECT_EQ(m.GetObjectSetByAttrValue("CLASS", "none")->Size(), 0);
}

TEST_F(ZRBObjectManagerLookup, CopiesAreDeepAndClearDataEmpties) {
  ZRBObjectManager m;
  m.CreateObject("A")->SetSlotValue("V", "1\n2");
  ZRBObjectManager copy(m);
  ZRBObjectManager assigned;
  assigned.CreateObject("OLD");
  assigned = m;
  m.GetObject("A")->SetSlotValue("V", "changed");
  EXPECT_EQ(Describe(copy), "@A V=1@EOL@2");
  EXPECT_EQ(Describe(assigned), "@A V=1@EOL@2");
  EXPECT_EQ(assigned.GetObject("OLD"), nullptr);
  m.ClearData();
  EXPECT_EQ(m.GetObjectCount(), 0);
  EXPECT_EQ(m.GetObject("A"), nullptr);
  EXPECT_EQ(m.CreateObject("A")->GetSlotCount(), 0);
  EXPECT_NE(m.GetObject("A"), nullptr);
}

}  // namespace
