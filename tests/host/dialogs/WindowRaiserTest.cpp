#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CADWindowRaiser.h"

namespace {

// Restores DISPLAY after each case.
class WindowRaiserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    hadDisplay = display != nullptr;
    if (display) saved = display;
  }
  void TearDown() override {
    if (hadDisplay)
      ::setenv("DISPLAY", saved.c_str(), 1);
    else
      ::unsetenv("DISPLAY");
  }
  bool hadDisplay = false;
  std::string saved;
};

TEST_F(WindowRaiserTest, WithoutADisplayNothingHappensAndTheStepsAreLogged) {
  struct Case {
    const char* display;  // null: unset
    const char* line;
  };
  for (auto c : {Case{nullptr, "failed to get DISPLAY"}, Case{":4711", "XOpenDisplay failed"},
                 Case{"no-such-host.invalid:0", "XOpenDisplay failed"}}) {
    if (c.display)
      ::setenv("DISPLAY", c.display, 1);
    else
      ::unsetenv("DISPLAY");
    std::vector<std::string> log;
    auto sink = [&](std::string_view line) { log.emplace_back(line); };
    EXPECT_EQ(CADWindowRaiser::RaiseByClassName("CADHOST", sink), CADWindowRaiser::Result::NoDisplay);
    EXPECT_EQ(CADWindowRaiser::RaiseByNamePrefix(" CAD-Workbench", sink), CADWindowRaiser::Result::NoDisplay);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), c.line);
  }
}

}  // namespace
