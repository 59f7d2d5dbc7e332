#include "CachedFileList.h"

#include "ExchangeFile.h"
#include "GmtTime.h"

namespace pdmsim {

CachedFileList CachedFileList::Load(const std::string& path) {
  std::string bytes;
  if (path.empty() || !ReadWholeFile(path, bytes, nullptr)) return {};
  return FromBytes(bytes);
}

CachedFileList CachedFileList::FromBytes(std::string_view bytes) {
  CachedFileList list;
  ExchangeFile file = ExchangeFile::Parse(bytes);
  for (const ExchangeObject& object : file.Objects()) {
    // Only copies in the exchange map count; "REL_CACHE" alone names the
    // released cache, where nothing is delivered.
    if (object.Get("XMAP") != "1") continue;
    list.datesByObid_[object.Key()].push_back(object.Get("MODTIME"));
    ++list.entries_;
  }
  return list;
}

bool CachedFileList::HoldsCurrent(std::string_view obid, std::string_view modificationDate) const {
  auto found = datesByObid_.find(obid);
  if (found == datesByObid_.end()) return false;
  for (const std::string& date : found->second) {
    if (GmtTime::SameSecond(date, modificationDate)) return true;
  }
  return false;
}

}  // namespace pdmsim
