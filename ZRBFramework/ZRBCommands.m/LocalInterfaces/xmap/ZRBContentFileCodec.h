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

  // Sizes beyond 32 bits are stored as the largest 32-bit value.
  static std::uint32_t Saturate(std::uint64_t value) {
    return value > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(value);
  }
};
