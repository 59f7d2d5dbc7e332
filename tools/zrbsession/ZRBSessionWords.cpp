#include "ZRBSessionWords.h"

#include <cstdlib>

bool ZRBSessionWords::Split(std::string_view line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) ++i;
    if (i >= line.size() || line[i] == '#') break;
    std::string word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '\n') {
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

bool ZRBSessionWords::Expand(std::string_view line, std::string& expanded, std::string& error) {
  expanded.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == '$' && i + 1 < line.size() && line[i + 1] == '{') {
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
      expanded += value;
      i = close + 1;
      continue;
    }
    expanded += line[i++];
  }
  return true;
}
