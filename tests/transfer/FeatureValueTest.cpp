// Feature-extension values as texts: the encodings per type, formats from the configuration that must never
// reach printf unchecked, numbers written with a dot under a comma-decimal locale, and values that come back
// from the PDM as they were written leaving the member's own (fuller) value alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <optional>
#include <string>

#include "CADAppFeature.h"
#include "CADDocument.h"
#include "CommaLocale.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "ZRBConfigData.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFeatureExtension.h"
#include "ZRBFeatureExtensionTransfer.h"
#include "ZRBNumberText.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"

namespace {

using Transfer = ZRBFeatureExtensionTransfer;
const std::optional<std::string> kNone;

TEST(FeatureValueTest, EachTypeHasItsTextAndUnsupportedOnesHaveNone) {
  struct Case {
    CADAttrType type;
    CADAttrValue value;
    const char* format;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {CADAttrType::Double, 2.5, "%.3f", "2.500"},
      {CADAttrType::Double, -1e-300, "%.2e", "-1.00e-300"},
      {CADAttrType::Double, 2.5, "", kNone},       // no format: skipped
      {CADAttrType::Double, 2.5, "%s", kNone},     // would read a pointer
      {CADAttrType::Double, 2.5, "%f %f", kNone},  // would read a missing argument
      {CADAttrType::Double, 2.5, "%n", kNone},     // would write memory
      {CADAttrType::Double, 2.5, "%d", kNone},     // wrong argument type
      {CADAttrType::Double, 2.5, "%.1f mm %%", "2.5 mm %"},
      {CADAttrType::Double, CADAttrValue(), "%.3f", ""},  // undefined
      {CADAttrType::Double, 0.5, "%lf", "0.500000"},
      {CADAttrType::Double, 0.5, "%Lf", kNone},  // would read a long double
      {CADAttrType::Boolean, true, "", "+"},
      {CADAttrType::Boolean, false, "", "-"},
      {CADAttrType::Boolean, CADAttrValue(), "", ""},
      {CADAttrType::Integer, -42, "%d", "-42"},
      {CADAttrType::String, CADUnicodeString("ÄÖÜäöü"), "3", "ÄÖÜ"},  // characters, not bytes
      {CADAttrType::String, CADUnicodeString("ab"), "5", "ab"},
      {CADAttrType::String, CADUnicodeString(" a b "), "", " a b "},
      {CADAttrType::Octet, CADUnicodeString("x"), "", kNone},
      {CADAttrType::SpecObject, CADUnicodeString("x"), "", kNone},
      {CADAttrType::External, CADUnicodeString("x"), "", kNone},
      {CADAttrType::Component, CADUnicodeString("x"), "", kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(Transfer::Encode(c.type, c.value, c.format), c.text) << c.format;
}

TEST(FeatureValueTest, TextsReadBackAsTheirTypeOrNotAtAll) {
  struct Case {
    CADAttrType type;
    const char* text;
    std::optional<CADAttrValue> value;
  };
  const std::optional<CADAttrValue> none;
  for (const Case& c :
       {Case{CADAttrType::Double, " 2.500 ", CADAttrValue(2.5)}, Case{CADAttrType::Double, "1e3", CADAttrValue(1000.0)},
        Case{CADAttrType::Double, "2,5", none}, Case{CADAttrType::Double, "2.5 mm", none},
        Case{CADAttrType::Double, "", none}, Case{CADAttrType::Boolean, "+", CADAttrValue(true)},
        Case{CADAttrType::Boolean, "-", CADAttrValue(false)}, Case{CADAttrType::Boolean, "", CADAttrValue()},
        Case{CADAttrType::Boolean, "true", none}, Case{CADAttrType::Integer, "+7", CADAttrValue(7)},
        Case{CADAttrType::Integer, "99999999999", none},
        Case{CADAttrType::String, "x{y", CADAttrValue(CADUnicodeString("x{y"))}, Case{CADAttrType::Octet, "x", none}})
    EXPECT_EQ(Transfer::Decode(c.type, c.text), c.value) << c.text;
}

TEST(FeatureValueTest, ACommaDecimalLocaleInTheProcessStillWritesAndReadsDots) {
  CommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a comma decimal separator can be made here";
  EXPECT_EQ(ZRBNumberText::Formatted("%.2f", 1.25), std::optional<std::string>("1.25"));
  EXPECT_EQ(ZRBNumberText::Scientific(-0.5), "-5.0000000000000000e-01");
  EXPECT_EQ(ZRBNumberText::ParseDouble("1.25"), std::optional<double>(1.25));
  char buffer[16];  // the process locale is as it was
  std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
  EXPECT_STREQ(buffer, "1,5");
}

class FeatureExtensionTransferTest : public CommandFixture {};

TEST_F(FeatureExtensionTransferTest, AValueThatComesBackAsWrittenLeavesTheMembersOwnValue) {
  ZRBConfigData data;
  ZRBFeatureExtension& hole = data.AddFeatureExtension("Machining", "Drill", "Hole");
  hole.AddAttribute("Depth", "%.1f");
  hole.AddAttribute("Code", "3");
  hole.AddAttribute("Note", "");
  g_ZRBConfig.SetConfigData(std::move(data));
  SampleSession sample;
  CADDocument* document = sample.Open("Bolt.CADPart");
  document->AddApplicativeContainer("Machining");
  CADAppFeature* member = document->AddApplicativeFeature("Machining", "Drill", "Hole");
  member->AddAttribute("Depth", CADAttrType::Double, false, {12.345});
  member->AddAttribute("Code", CADAttrType::String, false, {CADUnicodeString("ABCDEF")});
  member->AddAttribute("Note", CADAttrType::String, false, {CADUnicodeString("see {ref} here")});
  document->SetDirty(0);

  ZRBObjectManager manager;
  ZRBObject* model = manager.CreateObject("MODEL");
  ASSERT_EQ(Transfer::ToObject(manager, document, model), 1);
  ZRBObject* extensions = manager.GetObject(model->GetSlotValue("FEATURE_EXTENTIONS"));
  ASSERT_NE(extensions, nullptr);
  EXPECT_EQ(extensions->GetSlotValueList("FEATURE_VALUES"), CADListValCADString({"12.3", "ABC", "see {ref"}));
  ASSERT_EQ(Transfer::FromObject(document->GetRootProduct(), model, manager), 1);
  EXPECT_EQ(member->FindAttribute("Depth")->values[0], CADAttrValue(12.345));
  EXPECT_EQ(member->FindAttribute("Code")->values[0], CADAttrValue(CADUnicodeString("ABCDEF")));
  EXPECT_EQ(member->FindAttribute("Note")->values[0], CADAttrValue(CADUnicodeString("see {ref} here")));
  EXPECT_FALSE(document->IsDirty());

  // A value the PDM changed is set; the document is marked only where the configuration asks for it.
  extensions->SetSlotValueList("FEATURE_VALUES", {"14.0", "ABC", "see {ref"});
  SetVariable("ZRB_ENABLE_FE_SET_DIRTY", "ON");
  ASSERT_EQ(Transfer::FromObject(document->GetRootProduct(), model, manager), 1);
  EXPECT_EQ(member->FindAttribute("Depth")->values[0], CADAttrValue(14.0));
  EXPECT_TRUE(document->IsDirty());

  // Lists of different sizes and undecodable values change nothing.
  extensions->SetSlotValueList("FEATURE_VALUES", {"1.0"});
  EXPECT_EQ(Transfer::FromObject(document->GetRootProduct(), model, manager), 0);
  extensions->SetSlotValueList("FEATURE_VALUES", {"deep", "ABC", "see {ref"});
  EXPECT_EQ(Transfer::FromObject(document->GetRootProduct(), model, manager), 1);
  EXPECT_EQ(member->FindAttribute("Depth")->values[0], CADAttrValue(14.0));
  model->SetSlotValue("FEATURE_EXTENTIONS", "nowhere");
  EXPECT_EQ(Transfer::FromObject(document->GetRootProduct(), model, manager), 0);
  model->SetSlotValue("FEATURE_EXTENTIONS", "");  // none sent: nothing to do
  EXPECT_EQ(Transfer::FromObject(document->GetRootProduct(), model, manager), 1);
}

}  // namespace
