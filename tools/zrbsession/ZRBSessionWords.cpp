#include "ZRBSessionWords.h"

#include <cstdlib>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// At line[i] == '$' followed by '{': appends the variable's value to `word` and moves `i` past the closing brace.
bool TakeVariable(std::string_view line, std::size_t& i, std::string& word, std::string& error) {
  const std::size_t close = line.find('}', i + 2);
  if (close == std::string_view::npos) {
    error = "unterminated ${ at column " + std::to_string(i + 1);
    return false;
  }
  const std::string name(line.substr(i + 2, close - i - 2));
  const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
  if (!value) {
    error = "variable \"" + name + "\" is not set";
    return false;
  }
  word += value;
  i = close + 1;
  return true;
}

bool StartsVariable(std::string_view line, std::size_t i) {
  return line[i] == '$' && i + 1 < line.size() && line[i + 1] == '{';
}

}  // namespace

bool ZRBSessionWords::Split(std::string_view line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size() || line[i] == '#') break;
    std::string word;
    while (i < line.size() && !IsBlank(line[i])) {
      const char c = line[i];
      if (c == '\'' || c == '"') {
        const std::size_t open = i++;
        bool closed = false;
        while (i < line.size()) {
          if (line[i] == c) {
            closed = true;
            ++i;
            break;
          }
          if (c == '"' && StartsVariable(line, i)) {
            if (!TakeVariable(line, i, word, error)) return false;
            continue;
          }
          if (c == '"' && line[i] == '\\') {
            if (i + 1 >= line.size()) break;
            const char next = line[i + 1];
            word += next == 'n' ? '\n' : next == 't' ? '\t' : next;
            i += 2;
            continue;
          }
          word += line[i++];
        }
        if (!closed) {
          error = "unterminated quote at column " + std::to_string(open + 1);
          return false;
        }
        continue;
      }
      if (c == '\\') {
        if (i + 1 >= line.size()) {
          error = "trailing backslash";
          return false;
        }
        word += line[i + 1];
        i += 2;
        continue;
      }
      if (StartsVariable(line, i)) {
        if (!TakeVariable(line, i, word, error)) return false;
        continue;
      }
      word += c;
      ++i;
    }
    words.push_back(std::move(word));
  }
  return true;
}

std::string ZRBSessionWords::Join(const std::vector<std::string>& words, std::size_t first) {
  std::string joined;
  for (std::size_t i = first; i < words.size(); ++i) {
    if (i > first) joined += ' ';
    joined += words[i];
  }
  return joined;
}
