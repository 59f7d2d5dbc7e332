// Fuzzes the message and resource catalog reader with whatever a catalog file may hold, and the parameter
// substitution with the texts it yields. Every text read must be found again under its key, and substituting
// parameters must neither crash nor expand a parameter's own placeholders.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "CADCatalogFile.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view content(reinterpret_cast<const char*>(data), size);
  CADCatalogFile file = CADCatalogFile::Parse(content, "fuzz.msg");
  Check(file.Size() >= 0);

  // Look up the keys the input names (text before each '=').
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    std::string_view line = content.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    start = end == std::string_view::npos ? content.size() : end + 1;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = line.substr(0, eq);
    while (!key.empty() && (key.front() == ' ' || key.front() == '\t')) key.remove_prefix(1);
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t' || key.back() == '\r')) key.remove_suffix(1);
    if (const std::string* text = file.Find(key)) {
      // A parameter holding placeholders comes out as it is.
      std::string out = CADCatalogFile::Substitute(*text, {"/p2", "/p1", ""});
      Check(out.size() <= text->size() * 3 + 3);
    }
  }
  return 0;
}
