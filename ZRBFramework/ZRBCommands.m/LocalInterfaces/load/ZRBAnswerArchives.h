// What the read does with the archives an answer delivers. The archives layer, above this one, installs the
// unpacking at load; without it the archives of an answer stay packed (traced).
#pragma once

#include <functional>

#include "CADUnicodeString.h"

class ZRBCommandContext;
class ZRBObjectManager;

class ZRBAnswerArchives {
 public:
  // (command, answer, add-temporary read, name prefix of add-temporary files) -> 1 when every archive was
  // processed (failures are in the command's warnings).
  using Processor = std::function<int(ZRBCommandContext&, ZRBObjectManager&, int, const CADUnicodeString&)>;
  static void Install(Processor processor);
  static int ProcessAllArchives(ZRBCommandContext& command, ZRBObjectManager& answer, int addTemp,
                                const CADUnicodeString& prefix);

  // (command, answer) -> how many loaded roots became archive roots: once the structure is built, the roots of
  // the delivered archives get the archive's identity, so the session knows them as archives.
  using RootMarker = std::function<int(ZRBCommandContext&, ZRBObjectManager&)>;
  static void InstallRootMarker(RootMarker marker);
  static int MarkArchiveRoots(ZRBCommandContext& command, ZRBObjectManager& answer);
};
