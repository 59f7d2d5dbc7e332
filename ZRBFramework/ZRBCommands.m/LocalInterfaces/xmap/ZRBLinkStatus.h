// What the exchange-map cache knows of a file: examined without following a
// symbolic link, so a link counts as itself and never as its target.
#pragma once

#include <cstdint>
#include <string>

struct ZRBLinkStatus {
  bool exists = false;
  bool isRegular = false;
  bool isLink = false;
  std::int64_t modTime = 0;  // seconds since 1970
  std::uint64_t size = 0;

  // lstat of the path; exists is false when it cannot be examined.
  static ZRBLinkStatus Of(const std::string& path);
  // directory and name joined by one "/".
  static ZRBLinkStatus Of(const std::string& directory, const std::string& name);
};
