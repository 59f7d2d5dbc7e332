// The state of one pass of the cache-file handling over a PDM answer: the
// settings read once at its start, the vis files of the local cache, and the
// objects already handled (an answer may name an object twice or in a cycle).
#pragma once

#include <set>
#include <string>

#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

struct ZRBCacheFileContext {
  // Deeper nesting of sub-assembly relations than this is taken as a broken answer.
  static constexpr int MaxDepth = 256;

  int cacheTimeStamp = 0;  // "TimeStamp" of "CADCache": vis names carry the model time
  int daylight = 0;
  int timeMode = 0;
  CADUnicodeString cacheDirectory;                       // "" when the local cache directory is unknown
  CADListValCADString cachedVisNames;                    // names in cacheDirectory, kept current while deleting
  CADListValCADUnicodeString* filesToRefresh = nullptr;  // files the caller deletes at the end
  std::set<std::string> visitedKeys;
  int depth = 0;
};
