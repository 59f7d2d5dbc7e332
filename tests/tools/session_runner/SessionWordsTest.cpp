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

// A variable's value is one piece of its word, taken as it is: blanks, quotes, backslashes and "#" are never read
// again. Single quotes keep ${NAME} as written.
TEST(SessionWords, VariablesAreTakenAsTheyAre) {
  setenv("ZRB_WORDS_TEST_DIR", "/tmp/with space", 1);
  setenv("ZRB_WORDS_TEST_HOSTILE", "a'b\"c\\d #e ${ZRB_WORDS_TEST_DIR}", 1);
  setenv("ZRB_WORDS_TEST_EMPTY", "", 1);
  const SplitCase cases[] = {
      {"open \"${ZRB_WORDS_TEST_DIR}/a\" $HOME", {"open", "/tmp/with space/a", "$HOME"}},
      {"open ${ZRB_WORDS_TEST_DIR}/a", {"open", "/tmp/with space/a"}},
      {"set N x ${ZRB_WORDS_TEST_HOSTILE} y", {"set", "N", "x", "a'b\"c\\d #e ${ZRB_WORDS_TEST_DIR}", "y"}},
      {"echo ${ZRB_WORDS_TEST_EMPTY} z", {"echo", "", "z"}},
      {"echo '${ZRB_WORDS_TEST_DIR}' \\${X}", {"echo", "${ZRB_WORDS_TEST_DIR}", "${X}"}},
  };
  for (const SplitCase& c : cases) {
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(ZRBSessionWords::Split(c.line, words, error)) << c.line << ": " << error;
    EXPECT_EQ(words, c.words) << c.line;
  }
  unsetenv("ZRB_WORDS_TEST_UNSET");
  for (const char* line : {"open ${ZRB_WORDS_TEST_UNSET}/a", "open ${UNTERMINATED", "open ${}"}) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(ZRBSessionWords::Split(line, words, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

}  // namespace
