// Fuzz target for the session runner's script words: any line splits or is refused with a reason, and words that
// split are given back unchanged when each is written again as one single-quoted word (single quotes take ${NAME}
// as it is written).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ZRBSessionWords.h"

namespace {

std::string SingleQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  std::string error;
  std::vector<std::string> words;
  if (!ZRBSessionWords::Split(line, words, error)) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  std::string again;
  for (const std::string& word : words) again += (again.empty() ? "" : " ") + SingleQuoted(word);
  std::vector<std::string> reread;
  if (!ZRBSessionWords::Split(again, reread, error) || reread != words) std::abort();
  return 0;
}
