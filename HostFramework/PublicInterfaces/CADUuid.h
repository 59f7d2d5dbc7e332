// A 128-bit document identifier with its text form
// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" (lower-case hexadecimal).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "CADBaseTypes.h"
#include "CADString.h"

class CADUuid {
 public:
  // Characters of the text form, without the terminating zero.
  static constexpr std::size_t TextLength = 36;

  CADUuid() = default;  // the null identifier
  explicit CADUuid(const std::array<std::uint8_t, 16>& bytes) : bytes_(bytes) {}

  // A new random (version 4) identifier.
  static CADUuid Generate();
  // Parses the text form (either case); E_FAIL and the null identifier for anything else.
  static HRESULT FromString(std::string_view text, CADUuid& uuid);

  // The text form into `buffer` of `size` bytes with the terminating zero;
  // E_FAIL, buffer untouched, when it does not fit (it needs TextLength + 1).
  HRESULT ConvertToString(char* buffer, std::size_t size) const;
  CADString ToString() const;

  bool IsNull() const;
  const std::array<std::uint8_t, 16>& Bytes() const { return bytes_; }
  friend bool operator==(const CADUuid& a, const CADUuid& b) { return a.bytes_ == b.bytes_; }

 private:
  std::array<std::uint8_t, 16> bytes_{};
};
