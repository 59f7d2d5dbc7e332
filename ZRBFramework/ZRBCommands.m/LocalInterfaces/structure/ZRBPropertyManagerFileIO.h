// File handling of the property manager's files, which may live in a
// directory every user can write to: writes go through a fresh temporary
// file and a rename (a planted symbolic link is replaced, never followed),
// and reads of such files accept only a regular file of the current user.
#pragma once

#include <string_view>

#include "CADUnicodeString.h"

class ZRBPropertyManagerFileIO {
 public:
  // Writes `content` to `path` as a whole or not at all; 1 on success, 0
  // when any step fails (the old file, if any, is then left as it was).
  static int WriteWhole(const CADUnicodeString& path, std::string_view content);
  // 1 when `path` names a regular file (not a link) owned by this user.
  static int IsOwnRegularFile(const CADUnicodeString& path);
  // 1 when something exists at `path` (a dangling link included).
  static int Exists(const CADUnicodeString& path);
};
