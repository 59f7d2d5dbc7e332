#include "ZRBAnswerLocation.h"

#include "ZRBAfxCache.h"
#include "ZRBStaleFiles.h"
#include "ZRBTrace.h"

int ZRBAnswerLocation::IsAcceptable(std::string_view location) {
  if (location.empty()) return 0;
  for (const char c : location) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return 0;
  }
  // A ".." anywhere says the PDM meant a file outside the exchange map; taking its last component would silently
  // pick an unrelated file of the exchange map instead.
  std::size_t start = 0;
  while (start <= location.size()) {
    std::size_t end = location.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = location.size();
    if (location.substr(start, end - start) == "..") return 0;
    start = end + 1;
  }
  const std::size_t lastSlash = location.find_last_of('/');
  const std::string_view name = lastSlash == std::string_view::npos ? location : location.substr(lastSlash + 1);
  return name.empty() || name == "." ? 0 : 1;
}

int ZRBAnswerLocation::Resolve(const CADString& location, CADUnicodeString& fullPath) {
  fullPath = CADUnicodeString();
  if (!IsAcceptable(location.view())) {
    ZRB_DEBUG("ZRB: EXTERNAL_LOCATION '%s' names no file of the exchange map, ignored", location.c_str());
    return 0;
  }
  CADUnicodeString xmap;
  if (!ZRBAfxCache::GetXMap(xmap)) {
    ZRB_DEBUG("ZRB: no exchange map (ZRBXMAP) for '%s'", location.c_str());
    return 0;
  }
  const CADUnicodeString name = ZRBStaleFiles::FileNameOfLocation(location);
  if (name.IsEmpty()) return 0;
  fullPath = ZRBAfxCache::MakePath(xmap, name);
  return 1;
}
