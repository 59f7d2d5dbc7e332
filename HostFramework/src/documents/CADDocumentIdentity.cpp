#include "CADDocumentIdentity.h"

#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "CADDocumentReader.h"
#include "CADSystemServices.h"

namespace {

// The identifier statement follows the header; a generous head covers
// comment lines written before it by hand.
constexpr std::streamsize kHeadBytes = 64 * 1024;

// FNV-1a over two lanes, shaped as a name-based UUID.
CADUuid FromName(std::string_view name) {
  std::uint64_t lanes[2] = {0xcbf29ce484222325ULL, 0x84222325cbf29ce4ULL};
  for (int lane = 0; lane < 2; ++lane) {
    for (unsigned char c : name) {
      lanes[lane] ^= static_cast<std::uint64_t>(c) + static_cast<std::uint64_t>(lane);
      lanes[lane] *= 0x100000001b3ULL;
    }
  }
  std::array<std::uint8_t, 16> bytes{};
  for (int i = 0; i < 16; ++i) bytes[static_cast<size_t>(i)] = static_cast<std::uint8_t>(lanes[i / 8] >> (8 * (i % 8)));
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x50);
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
  return CADUuid(bytes);
}

bool RegularFile(const CADUnicodeString& path, CADUnicodeString& real) {
  if (FAILED(CADGetRealPath(path, real))) return false;
  struct stat st {};
  return ::stat(real.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

HRESULT CADDocumentIdentity::FromRealPath(const CADUnicodeString& path, CADUuid& uuid) {
  uuid = CADUuid();
  CADUnicodeString real;
  if (!RegularFile(path, real)) return E_FAIL;
  uuid = FromName(real.view());
  return S_OK;
}

HRESULT CADDocumentIdentity::OfFile(const CADUnicodeString& path, CADUuid& uuid) {
  uuid = CADUuid();
  CADUnicodeString real;
  if (!RegularFile(path, real)) return E_FAIL;
  std::ifstream in(real.str(), std::ios::binary);
  std::string head(static_cast<size_t>(kHeadBytes), '\0');
  in.read(head.data(), kHeadBytes);
  head.resize(static_cast<size_t>(in.gcount()));
  if (SUCCEEDED(CADDocumentReader::ReadIdentifier(head, uuid))) return S_OK;
  uuid = FromName(real.view());
  return S_OK;
}

CADUuid CADDocumentIdentity::Fresh(const CADUnicodeString& path) {
  static unsigned long counter = 0;
  return FromName(path.str() + "#" + std::to_string(++counter));
}
