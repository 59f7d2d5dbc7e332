#include "GmtTime.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "PdmError.h"

namespace pdmsim {
namespace {

bool ReadDigits(std::string_view text, std::size_t pos, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

std::string GmtTime::Format(std::int64_t ms) {
  std::int64_t seconds = ms / 1000;
  int millis = static_cast<int>(ms % 1000);
  if (millis < 0) {
    millis += 1000;
    --seconds;
  }
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, millis);
  return buffer;
}

std::optional<std::int64_t> GmtTime::Parse(std::string_view text) {
  if (text.size() != kLength || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':' || text[19] != '.') {
    return std::nullopt;
  }
  int year, month, day, hour, minute, second, millis;
  if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 5, 2, month) || !ReadDigits(text, 8, 2, day) ||
      !ReadDigits(text, 11, 2, hour) || !ReadDigits(text, 14, 2, minute) || !ReadDigits(text, 17, 2, second) ||
      !ReadDigits(text, 20, 3, millis)) {
    return std::nullopt;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) {
    return std::nullopt;
  }
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  std::time_t t = timegm(&tm);
  return static_cast<std::int64_t>(t) * 1000 + millis;
}

std::string GmtTime::Now() {
  if (const char* fixed = std::getenv("PDMSIM_NOW"); fixed && *fixed) {
    if (!Parse(fixed)) {
      throw PdmError(std::string("PDMSIM_NOW must look like \"2024-05-01 10:00:00.000\", not \"") + fixed + "\"");
    }
    return fixed;
  }
  auto now = std::chrono::system_clock::now();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  return Format(ms);
}

std::string GmtTime::NextAfter(std::string_view previous) {
  std::string now = Now();
  auto before = Parse(previous);
  auto current = Parse(now);
  if (!before || !current) return now;
  std::int64_t previousSecond = *before / 1000;
  if (*current / 1000 > previousSecond) return now;
  return Format((previousSecond + 1) * 1000);
}

bool GmtTime::SameSecond(std::string_view a, std::string_view b) {
  return a.size() >= kComparedLength && b.size() >= kComparedLength &&
         a.substr(0, kComparedLength) == b.substr(0, kComparedLength);
}

}  // namespace pdmsim
