#include "ZRBAnswerLocation.h"

#include "ZRBAfxCache.h"
#include "ZRBStaleFiles.h"
#include "ZRBTrace.h"

int ZRBAnswerLocation::IsAcceptable(std::string_view location) {
  // Only the last component is used; whatever the directory part says (the exchange map as the PDM spelled it,
  // perhaps relative, through "sub/../" or with a control character in it) is never looked at.
  const std::size_t lastSlash = location.find_last_of('/');
  const std::string_view name = lastSlash == std::string_view::npos ? location : location.substr(lastSlash + 1);
  if (name.empty() || name == "." || name == "..") return 0;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return 0;
  }
  // A name a Windows side would read as a path leading upwards is no file of the exchange map either.
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('\\', start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..") return 0;
    start = end + 1;
  }
  return 1;
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
