// Reads the configuration file (XML, see docs/configuration.md) into a
// ZRBConfigData. Refuses the whole file on the first fault, with a message
// that names the line, so that a typo never configures half a site.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ZRBConfigData.h"

class ZRBConfigFileReader {
 public:
  // The data, or nullopt with error set to a one-line reason.
  static std::optional<ZRBConfigData> ReadFile(const std::string& path, std::string& error);
  static std::optional<ZRBConfigData> ReadText(std::string_view xml, std::string& error);
};
