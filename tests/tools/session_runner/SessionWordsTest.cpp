// How script lines become words: quoting, escapes, comments and variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "ZRBSessionWords.h"

namespace {

// A variable's value is one piece of its word, taken as it is: blanks, quotes, backslashes and "#" are never read
// again. Single quotes keep ${NAME} as written. Broken quoting and unknown variables are refused (no words).
TEST(SessionWords, SplitsLikeAShellAndTakesVariablesAsTheyAre) {
  setenv("ZRB_WORDS_TEST_DIR", "/tmp/with space", 1);
  setenv("ZRB_WORDS_TEST_HOSTILE", "a'b\"c\\d #e ${ZRB_WORDS_TEST_DIR}", 1);
  setenv("ZRB_WORDS_TEST_EMPTY", "", 1);
  unsetenv("ZRB_WORDS_TEST_UNSET");
  using Words = std::vector<std::string>;
  const std::pair<const char*, std::optional<Words>> cases[] = {
      {"", Words{}},
      {"   # a comment", Words{}},
      {"set N description 'two words'", Words{"set", "N", "description", "two words"}},
      {"echo \"say \\\"hi\\\"\" x", Words{"echo", "say \"hi\"", "x"}},
      {"echo a#b # rest", Words{"echo", "a#b"}},
      {"echo 'it''s'", Words{"echo", "its"}},
      {"echo back\\ slash", Words{"echo", "back slash"}},
      {"echo ''", Words{"echo", ""}},
      {"tab\tseparated\r", Words{"tab", "separated"}},
      {"open \"${ZRB_WORDS_TEST_DIR}/a\" $HOME", Words{"open", "/tmp/with space/a", "$HOME"}},
      {"open ${ZRB_WORDS_TEST_DIR}/a", Words{"open", "/tmp/with space/a"}},
      {"set N x ${ZRB_WORDS_TEST_HOSTILE} y", Words{"set", "N", "x", "a'b\"c\\d #e ${ZRB_WORDS_TEST_DIR}", "y"}},
      {"echo ${ZRB_WORDS_TEST_EMPTY} z", Words{"echo", "", "z"}},
      {"echo '${ZRB_WORDS_TEST_DIR}' \\${X}", Words{"echo", "${ZRB_WORDS_TEST_DIR}", "${X}"}},
      {"echo 'open", std::nullopt},
      {"echo \"open", std::nullopt},
      {"echo tail\\", std::nullopt},
      {"echo \"esc\\", std::nullopt},
      {"open ${ZRB_WORDS_TEST_UNSET}/a", std::nullopt},
      {"open ${UNTERMINATED", std::nullopt},
      {"open ${}", std::nullopt},
  };
  for (const auto& [line, expected] : cases) {
    Words words;
    std::string error;
    const bool split = ZRBSessionWords::Split(line, words, error);
    EXPECT_EQ(split, expected.has_value()) << line << ": " << error;
    EXPECT_EQ(error.empty(), split) << line;
    if (split && expected) {
      EXPECT_EQ(words, *expected) << line;
    }
  }
}

}  // namespace
