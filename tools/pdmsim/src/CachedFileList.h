// The list of files the CAD workstation already holds ("xmapfiles.zrb"): one
// object per cached file, keyed by the OBID of the object the file was
// delivered with, with that object's date in "MODTIME".
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pdmsim {

class CachedFileList {
 public:
  // Reads the list; a missing or unreadable file gives an empty list.
  static CachedFileList Load(const std::string& path);
  static CachedFileList FromBytes(std::string_view bytes);

  // True when an exchange-map entry under this OBID carries a date that
  // agrees with `modificationDate` to the second (first 19 characters).
  bool HoldsCurrent(std::string_view obid, std::string_view modificationDate) const;
  std::size_t Size() const { return entries_; }

 private:
  std::map<std::string, std::vector<std::string>, std::less<>> datesByObid_;
  std::size_t entries_ = 0;
};

}  // namespace pdmsim
