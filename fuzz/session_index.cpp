// Fuzz target for the local session index reader: any text is read or refused with a reason, and an index read
// whose entries fit on lines reads back the same after it is written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ZRBLocalSessionIndex.h"

namespace {
bool AllFit(const ZRBLocalSessionIndex& index) {
  if (!ZRBLocalSessionIndex::FitsOnLine(index.identity)) return false;
  for (const auto* pairs : {&index.archives, &index.documents})
    for (const auto& [first, second] : *pairs)
      if (!ZRBLocalSessionIndex::FitsOnLine(first) || !ZRBLocalSessionIndex::FitsOnLine(second)) return false;
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZRBLocalSessionIndex index;
  std::string error;
  if (!ZRBLocalSessionIndex::Parse(std::string_view(reinterpret_cast<const char*>(data), size), index, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (!AllFit(index)) return 0;
  ZRBLocalSessionIndex again;
  if (!ZRBLocalSessionIndex::Parse(index.Write(), again, error) || again.identity != index.identity ||
      again.tmpCounter != index.tmpCounter || again.archives != index.archives || again.documents != index.documents)
    std::abort();
  return 0;
}
