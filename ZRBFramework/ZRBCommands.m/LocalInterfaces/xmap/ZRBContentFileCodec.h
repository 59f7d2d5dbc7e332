// The byte form of the content file's fields: 4-byte integers, always
// little-endian whatever the machine, and texts preceded by their length.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

class ZRBContentFileCodec {
 public:
  // Longest text an entry may hold; a longer length marks a damaged entry.
  static constexpr std::int32_t kMaxTextLength = 1024;

  // --- integers
  static void WriteUInt32(std::ostream& out, std::uint32_t value);
  // false when fewer than 4 bytes were left.
  static bool ReadUInt32(std::istream& in, std::uint32_t& value);
  // The same 4 bytes read as a signed number (lengths: a negative one is invalid).
  static bool ReadInt32(std::istream& in, std::int32_t& value);

  // --- texts
  // The length, then the bytes, no terminator. The caller keeps texts within
  // kMaxTextLength (a longer one would not read back).
  static void WriteText(std::ostream& out, std::string_view text);
  // false for a cut-short text or a length outside 0..kMaxTextLength.
  static bool ReadText(std::istream& in, std::string& text);

  // --- the same from bytes in memory: each takes its field off the front of
  // `bytes` (a text as a view into them); false, `bytes` unchanged, when the
  // field is cut short or invalid.
  static bool TakeUInt32(std::string_view& bytes, std::uint32_t& value) {
    if (bytes.size() < 4) return false;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    bytes.remove_prefix(4);
    return true;
  }
  static bool TakeText(std::string_view& bytes, std::string_view& text) {
    std::string_view rest = bytes;
    std::uint32_t length = 0;
    // As a signed length: anything above the limit (negative ones too) is invalid.
    if (!TakeUInt32(rest, length) || length > static_cast<std::uint32_t>(kMaxTextLength) || rest.size() < length)
      return false;
    text = rest.substr(0, length);
    bytes = rest.substr(length);
    return true;
  }

  // Sizes beyond 32 bits are stored as the largest 32-bit value.
  static std::uint32_t Saturate(std::uint64_t value) {
    return value > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(value);
  }
};
