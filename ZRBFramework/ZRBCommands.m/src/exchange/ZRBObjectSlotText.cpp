#include "ZRBObjectSlotText.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr std::string_view kEscapedLineFeed = "@EOL@";

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }

// CRs count as blanks at the ends: a CRLF file must read exactly as an LF one,
// and a CR left at the end would otherwise hide a trailing blank.
bool IsStrippable(char c) { return ZRBObjectSlotText::IsBlank(c) || c == '\r'; }

template <class String>
void AppendEscaped(std::string_view v, String& out) {
  for (char c : v) {
    if (c == '\n')
      out += kEscapedLineFeed;
    else if (c != '\r')
      out += c;
  }
}
}  // namespace

std::string_view ZRBObjectSlotText::StripEnds(std::string_view v) {
  while (!v.empty() && IsStrippable(v.front())) v.remove_prefix(1);
  while (!v.empty() && IsStrippable(v.back())) v.remove_suffix(1);
  return v;
}

bool ZRBObjectSlotText::IsWritableName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (c == '{' || c == '}' || c == '\r' || c == '\n') return false;
  return true;
}

std::string ZRBObjectSlotText::UpperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool ZRBObjectSlotText::AppendUpperName(std::string_view name, std::pmr::string& out) {
  const std::size_t start = out.size();
  out.append(name);
  return UpperNameInto(name, out.data() + start);
}

bool ZRBObjectSlotText::UpperNameInto(std::string_view name, char* p) {
  const std::size_t n = name.size();
  // Eight bytes at a time: reading an answer upper-cases a million names.
  // The bytes are read from `name`: reading a fresh copy would stall.
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  // Non-zero when some byte of w equals c.
  const auto matches = [](std::uint64_t w, unsigned char c) {
    const std::uint64_t x = w ^ (kOnes * c);
    return (x - kOnes) & ~x & kHigh;
  };
  bool unwritable = n == 0;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, name.data() + i, 8);
    unwritable |= (matches(w, '{') | matches(w, '}') | matches(w, '\r') | matches(w, '\n')) != 0;
    // High bit of each byte set where the byte is in 'a'..'z' (ASCII only).
    const std::uint64_t low7 = w & ~kHigh;
    const std::uint64_t atLeastA = low7 + kOnes * (0x80 - 'a');
    const std::uint64_t aboveZ = low7 + kOnes * (0x7F - 'z');
    const std::uint64_t lower = atLeastA & ~aboveZ & ~w & kHigh;
    w ^= lower >> 2;  // 0x80 >> 2 is the case bit 0x20
    std::memcpy(p + i, &w, 8);
  }
  for (; i < n; ++i) {
    const char c = name[i];
    unwritable |= (c == '{') | (c == '}') | (c == '\r') | (c == '\n');
    p[i] = AsciiUpper(c);
  }
  return !unwritable;
}

bool ZRBObjectSlotText::SameName(std::string_view storedUpper, std::string_view anyCase) {
  if (storedUpper.size() != anyCase.size()) return false;
  for (std::size_t i = 0; i < anyCase.size(); ++i)
    if (storedUpper[i] != AsciiUpper(anyCase[i])) return false;
  return true;
}

std::size_t ZRBObjectSlotText::SafeCut(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t cut = limit;
  // text[cut] is the first byte dropped; a continuation byte there means the
  // kept part would end inside a sequence (at most three continuation bytes).
  for (int steps = 0; steps < 3 && cut > 0 && IsUtf8Continuation(text[cut]); ++steps) --cut;
  // An escape that straddles the cut would read back as literal text.
  for (std::size_t k = 1; k < kEscapedLineFeed.size(); ++k) {
    if (cut >= k && cut - k + kEscapedLineFeed.size() <= text.size() &&
        text.substr(cut - k, kEscapedLineFeed.size()) == kEscapedLineFeed) {
      cut -= k;
      break;
    }
  }
  return cut;
}

ZRBObjectSlotText::Cuts ZRBObjectSlotText::AppendNormalized(std::string_view raw, std::pmr::string& out,
                                                            bool mayHoldLineFeeds) {
  Cuts cuts;
  // Stripped before measuring: every written value follows "} ", and a value
  // of full length must read back whole.
  std::string_view v = StripEnds(raw);
  if (v.size() > kMaxValueBytes) {
    std::size_t keep = SafeCut(v, kMaxValueBytes);
    cuts.beforeEscape = v.size() - keep;
    v = StripEnds(v.substr(0, keep));
  }
  if (v.empty()) return cuts;

  const bool hasLineFeed = mayHoldLineFeeds && std::memchr(v.data(), '\n', v.size()) != nullptr;
  if (!hasLineFeed && std::memchr(v.data(), '\r', v.size()) == nullptr) {
    out.append(v);
    return cuts;  // the common case: nothing grows, nothing more to cut
  }
  const std::size_t start = out.size();
  AppendEscaped(v, out);
  if (out.size() - start > kMaxValueBytes) {
    std::size_t keep = SafeCut(std::string_view(out).substr(start), kMaxValueBytes);
    cuts.afterEscape = out.size() - start - keep;
    out.resize(start + keep);
    while (out.size() > start && IsBlank(out.back())) out.pop_back();
  }
  return cuts;
}

std::string ZRBObjectSlotText::EscapeItem(std::string_view item) {
  std::string out;
  out.reserve(item.size());
  AppendEscaped(item, out);
  return out;
}

std::string ZRBObjectSlotText::Unescape(std::string_view stored) {
  std::size_t pos = stored.find(kEscapedLineFeed);
  if (pos == std::string_view::npos) return std::string(stored);
  std::string out;
  out.reserve(stored.size());
  std::size_t from = 0;
  while (pos != std::string_view::npos) {
    out.append(stored.substr(from, pos - from));
    out += '\n';
    from = pos + kEscapedLineFeed.size();
    pos = stored.find(kEscapedLineFeed, from);
  }
  out.append(stored.substr(from));
  return out;
}
