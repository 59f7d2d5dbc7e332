// Byte string with the host's text operations; the common body of CADString
// (8-bit text) and CADUnicodeString (UTF-8 inside).
#pragma once

#include <compare>
#include <cstdarg>
#include <ostream>
#include <string>
#include <string_view>

namespace cadhost {

template <class Derived>
class CADBasicString {
 public:
  CADBasicString() = default;
  CADBasicString(const char* text) : text_(text ? text : "") {}  // NOLINT: host strings convert implicitly
  CADBasicString(std::string text) : text_(std::move(text)) {}   // NOLINT
  CADBasicString(std::string_view text) : text_(text) {}         // NOLINT
  CADBasicString(const char* text, int length)
      : text_(text ? std::string(text, static_cast<size_t>(length < 0 ? 0 : length)) : std::string()) {}

  // Length in bytes.
  int GetLength() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }
  const char* c_str() const { return text_.c_str(); }
  const char* CastToCharPtr() const { return text_.c_str(); }
  const std::string& str() const { return text_; }
  std::string_view view() const { return text_; }

  // Byte offset of the first occurrence of `what` at or after `from`, or -1.
  int Find(std::string_view what, int from = 0) const {
    if (from < 0) from = 0;
    auto pos = text_.find(what, static_cast<size_t>(from));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
  }
  // Byte offset of the last occurrence of `what`, or -1.
  int FindLast(std::string_view what) const {
    auto pos = text_.rfind(what);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
  }
  // Up to `length` bytes from `start` (clamped; -1 means to the end).
  Derived SubString(int start, int length = -1) const {
    if (start < 0) start = 0;
    if (start >= GetLength()) return Derived();
    size_t n = length < 0 ? std::string::npos : static_cast<size_t>(length);
    return Derived(text_.substr(static_cast<size_t>(start), n));
  }
  // ASCII upper/lower case (multi-byte sequences are left alone).
  Derived ToUpper() const {
    std::string out = text_;
    for (char& c : out)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return Derived(std::move(out));
  }
  Derived ToLower() const {
    std::string out = text_;
    for (char& c : out)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return Derived(std::move(out));
  }
  // Without leading and trailing blanks, tabs, CR and LF.
  Derived Strip() const {
    const char* ws = " \t\r\n";
    auto first = text_.find_first_not_of(ws);
    if (first == std::string::npos) return Derived();
    auto last = text_.find_last_not_of(ws);
    return Derived(text_.substr(first, last - first + 1));
  }
  // Every occurrence of `from` replaced by `to`; returns the number replaced.
  int ReplaceAll(std::string_view from, std::string_view to) {
    if (from.empty()) return 0;
    int count = 0;
    size_t pos = 0;
    while ((pos = text_.find(from, pos)) != std::string::npos) {
      text_.replace(pos, from.size(), to);
      pos += to.size();
      ++count;
    }
    return count;
  }
  bool StartsWith(std::string_view prefix) const { return text_.starts_with(prefix); }
  bool EndsWith(std::string_view suffix) const { return text_.ends_with(suffix); }
  // strcmp-style comparison.
  int Compare(std::string_view other) const { return text_.compare(other); }

  // printf-style formatting ("%lu", "%d", "%s" ...).
  static Derived BuildFromNum(const char* format, ...) __attribute__((format(printf, 1, 2))) {
    va_list args;
    va_start(args, format);
    Derived out(VFormat(format, args));
    va_end(args);
    return out;
  }

  Derived& operator+=(std::string_view more) {
    text_ += more;
    return self();
  }
  Derived& operator+=(const Derived& more) {
    text_ += more.text_;
    return self();
  }
  Derived& operator+=(char c) {
    text_ += c;
    return self();
  }
  // Literals and std::string would otherwise match both overloads above.
  Derived& operator+=(const char* more) {
    text_ += (more ? more : "");
    return self();
  }
  Derived& operator+=(const std::string& more) {
    text_ += more;
    return self();
  }
  friend Derived operator+(const Derived& a, const Derived& b) { return Derived(a.text_ + b.text_); }
  friend Derived operator+(const Derived& a, const char* b) { return Derived(a.text_ + (b ? b : "")); }
  friend Derived operator+(const char* a, const Derived& b) { return Derived((a ? a : "") + b.text_); }

  friend bool operator==(const Derived& a, const Derived& b) { return a.text_ == b.text_; }
  friend bool operator==(const Derived& a, const char* b) { return a.text_ == (b ? b : ""); }
  friend std::strong_ordering operator<=>(const Derived& a, const Derived& b) { return a.text_ <=> b.text_; }

  friend std::ostream& operator<<(std::ostream& os, const Derived& s) { return os << s.text_; }

  char operator[](int i) const { return text_.at(static_cast<size_t>(i)); }

 private:
  static std::string VFormat(const char* format, va_list args);
  Derived& self() { return static_cast<Derived&>(*this); }

  std::string text_;
};

std::string VFormatString(const char* format, va_list args);

template <class Derived>
std::string CADBasicString<Derived>::VFormat(const char* format, va_list args) {
  return VFormatString(format, args);
}

}  // namespace cadhost
