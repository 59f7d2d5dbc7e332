// Fuzz target for the STL importer: users bring their own files, so any bytes must give a clean refusal or a
// body whose triangles all name existing vertices with finite coordinates.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "CADStlReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CADGeometryBody body;
  CADUnicodeString error;
  if (FAILED(CADStlReader::Parse(std::string_view(reinterpret_cast<const char*>(data), size), body, error))) {
    if (error.IsEmpty() || !body.vertices.empty()) std::abort();  // every refusal says why and keeps nothing
    return 0;
  }
  const long vertices = static_cast<long>(body.vertices.size());
  for (const auto& t : body.triangles)
    for (int v : t)
      if (v < 0 || v >= vertices) std::abort();
  for (const CADMathPoint& p : body.vertices)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) std::abort();
  return 0;
}
