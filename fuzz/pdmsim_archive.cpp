// Fuzz target for the reference PDM's reading of an archive's structure file: never fails hard, and a file it
// accepts names only plain file names, each once.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ArchiveAnswer.h"
#include "PlainFileName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> members;
  std::string error;
  if (!pdmsim::ArchiveStore::ReadMembers(std::string(reinterpret_cast<const char*>(data), size), members, error))
    return 0;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (!pdmsim::IsPlainFileName(members[i])) std::abort();
    if (std::find(members.begin() + static_cast<long>(i) + 1, members.end(), members[i]) != members.end()) std::abort();
  }
  return 0;
}
