#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CADClock.h"
#include "CADIProduct.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"
#include "ZRBTraceUtil.h"

namespace {

// A product node that answers only what the trace helpers ask.
class FakeProduct : public CADIProduct {
 public:
  FakeProduct(const char* partNumber, const char* instanceName, HRESULT nameResult = S_OK)
      : partNumber_(partNumber), instanceName_(instanceName), nameResult_(nameResult) {}
  static CADIProduct_var Make(const char* pn, const char* inst, HRESULT nameResult = S_OK) {
    return CADIProduct_var::Adopt(new FakeProduct(pn, inst, nameResult));
  }

  CADUnicodeString GetPartNumber() const override { return partNumber_; }
  HRESULT GetPrdInstanceName(CADUnicodeString& name) const override {
    if (SUCCEEDED(nameResult_)) name = instanceName_;
    return nameResult_;
  }
  HRESULT SetPartNumber(const CADUnicodeString&) override { return E_FAIL; }
  HRESULT SetPrdInstanceName(const CADUnicodeString&) override { return E_FAIL; }
  CADIProduct_var GetFatherProduct() const override { return nullptr; }
  CADIProduct_var GetReferenceProduct() const override { return nullptr; }
  int IsReference() const override { return 1; }
  int GetChildrenCount() const override { return 0; }
  CADListValCADBaseUnknown_var GetChildren() const override { return {}; }
  HRESULT AddExternalComponent(CADDocument*, CADIProduct_var&) override { return E_FAIL; }
  HRESULT AddNewComponent(const CADUnicodeString&, CADIProduct_var&) override { return E_FAIL; }
  HRESULT AddNewProduct(const CADUnicodeString&, CADIProduct_var&) override { return E_FAIL; }
  HRESULT RemoveProduct(const CADIProduct_var&) override { return E_FAIL; }
  HRESULT ReplaceComponent(const CADIProduct_var&, CADDocument*, CADIProduct_var&) override { return E_FAIL; }
  int IsEmbeddedComponent() const override { return 0; }
  HRESULT GetAllShapesNames(CADListValCADUnicodeString&, int) const override { return E_FAIL; }
  HRESULT GetShapeRepresentation(const CADUnicodeString&, CADUnicodeString&, CADUnicodeString&) const override {
    return E_FAIL;
  }
  HRESULT LoadShapeRepresentation(const CADUnicodeString&) override { return E_FAIL; }
  CADDocument* GetShapeRepresentationDocument(const CADUnicodeString&) const override { return nullptr; }
  HRESULT ReplaceDefaultShape(const CADUnicodeString&, const CADUnicodeString&) override { return E_FAIL; }
  HRESULT AddShapeRepresentation(const CADUnicodeString&, const CADUnicodeString&, const CADUnicodeString&) override {
    return E_FAIL;
  }
  HRESULT RemoveShapeRepresentation(const CADUnicodeString&) override { return E_FAIL; }
  HRESULT GetActivationState(CADBoolean&) const override { return E_FAIL; }
  HRESULT SetActivationState(CADBoolean) override { return E_FAIL; }

 private:
  CADUnicodeString partNumber_;
  CADUnicodeString instanceName_;
  HRESULT nameResult_;
};

// A component that is not a product.
class NotAProduct : public CADBaseUnknown {};

class TraceNodes : public ::testing::Test {
 protected:
  void SetUp() override {
    ZRBTrace::SetStream(&out_);
    CADClock::SetOverride([] { return CADTimeB{1700000000, 42}; });
    g_ZRBConfig.SetDebug(1);
  }
  void TearDown() override {
    g_ZRBConfig.SetDebug(0);
    CADClock::SetOverride({});
    ZRBTrace::SetStream(nullptr);
  }
  std::ostringstream out_;
};

const char* kStart = "ZRB: [1700000000 42] ZRBTraceUtil::PrintNode start \n";
const char* kEnd = "ZRB: [1700000000 42]  ZRBTraceUtil::PrintNode end OK\n";

TEST_F(TraceNodes, NodeLineShowsPartNumberAndInstanceName) {
  struct Case {
    CADIProduct_var product;
    const char* line;
  };
  const Case cases[] = {
      {FakeProduct::Make("A-100", "A-100.1"), "Node:\"A-100(A-100.1)\"\n"},
      {FakeProduct::Make("", ""), "Node:\"()\"\n"},
      {FakeProduct::Make("B-7", "unused", E_FAIL), "Node:\"B-7(-failed-)\"\n"},
      {nullptr, "Node:\"null(null)\"\n"},
  };
  for (const Case& c : cases) {
    out_.str("");
    ZRBTraceUtil::PrintNode("Node", c.product);
    EXPECT_EQ(out_.str(), std::string(kStart) + c.line + kEnd);
  }
}

TEST_F(TraceNodes, NodeListNumbersEachNodeAndTreatsNonProductsAsNull) {
  CADListValCADBaseUnknown_var nodes;
  nodes.Append(FakeProduct::Make("A", "A.1"));
  CADBaseUnknown_var other = CADBaseUnknown_var::Adopt(new NotAProduct);
  nodes.Append(other);
  ZRBTraceUtil::PrintNodeList("Children", nodes);
  EXPECT_EQ(out_.str(), std::string("ZRB: [1700000000 42] ZRBTraceUtil::PrintNodeList start \n") + "Children\n" + "1." +
                            kStart + "Node:\"A(A.1)\"\n" + kEnd + "2." + kStart + "Node:\"null(null)\"\n" + kEnd +
                            "ZRB: [1700000000 42]  ZRBTraceUtil::PrintNodeList end OK\n");

  out_.str("");
  g_ZRBConfig.SetDebug(0);
  ZRBTraceUtil::PrintNodeList("Children", nodes);
  EXPECT_EQ(out_.str(), "");
}

}  // namespace
