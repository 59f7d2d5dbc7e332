#include "CADBaseTypes.h"

#include <cstdio>
#include <cstdlib>

namespace cadhost {
void FailFast(const char* what) {
  std::fprintf(stderr, "FATAL: %s\n", what);
  std::fflush(stderr);
  std::abort();
}
}  // namespace cadhost
