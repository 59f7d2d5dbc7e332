// The stored format of archive structure files and their DTD, both ways: the writer lays a ZRBArchive out byte
// for byte as the PDM keeps it, the reader turns a file back into a ZRBArchive and refuses damaged ones whole.
#pragma once

#include <string>
#include <string_view>

#include "ZRBArchive.h"

class ZRBArchiveXml {
 public:
  // The DTD's name beside every structure file, and its text.
  static constexpr const char* kDtdFileName = "ZRBArchive.dtd";
  static std::string DtdText();

  // The whole structure file for `archive`.
  static std::string Write(const ZRBArchive& archive);

  // Text for an XML value: "&", "<", ">", "'" and '"' as entities; TAB, LF and CR as character references (an
  // attribute value would lose them otherwise); other control characters XML cannot carry are dropped (traced).
  static std::string EscapeString(std::string_view text);
  // Appends `text` as UTF-8: invalid byte sequences become U+FFFD (traced), so the file always parses.
  static void WriteUtf8(std::string& out, std::string_view text);

  // Parses a structure file (`ParseFile`) or its text. 1 and `archive` filled when the file is well formed and
  // its blocks nest as the DTD has them; else 0 with `archive` untouched ("Parse error in structure file").
  static int ParseFile(const std::string& path, ZRBArchive& archive);
  static int ParseText(std::string_view text, ZRBArchive& archive);
};
