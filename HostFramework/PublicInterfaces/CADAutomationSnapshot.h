// Values that automation components publish for readers on other threads:
// the bridge answers GetStatus from here without touching component code.
// A component publishes under its class name, e.g. ("ZRBModComm", "Status").
#pragma once

#include <string>
#include <string_view>

class CADAutomationSnapshot {
 public:
  // Any thread.
  static void Publish(std::string_view componentClass, std::string_view key, std::string_view value);
  // False, with `value` emptied, when nothing was published under that name.
  static bool Read(std::string_view componentClass, std::string_view key, std::string& value);
  // Tests: forgets every published value.
  static void Reset();
};
