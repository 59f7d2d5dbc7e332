#include "CADDlgBoxScript.h"

#include <cstdio>
#include <deque>

#include "CADDlgNotify.h"
#include "CADMsgCatalog.h"

namespace {

struct Expectation {
  std::string pattern;
  int answer;
};

struct ScriptState {
  std::deque<Expectation> expected;
  std::vector<CADDlgBoxRecord> records;
  bool lenient = false;
  std::function<void(const CADDlgBoxRecord&)> observer;
  std::function<int(const CADDlgBoxRecord&)> asker;
};

ScriptState& State() {
  static ScriptState state;
  return state;
}

// Catalog text to pattern: each /pN may be any text; a literal '*' in the text is matched by a '*' in the
// pattern, which matches itself among others.
std::string PatternFromCatalogText(std::string_view text) {
  std::string pattern;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '/' && i + 2 < text.size() && text[i + 1] == 'p' && text[i + 2] >= '1' && text[i + 2] <= '9') {
      pattern += '*';
      i += 2;
      continue;
    }
    pattern += text[i];
  }
  return pattern;
}

}  // namespace

bool CADDlgBoxScript::Matches(std::string_view pattern, std::string_view text) {
  // Iterative glob with backtracking to the last '*'.
  size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

void CADDlgBoxScript::ExpectText(const CADUnicodeString& pattern, int answer) {
  State().expected.push_back(Expectation{pattern.str(), answer});
}

int CADDlgBoxScript::ExpectKey(const CADString& key, int answer) {
  int dot = key.Find(".");
  if (dot <= 0) return 0;
  CADUnicodeString text;
  if (!CADMsgCatalog::GetText(key.SubString(0, dot), key, text)) return 0;
  State().expected.push_back(Expectation{PatternFromCatalogText(text.view()), answer});
  return 1;
}

int CADDlgBoxScript::CountPendingExpectations() { return static_cast<int>(State().expected.size()); }

int CADDlgBoxScript::SafeDefault(unsigned long style) {
  if (style & CADDlgNfyYesNo) return CADDlgNfyAnswerNo;
  if (style & CADDlgNfyOKCancel) return CADDlgNfyAnswerCancel;
  return CADDlgNfyAnswerOK;
}

int CADDlgBoxScript::Answer(const CADString& identifier, unsigned long style, const CADUnicodeString& title,
                            const CADUnicodeString& text) {
  ScriptState& s = State();
  CADDlgBoxRecord record{identifier, style, title, text, 0, false};
  if (!s.expected.empty() && Matches(s.expected.front().pattern, text.view())) {
    record.answer = s.expected.front().answer;
    record.expected = true;
    s.expected.pop_front();
  } else if (const int asked = s.asker ? s.asker(record) : 0) {
    record.answer = asked;
    record.expected = true;
  } else {
    record.answer = SafeDefault(style);
    record.expected = s.lenient;
    if (!s.lenient)
      std::fprintf(stderr, "CADDlgBoxScript: unexpected message box \"%s\" [%s] (style 0x%lx), answered %d%s%s%s\n",
                   identifier.c_str(), title.c_str(), style, record.answer,
                   s.expected.empty() ? "" : "; expected next: \"",
                   s.expected.empty() ? "" : s.expected.front().pattern.c_str(), s.expected.empty() ? "" : "\"");
  }
  s.records.push_back(record);
  if (s.observer) s.observer(record);
  return record.answer;
}

void CADDlgBoxScript::SetLenient(bool lenient) { State().lenient = lenient; }

void CADDlgBoxScript::SetObserver(std::function<void(const CADDlgBoxRecord&)> observer) {
  State().observer = std::move(observer);
}

void CADDlgBoxScript::SetAsker(std::function<int(const CADDlgBoxRecord&)> asker) { State().asker = std::move(asker); }

std::vector<CADDlgBoxRecord> CADDlgBoxScript::GetRecords() { return State().records; }

std::vector<CADDlgBoxRecord> CADDlgBoxScript::GetUnexpected() {
  std::vector<CADDlgBoxRecord> out;
  for (const auto& r : State().records)
    if (!r.expected) out.push_back(r);
  return out;
}

void CADDlgBoxScript::Reset() {
  ScriptState& s = State();
  s.expected.clear();
  s.records.clear();
  s.lenient = false;
}
