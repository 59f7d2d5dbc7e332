#include "CADCatalogFile.h"

#include <fstream>
#include <sstream>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsKeyChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-';
}

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      char next = text[i + 1];
      if (next == 'n') {
        out += '\n';
        ++i;
        continue;
      }
      if (next == 't') {
        out += '\t';
        ++i;
        continue;
      }
      if (next == 's') {  // a blank that the trimming of the line's end cannot drop
        out += ' ';
        ++i;
        continue;
      }
      if (next == '\\') {
        out += '\\';
        ++i;
        continue;
      }
    }
    out += c;  // any other backslash is kept as written
  }
  return out;
}

}  // namespace

CADCatalogFile CADCatalogFile::Parse(std::string_view content, std::string_view origin) {
  CADCatalogFile file;
  if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
  int lineNumber = 0;
  auto problem = [&](const std::string& what) {
    file.diagnostics_.push_back(std::string(origin) + ":" + std::to_string(lineNumber) + ": " + what);
  };
  while (!content.empty()) {
    ++lineNumber;
    size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);

    std::string_view body = Trim(line);
    if (body.empty() || body.front() == '#') continue;
    size_t eq = body.find('=');
    if (eq == std::string_view::npos) {
      problem("no '=' in line, skipped");
      continue;
    }
    std::string_view key = Trim(body.substr(0, eq));
    bool keyOk = !key.empty();
    for (char c : key) keyOk = keyOk && IsKeyChar(c);
    if (!keyOk) {
      problem("bad key '" + std::string(key) + "', skipped");
      continue;
    }
    std::string text = Unescape(Trim(body.substr(eq + 1)));
    auto [it, inserted] = file.texts_.try_emplace(std::string(key), std::move(text));
    if (!inserted) problem("key '" + std::string(key) + "' given again, the first text is kept");
  }
  return file;
}

CADCatalogFile CADCatalogFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    CADCatalogFile file;
    file.diagnostics_.push_back(path + ": cannot be read");
    return file;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return Parse(buffer.str(), path);
}

const std::string* CADCatalogFile::Find(std::string_view key) const {
  auto it = texts_.find(key);
  return it == texts_.end() ? nullptr : &it->second;
}

std::string CADCatalogFile::Substitute(std::string_view text, const std::vector<std::string>& parameters) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '/' && i + 2 < text.size() && text[i + 1] == 'p' && text[i + 2] >= '1' && text[i + 2] <= '9') {
      size_t index = static_cast<size_t>(text[i + 2] - '1');
      if (index < parameters.size()) {
        out += parameters[index];
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}
