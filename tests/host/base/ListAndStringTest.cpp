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

#include "CADListValCADBaseUnknown.h"

namespace {
class IShape : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(IShape)
 public:
  virtual int Corners() const = 0;
};
class Square : public IShape {
 public:
  explicit Square(int* alive) : alive_(alive) { ++*alive_; }
  ~Square() override { --*alive_; }
  int Corners() const override { return 4; }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<IShape, CADBaseUnknown>(this, iid, out);
  }

 private:
  int* alive_;
};
}  // namespace

TEST(CADComponentModel, HandlesCountReferencesAndCastByInterface) {
  int alive = 0;
  {
    auto shape = CADVar<IShape>::Adopt(new Square(&alive));
    CADBaseUnknown_var base = shape;
    CADListValCADBaseUnknown_var list;
    list.Append(base);
    CADVar<IShape> again = list[1];
    EXPECT_EQ(again->Corners(), 4);
    EXPECT_TRUE(again == shape);
    void* raw = nullptr;
    ASSERT_EQ(base->QueryInterface(IShape::ClassId(), &raw), S_OK);
    static_cast<IShape*>(raw)->Release();
    EXPECT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0);
  CADVar<IShape> none;
  EXPECT_THROW(none->Corners(), CADNullHandleError);
}
