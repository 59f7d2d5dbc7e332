// Feeds arbitrary bytes to the reader of cache content files and checks that
// what it keeps is written back in a form that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ZRBXmapManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  ZRBXmapManager manager;
  const int read = manager.ReadContent(in);
  if (read != 0 && read != 1) std::abort();
  // Entries read from a file come back byte for byte, in list order.
  const std::string written = manager.ContentBytes();
  std::istringstream again(written);
  ZRBXmapManager reread;
  if (reread.ReadContent(again) != 1 || reread.Size() != manager.Size()) std::abort();
  if (reread.ContentBytes() != written) std::abort();
  for (const ZRBXmapFile* entry : manager.GetEntries()) {
    if (reread.FindByFileName(CADString(entry->GetFileName())) == nullptr) std::abort();
    if (reread.FindBySortKey(CADString(entry->GetSortKey())) == nullptr) std::abort();
  }
  return 0;
}
