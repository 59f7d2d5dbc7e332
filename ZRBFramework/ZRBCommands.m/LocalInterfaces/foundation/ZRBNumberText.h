// Numbers written into exchange objects and read back: always with a dot, whatever numeric locale the process
// has set, and without touching the process-wide locale (the PDM worker thread runs meanwhile).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Stateless; safe on any thread.
class ZRBNumberText {
 public:
  // "%.16e".
  static std::string Scientific(double value);
  // `value` written with a printf-style `format` that holds exactly one floating-point conversion (flags,
  // width and precision allowed; "%%" for a percent sign). Empty for any other format: a format from a
  // configuration file must never reach printf with the wrong argument.
  static std::optional<std::string> Formatted(std::string_view format, double value);
  // The whole text (blanks at both ends allowed) as a number; empty when it is not one.
  static std::optional<double> ParseDouble(std::string_view text);
  static std::optional<int> ParseInt(std::string_view text);
  // True when `format` is one a double may be written with (an "l" before the conversion is allowed).
  static bool IsDoubleFormat(std::string_view format);
};
