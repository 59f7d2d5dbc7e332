// Reads arbitrary bytes as a property-manager file, then checks that what was
// read survives a write and a second read unchanged: the writer must escape
// whatever the reader can deliver.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "CADBaseTypes.h"
#include "ZRBPropertyManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view xml(reinterpret_cast<const char*>(data), size);
  ZRBPropertyManager first;
  first.ReadText(xml);
  std::string written = first.WriteText("ZRBPropertyManager.dtd");

  ZRBPropertyManager second;
  if (!second.ReadText(written)) cadhost::FailFast("the written property-manager file does not read back");
  if (second.WriteText("ZRBPropertyManager.dtd") != written)
    cadhost::FailFast("the property-manager file changed on its way through write and read");
  if (first.GetNewId() != second.GetNewId()) cadhost::FailFast("the Id counter differs after a round trip");
  return 0;
}
