#include <gtest/gtest.h>

#include "CADListVal.h"
#include "CADRawCollPV.h"
#include "CADUnicodeString.h"

TEST(CADListValDeathTest, OutOfRangeIndexFailsLoudly) {
  CADListValCADUnicodeString list{"only"};
  EXPECT_DEATH((void)list[0], "out of range");
  EXPECT_DEATH((void)list[2], "out of range");
  CADRawCollPV coll;
  EXPECT_DEATH((void)coll[1], "out of range");
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
