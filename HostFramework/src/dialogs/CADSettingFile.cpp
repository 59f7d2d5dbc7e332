#include "CADSettingFile.h"

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Escape(std::string_view value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      char next = value[i + 1];
      char plain = next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next == '\\' ? '\\' : 0;
      if (plain) {
        out += plain;
        ++i;
        continue;
      }
    }
    out += value[i];
  }
  return out;
}

}  // namespace

bool CADSettingFile::IsValidName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    bool ok =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-';
    if (!ok) return false;
  }
  return true;
}

CADSettingFile CADSettingFile::Parse(std::string_view content, std::string_view origin) {
  CADSettingFile file;
  int lineNumber = 0;
  while (!content.empty()) {
    ++lineNumber;
    size_t end = content.find('\n');
    std::string_view whole = content.substr(0, end);
    content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
    // Lines kept as they are keep their CR too; settings drop it (CRLF files; a CR in a value is escaped).
    std::string_view raw = whole;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    Line line;
    line.raw = std::string(whole);
    std::string_view body = TrimBlanks(raw);
    if (body.empty() || body.front() == '#') {
      file.lines_.push_back(std::move(line));
      continue;
    }
    if (body == "%protected") {
      line.kind = Kind::Protected;
      file.protected_ = true;
      file.lines_.push_back(std::move(line));
      continue;
    }
    size_t eq = raw.find('=');
    std::string_view name = eq == std::string_view::npos ? body : TrimBlanks(raw.substr(0, eq));
    bool list = name.ends_with("[]");
    if (list) name.remove_suffix(2);
    if (eq == std::string_view::npos || !IsValidName(name)) {
      file.diagnostics_.push_back(std::string(origin) + ":" + std::to_string(lineNumber) +
                                  ": not a setting, kept as it is");
      file.lines_.push_back(std::move(line));
      continue;
    }
    std::string_view value = raw.substr(eq + 1);
    if (!value.empty() && value.front() == ' ') value.remove_prefix(1);  // the blank written after '='
    line.kind = list ? Kind::ListItem : Kind::Scalar;
    line.name = std::string(name);
    line.value = Unescape(value);
    file.lines_.push_back(std::move(line));
  }
  return file;
}

std::string CADSettingFile::Render() const {
  std::string out;
  for (const Line& line : lines_) {
    switch (line.kind) {
      case Kind::Other:
        out += line.raw;
        break;
      case Kind::Protected:
        out += "%protected";
        break;
      case Kind::Scalar:
        out += line.name + " = " + Escape(line.value);
        break;
      case Kind::ListItem:
        out += line.name + "[] = " + Escape(line.value);
        break;
    }
    out += '\n';
  }
  return out;
}

const std::string* CADSettingFile::FindValue(std::string_view name) const {
  const std::string* found = nullptr;
  for (const Line& line : lines_)
    if (line.kind == Kind::Scalar && line.name == name) found = &line.value;
  return found;
}

bool CADSettingFile::FindList(std::string_view name, std::vector<std::string>& items) const {
  std::vector<std::string> out;
  for (const Line& line : lines_)
    if (line.kind == Kind::ListItem && line.name == name) out.push_back(line.value);
  if (out.empty()) return false;
  items = std::move(out);
  return true;
}

size_t CADSettingFile::RemoveLinesOf(std::string_view name) {
  size_t first = std::string::npos;
  std::vector<Line> kept;
  for (Line& line : lines_) {
    bool mine = (line.kind == Kind::Scalar || line.kind == Kind::ListItem) && line.name == name;
    if (mine) {
      if (first == std::string::npos) first = kept.size();
      continue;
    }
    kept.push_back(std::move(line));
  }
  lines_ = std::move(kept);
  return first == std::string::npos ? lines_.size() : first;
}

void CADSettingFile::SetValue(std::string_view name, std::string_view value) {
  size_t at = RemoveLinesOf(name);
  Line line;
  line.kind = Kind::Scalar;
  line.name = std::string(name);
  line.value = std::string(value);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void CADSettingFile::SetList(std::string_view name, const std::vector<std::string>& items) {
  size_t at = RemoveLinesOf(name);
  for (const std::string& item : items) {
    Line line;
    line.kind = Kind::ListItem;
    line.name = std::string(name);
    line.value = item;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at++), std::move(line));
  }
}

void CADSettingFile::SetProtected(bool value) {
  protected_ = value;
  std::vector<Line> kept;
  for (Line& line : lines_)
    if (line.kind != Kind::Protected) kept.push_back(std::move(line));
  lines_ = std::move(kept);
  if (value) {
    Line line;
    line.kind = Kind::Protected;
    lines_.insert(lines_.begin(), std::move(line));
  }
}
