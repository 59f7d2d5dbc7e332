// How script lines become words: quoting, escapes, comments and variables.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ZRBSessionWords.h"

namespace {

struct SplitCase {
  const char* line;
  std::vector<std::string> words;
};

TEST(SessionWords, SplitsLikeAShell) {
  const SplitCase cases[] = {
      {"", {}},
      {"   # a comment", {}},
      {"open a.CADPart", {"open", "a.CADPart"}},
      {"set N description 'two words'", {"set", "N", "description", "two words"}},
      {"echo \"say \\\"hi\\\"\" x", {"echo", "say \"hi\"", "x"}},
      {"echo a#b # rest", {"echo", "a#b"}},
      {"echo 'it''s'", {"echo", "its"}},
      {"echo back\\ slash", {"echo", "back slash"}},
      {"echo ''", {"echo", ""}},
      {"tab\tseparated\r", {"tab", "separated"}},
  };
  for (const SplitCase& c : cases) {
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(ZRBSessionWords::Split(c.line, words, error)) << c.line << ": " << error;
    EXPECT_EQ(words, c.words) << c.line;
  }
}

TEST(SessionWords, RefusesBrokenQuoting) {
  for (const char* line : {"echo 'open", "echo \"open", "echo tail\\", "echo \"esc\\"}) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(ZRBSessionWords::Split(line, words, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

TEST(SessionWords, ExpandsSetVariablesAndRefusesUnsetOnes) {
  setenv("ZRB_WORDS_TEST_DIR", "/tmp/with space", 1);
  unsetenv("ZRB_WORDS_TEST_UNSET");
  std::string expanded, error;
  ASSERT_TRUE(ZRBSessionWords::Expand("open \"${ZRB_WORDS_TEST_DIR}/a\" $HOME", expanded, error)) << error;
  EXPECT_EQ(expanded, "open \"/tmp/with space/a\" $HOME");
  EXPECT_FALSE(ZRBSessionWords::Expand("open ${ZRB_WORDS_TEST_UNSET}/a", expanded, error));
  EXPECT_NE(error.find("ZRB_WORDS_TEST_UNSET"), std::string::npos);
  EXPECT_FALSE(ZRBSessionWords::Expand("open ${UNTERMINATED", expanded, error));
  EXPECT_FALSE(ZRBSessionWords::Expand("open ${}", expanded, error));
}

}  // namespace
