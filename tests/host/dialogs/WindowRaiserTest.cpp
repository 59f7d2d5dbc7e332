#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CADWindowRaiser.h"
#include "ScopedEnv.h"

namespace {

TEST(WindowRaiserTest, WithoutADisplayNothingHappensAndTheStepsAreLogged) {
  ScopedEnv env;
  struct Case {
    const char* display;  // null: unset
    const char* line;
  };
  for (auto c : {Case{nullptr, "failed to get DISPLAY"}, Case{":4711", "XOpenDisplay failed"},
                 Case{"no-such-host.invalid:0", "XOpenDisplay failed"}}) {
    env.Set("DISPLAY", c.display);
    std::vector<std::string> log;
    auto sink = [&](std::string_view line) { log.emplace_back(line); };
    EXPECT_EQ(CADWindowRaiser::RaiseByClassName("CADHOST", sink), CADWindowRaiser::Result::NoDisplay);
    EXPECT_EQ(CADWindowRaiser::RaiseByNamePrefix(" CAD-Workbench", sink), CADWindowRaiser::Result::NoDisplay);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), c.line);
  }
}

}  // namespace
