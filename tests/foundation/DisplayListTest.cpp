#include <gtest/gtest.h>

#include "MessagesFixture.h"

namespace {

using DisplayListTest = MessagesFixture;

CADListValCADUnicodeString Display(const CADListValCADUnicodeString& entries, CADListValCADUnicodeString display = {}) {
  ZRBAfx::BuildDisplayList(entries, display);
  return display;
}

TEST_F(DisplayListTest, GroupsCategoriesUnderTheirHeadingsAfterThePlainTexts) {
  WriteSiteCatalog("ZRBListMessages.msg", "A = Heading A\nB = Heading B\n");
  auto cat = [](const char* category, const char* text) {
    CADListValCADUnicodeString one;
    ZRBAfx::AddMessageCategoryToList(one, category, text);
    return one[1];
  };
  EXPECT_EQ(cat("A", "t"), CADUnicodeString("####A####t"));

  struct Case {
    const char* name;
    CADListValCADUnicodeString entries;
    CADListValCADUnicodeString already;
    CADListValCADUnicodeString expected;
  };
  const std::vector<Case> cases = {
      {"plain texts only", {"one", "two"}, {}, {"one", "two"}},
      {"two categories",
       {cat("A", "a1"), cat("B", "b1"), cat("A", "a2")},
       {},
       {"Heading A", "a1", "a2", " ", "Heading B", "b1"}},
      {"plain texts come first", {cat("A", "a1"), "plain"}, {}, {"plain", " ", "Heading A", "a1"}},
      {"appended to a display that has lines", {cat("A", "a1")}, {"earlier"}, {"earlier", " ", "Heading A", "a1"}},
      {"a text equal to a category name",
       {cat("A", "B"), cat("B", "b1"), cat("A", "a2")},
       {},
       {"Heading A", "B", "a2", " ", "Heading B", "b1"}},
      {"a text equal to the marker",
       {cat("A", "####"), cat("B", "b1"), cat("A", "a2")},
       {},
       {"Heading A", "####", "a2", " ", "Heading B", "b1"}},
      {"the first closing marker ends the category",
       {cat("####", "x"), cat("A", "a1"), cat("####", "y")},
       {},
       {"", "####x", "####y", " ", "Heading A", "a1"}},
      {"an entry without its closing marker is dropped", {"####A-no-close", cat("A", "a1")}, {}, {"Heading A", "a1"}},
      {"an unknown category has an empty heading", {cat("Z", "z1")}, {}, {"", "z1"}},
      {"empty text", {cat("A", "")}, {}, {"Heading A", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(Display(c.entries, c.already), c.expected) << c.name;
}

}  // namespace
