// Shared helpers of the property-manager tests: a scratch directory and a
// manager that starts like a fresh process.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ZRBPropertyManager.h"

class PropsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GlobPropertyManager.ResetForTests();
    manager.ResetForTests();
    dir = std::filesystem::temp_directory_path() / ("zrbprops-" + std::to_string(::getpid()) + "-" +
                                                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    GlobPropertyManager.ResetForTests();
  }

  CADUnicodeString PathIn(const std::string& name) const { return CADUnicodeString((dir / name).string()); }
  static std::string Slurp(const CADUnicodeString& path) {
    std::ifstream in(path.str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void Spit(const CADUnicodeString& path, const std::string& text) {
    std::ofstream(path.str(), std::ios::binary) << text;
  }

  ZRBPropertyManager manager;
  std::filesystem::path dir;
};
