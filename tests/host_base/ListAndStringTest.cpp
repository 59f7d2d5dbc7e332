#include <gtest/gtest.h>

#include "CADListVal.h"
#include "CADRawCollPV.h"
#include "CADUnicodeString.h"

TEST(CADListVal, IsOneBasedAndLocatesWithZeroForAbsent) {
  CADListValCADString list{"a", "b", "a", "c"};
  EXPECT_EQ(list[1], CADString("a"));
  EXPECT_EQ(list.Locate("c"), 4);
  EXPECT_EQ(list.Locate("x"), 0);
  list.InsertAt(1, "z");
  list.RemovePosition(5);
  EXPECT_EQ(list.RemoveDuplicates(), 1);
  EXPECT_EQ(list, (CADListValCADString{"z", "a", "b"}));
  EXPECT_EQ(list.RemoveValue("b"), 1);
  EXPECT_EQ(list.Size(), 2);
}

TEST(CADListValDeathTest, OutOfRangeIndexFailsLoudly) {
  CADListValCADUnicodeString list{"only"};
  EXPECT_DEATH((void)list[0], "out of range");
  EXPECT_DEATH((void)list[2], "out of range");
  CADRawCollPV coll;
  EXPECT_DEATH((void)coll[1], "out of range");
}

TEST(CADRawCollPV, SortsStablyByComparator) {
  int a = 3, b = 1, c = 3, d = 2;
  CADRawCollPV coll;
  for (int* p : {&a, &b, &c, &d}) coll.Append(p);
  coll.QuickSort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
  EXPECT_EQ(coll[1], &b);
  EXPECT_EQ(coll[2], &d);
  EXPECT_EQ(coll[3], &a);  // equal keys keep their order
  EXPECT_EQ(coll[4], &c);
}

TEST(CADUnicodeString, TextOperations) {
  CADUnicodeString s("  Grüße/part.CADPart \n");
  CADUnicodeString t = s.Strip();
  EXPECT_EQ(t, "Grüße/part.CADPart");
  EXPECT_EQ(t.GetLengthInChar(), 18);
  EXPECT_EQ(t.GetLength(), 20);
  EXPECT_EQ(t.FindLast("."), 12);
  EXPECT_EQ(t.SubString(13), "CADPart");
  EXPECT_EQ(t.SubString(99), "");
  EXPECT_EQ(t.ToUpper().SubString(7), "/PART.CADPART");
  CADUnicodeString r("a-b-c");
  EXPECT_EQ(r.ReplaceAll("-", "--"), 2);
  EXPECT_EQ(r, "a--b--c");
  EXPECT_EQ(CADUnicodeString::BuildFromNum("%lu %hu", 1700000000ul, static_cast<unsigned short>(5)), "1700000000 5");
  std::string longText(1000, 'x');
  EXPECT_EQ(CADString::BuildFromNum("%s", longText.c_str()).GetLength(), 1000);
}
