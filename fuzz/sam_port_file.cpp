// Fuzzes the SAM client's port file ("samconnectport", written by the PDM side): any content either gives the
// first four bytes as the port or, when shorter, no port at all; it never reads past them.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ZRBSamStartCmd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz_sam_port_file." + std::to_string(::getpid());
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  const std::optional<int> port = ZRBSamStartCmd::ReadPortFile(CADUnicodeString(path));
  if (size < sizeof(int)) {
    if (port) std::abort();
  } else {
    int expected = 0;
    std::memcpy(&expected, data, sizeof expected);
    if (!port || *port != expected) std::abort();
  }
  return 0;
}
