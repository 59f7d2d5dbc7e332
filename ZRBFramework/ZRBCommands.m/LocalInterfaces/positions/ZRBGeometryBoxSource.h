// Gives the model information the box of a part or product computed from the parts' visualisation
// (ZRBProductBox). It installs itself at module load; Install() puts it back after a test restored the default.
#pragma once

class ZRBGeometryBoxSource {
 public:
  static void Install();
};
