// Fuzz target for the reference PDM's own exchange-file reader (it reads the
// requests the CAD module writes and the lists of cached files): parsing never
// fails hard, and whatever it read completely survives writing and reading again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CachedFileList.h"
#include "ExchangeFile.h"

namespace {

bool SameObjects(const pdmsim::ExchangeFile& a, const pdmsim::ExchangeFile& b) {
  if (a.Objects().size() != b.Objects().size()) return false;
  for (std::size_t i = 0; i < a.Objects().size(); ++i) {
    if (a.Objects()[i].Key() != b.Objects()[i].Key() || a.Objects()[i].Slots() != b.Objects()[i].Slots()) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  pdmsim::ParseReport report;
  pdmsim::ExchangeFile file = pdmsim::ExchangeFile::Parse(bytes, &report);
  if (!report.complete && report.stopLine == 0) std::abort();

  std::string written;
  if (file.Serialize(written, nullptr)) {
    pdmsim::ParseReport again;
    pdmsim::ExchangeFile reread = pdmsim::ExchangeFile::Parse(written, &again);
    if (!again.complete || !SameObjects(file, reread)) std::abort();
  }
  for (const auto& object : file.Objects()) {
    for (const auto& slot : object.Slots()) (void)object.GetList(slot.first);
  }
  pdmsim::CachedFileList cached = pdmsim::CachedFileList::FromBytes(bytes);
  (void)cached.HoldsCurrent("IT00000001", "2024-05-01 10:00:00.000");
  return 0;
}
