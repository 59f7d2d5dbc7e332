// The rules every slot name and stored slot value of an exchange object obeys,
// so that any value written reads back the same on both sides of the exchange.
#pragma once

#include <cstddef>
#include <memory_resource>
#include <string>
#include <string_view>

// How a slot value ended up in an object.
enum class ZRBSlotStore {
  Whole,      // stored as given
  Truncated,  // stored cut to the limit (or, for lists, with items dropped)
  Refused     // nothing stored: the name cannot be written to a file
};

class ZRBObjectSlotText {
 public:
  // Longest stored value in bytes. Texts are UTF-8; limits count bytes.
  static constexpr std::size_t kMaxValueBytes = 16300;

  // A name must survive the "{NAME} value" line: not empty, no brace, CR or LF.
  static bool IsWritableName(std::string_view name);
  // Names are compared and stored in ASCII upper case.
  static std::string UpperName(std::string_view name);
  // Appends the upper-case name; false (the name appended all the same) when
  // the name is not writable.
  static bool AppendUpperName(std::string_view name, std::pmr::string& out);
  // The same into `out`, which has room for name.size() bytes and must not
  // overlap `name`.
  static bool UpperNameInto(std::string_view name, char* out);
  // Without blanks, tabs and CRs at both ends.
  static std::string_view StripEnds(std::string_view text);
  static bool SameName(std::string_view storedUpper, std::string_view anyCase);

  // Bytes cut away from a value, before and after its line feeds were
  // escaped (the escape makes a value grow, so it may need a second cut).
  struct Cuts {
    std::size_t beforeEscape = 0;
    std::size_t afterEscape = 0;
    bool Any() const { return beforeEscape != 0 || afterEscape != 0; }
  };
  // Appends the stored form of `raw` to `out`: blanks (and CRs) stripped at
  // both ends, cut to the limit, each LF written as "@EOL@", every other CR
  // removed. `raw` must not point into `out`. A caller that knows `raw`
  // holds no LF (a line of a file) saves the search for one.
  static Cuts AppendNormalized(std::string_view raw, std::pmr::string& out, bool mayHoldLineFeeds = true);
  // A list item's stored form inside its braces: LF as "@EOL@", CRs removed.
  static std::string EscapeItem(std::string_view item);
  // The caller's form of a stored value: every "@EOL@" back to LF.
  static std::string Unescape(std::string_view stored);

  // The longest prefix of at most `limit` bytes that splits neither a UTF-8
  // sequence nor an "@EOL@" escape.
  static std::size_t SafeCut(std::string_view text, std::size_t limit);

  // Blank characters stripped at both ends of a value.
  static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
};
