// Writes a CADDocumentImage as the host's document file text (the reader's
// inverse: reading the text back gives an equal image).
#pragma once

#include <string>

#include "CADDocumentImage.h"

class CADDocumentWriter {
 public:
  static std::string Write(const CADDocumentImage& image);
};
