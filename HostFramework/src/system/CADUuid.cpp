#include "CADUuid.h"

#include <cstring>
#include <random>

CADUuid CADUuid::Generate() {
  std::random_device source;
  std::array<std::uint8_t, 16> bytes{};
  for (size_t i = 0; i < bytes.size(); i += 4) {
    std::uint32_t word = source();
    for (size_t k = 0; k < 4; ++k) bytes[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
  }
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  return CADUuid(bytes);
}

namespace {

bool IsDashPosition(size_t i) { return i == 8 || i == 13 || i == 18 || i == 23; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

HRESULT CADUuid::FromString(std::string_view text, CADUuid& uuid) {
  uuid = CADUuid();
  if (text.size() != TextLength) return E_FAIL;
  std::array<std::uint8_t, 16> bytes{};
  size_t nibble = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsDashPosition(i)) {
      if (text[i] != '-') return E_FAIL;
      continue;
    }
    int value = HexValue(text[i]);
    if (value < 0) return E_FAIL;
    bytes[nibble / 2] = static_cast<std::uint8_t>(bytes[nibble / 2] | (value << (nibble % 2 == 0 ? 4 : 0)));
    ++nibble;
  }
  uuid = CADUuid(bytes);
  return S_OK;
}

HRESULT CADUuid::ConvertToString(char* buffer, std::size_t size) const {
  if (!buffer || size < TextLength + 1) return E_FAIL;
  static const char digits[] = "0123456789abcdef";
  char text[TextLength + 1];
  size_t nibble = 0;
  for (size_t i = 0; i < TextLength; ++i) {
    if (IsDashPosition(i)) {
      text[i] = '-';
      continue;
    }
    std::uint8_t byte = bytes_[nibble / 2];
    text[i] = digits[nibble % 2 == 0 ? byte >> 4 : byte & 0x0F];
    ++nibble;
  }
  text[TextLength] = '\0';
  std::memcpy(buffer, text, sizeof text);
  return S_OK;
}

CADString CADUuid::ToString() const {
  char text[TextLength + 1];
  ConvertToString(text, sizeof text);
  return CADString(text);
}

bool CADUuid::IsNull() const {
  for (auto b : bytes_)
    if (b) return false;
  return true;
}
