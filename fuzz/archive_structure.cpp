// Reads arbitrary bytes as an archive structure file; what is accepted must write out, read back and write out
// again to the same bytes (the writer escapes whatever the reader can deliver), and what is refused leaves the
// archive untouched.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "CADBaseTypes.h"
#include "ZRBArchiveXml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view xml(reinterpret_cast<const char*>(data), size);
  ZRBArchive first;
  first.parts.push_back({"untouched", {}, {}});
  if (!ZRBArchiveXml::ParseText(xml, first)) {
    if (first.parts.size() != 1 || first.parts[0].id != "untouched")
      cadhost::FailFast("a refused file changed the archive");
    return 0;
  }
  const std::string written = ZRBArchiveXml::Write(first);
  ZRBArchive second;
  if (!ZRBArchiveXml::ParseText(written, second)) cadhost::FailFast("the written structure file does not read back");
  if (ZRBArchiveXml::Write(second) != written) cadhost::FailFast("the structure file changed through write and read");
  return 0;
}
