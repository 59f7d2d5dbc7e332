#include "ZRBContentFileCodec.h"

void ZRBContentFileCodec::WriteUInt32(std::ostream& out, std::uint32_t value) {
  const char bytes[4] = {static_cast<char>(value & 0xFFu), static_cast<char>((value >> 8) & 0xFFu),
                         static_cast<char>((value >> 16) & 0xFFu), static_cast<char>((value >> 24) & 0xFFu)};
  out.write(bytes, sizeof bytes);
}

bool ZRBContentFileCodec::ReadUInt32(std::istream& in, std::uint32_t& value) {
  unsigned char bytes[4];
  if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return false;
  value = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
          (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return true;
}

bool ZRBContentFileCodec::ReadInt32(std::istream& in, std::int32_t& value) {
  std::uint32_t raw = 0;
  if (!ReadUInt32(in, raw)) return false;
  value = static_cast<std::int32_t>(raw);
  return true;
}

void ZRBContentFileCodec::WriteText(std::ostream& out, std::string_view text) {
  WriteUInt32(out, static_cast<std::uint32_t>(text.size()));
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool ZRBContentFileCodec::ReadText(std::istream& in, std::string& text) {
  std::int32_t length = 0;
  if (!ReadInt32(in, length) || length < 0 || length > kMaxTextLength) return false;
  text.assign(static_cast<std::size_t>(length), '\0');
  if (length == 0) return true;
  return static_cast<bool>(in.read(text.data(), length));
}
