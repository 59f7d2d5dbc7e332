#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
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

// Runs against a private Xvfb server when one is installed; skipped otherwise.
class WindowRaiserXTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "Xvfb is not installed";
    for (int n = 40 + ::getpid() % 50; n < 140 && !display_; ++n) {
      std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      struct stat st {};
      if (::stat(socket.c_str(), &st) == 0) continue;  // taken
      name_ = ":" + std::to_string(n);
      server_ = ::fork();
      if (server_ == 0) {
        ::execl("/usr/bin/Xvfb", "Xvfb", name_.c_str(), "-nolisten", "tcp", "-screen", "0", "320x240x24",
                static_cast<char*>(nullptr));
        ::_exit(127);
      }
      for (int i = 0; i < 100 && !display_; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        display_ = XOpenDisplay(name_.c_str());
      }
      if (!display_) StopServer();
    }
    if (!display_) GTEST_SKIP() << "Xvfb did not start";
    env_.Set("DISPLAY", name_.c_str());
  }
  void TearDown() override {
    if (display_) XCloseDisplay(display_);
    StopServer();
  }
  void StopServer() {
    if (server_ <= 0) return;
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
    server_ = 0;
  }
  Window MakeWindow(Window parent, const char* name, const char* className) {
    Window w = XCreateSimpleWindow(display_, parent, 0, 0, 100, 100, 0, 0, 0);
    if (name) XStoreName(display_, w, name);
    if (className) {
      XClassHint hint{const_cast<char*>("instance"), const_cast<char*>(className)};
      XSetClassHint(display_, w, &hint);
    }
    XMapWindow(display_, w);
    XSync(display_, False);
    return w;
  }
  Window TopChild() {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
    Window top = count ? children[count - 1] : 0;
    if (children) XFree(children);
    return top;
  }

  Display* display_ = nullptr;
  pid_t server_ = 0;
  std::string name_;
  ScopedEnv env_;
};

TEST_F(WindowRaiserXTest, FindsWindowsByNamePrefixOrClassFromTheTopOfTheStackAndRaisesThem) {
  Window root = DefaultRootWindow(display_);
  Window cad = MakeWindow(root, "CAD session", "CADHOST");
  Window first = MakeWindow(root, " CAD-Workbench first", nullptr);
  Window frame = MakeWindow(root, nullptr, nullptr);  // a window-manager frame: the name is on its child
  Window inner = MakeWindow(frame, " CAD-Workbench framed", nullptr);
  (void)inner;
  MakeWindow(root, "CAD-Workbench without the blank", nullptr);

  std::vector<std::string> log;
  auto sink = [&](std::string_view line) { log.emplace_back(line); };
  EXPECT_EQ(CADWindowRaiser::RaiseByNamePrefix(" CAD-Workbench", sink), CADWindowRaiser::Result::Raised);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Match: Window name:  CAD-Workbench framed");  // the framed one is above "first"

  XLowerWindow(display_, frame);
  XSync(display_, False);
  EXPECT_EQ(CADWindowRaiser::RaiseByNamePrefix(" CAD-Workbench", sink), CADWindowRaiser::Result::Raised);
  EXPECT_EQ(log.back(), "Match: Window name:  CAD-Workbench first");
  XSync(display_, False);
  EXPECT_EQ(TopChild(), first);

  EXPECT_EQ(CADWindowRaiser::RaiseByClassName("CADHOST", sink), CADWindowRaiser::Result::Raised);
  EXPECT_EQ(log.back(), "Match: CLASS-Name: CADHOST");
  XSync(display_, False);
  EXPECT_EQ(TopChild(), cad);

  EXPECT_EQ(CADWindowRaiser::RaiseByClassName("OTHER", sink), CADWindowRaiser::Result::NotFound);
  EXPECT_EQ(CADWindowRaiser::RaiseByNamePrefix(" PDM", sink), CADWindowRaiser::Result::NotFound);
}

}  // namespace
