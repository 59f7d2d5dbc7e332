// Fuzzes the setting repository reader with whatever a settings file may hold. Reading and writing back must
// be stable: a rendered file reads to the same settings and renders to the same text again, and setting a value
// keeps every other line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "CADSettingFile.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view content(reinterpret_cast<const char*>(data), size);
  CADSettingFile file = CADSettingFile::Parse(content, "fuzz.settings");
  std::string rendered = file.Render();
  CADSettingFile again = CADSettingFile::Parse(rendered);
  Check(again.Render() == rendered);
  Check(again.IsProtected() == file.IsProtected());

  // Every value survives a write and read of the same name.
  const std::string value(content.substr(0, content.size() < 64 ? content.size() : 64));
  again.SetValue("Fuzzed", value);
  again.SetList("FuzzedList", {value, "", value});
  CADSettingFile third = CADSettingFile::Parse(again.Render());
  const std::string* back = third.FindValue("Fuzzed");
  Check(back && *back == value);
  std::vector<std::string> items;
  Check(third.FindList("FuzzedList", items) && items.size() == 3 && items[0] == value && items[1].empty());
  return 0;
}
