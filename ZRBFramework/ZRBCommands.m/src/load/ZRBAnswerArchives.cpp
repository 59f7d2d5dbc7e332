#include "ZRBAnswerArchives.h"

#include "ZRBTrace.h"

namespace {
ZRBAnswerArchives::Processor& Installed() {
  static ZRBAnswerArchives::Processor processor;
  return processor;
}
ZRBAnswerArchives::RootMarker& InstalledMarker() {
  static ZRBAnswerArchives::RootMarker marker;
  return marker;
}
}  // namespace

void ZRBAnswerArchives::Install(Processor processor) { Installed() = std::move(processor); }

int ZRBAnswerArchives::ProcessAllArchives(ZRBCommandContext& command, ZRBObjectManager& answer, int addTemp,
                                          const CADUnicodeString& prefix) {
  if (!Installed()) {
    ZRB_DEBUG("ZRB: no archive handling installed, archives of the answer stay packed");
    return 1;
  }
  return Installed()(command, answer, addTemp, prefix);
}

void ZRBAnswerArchives::InstallRootMarker(RootMarker marker) { InstalledMarker() = std::move(marker); }

int ZRBAnswerArchives::MarkArchiveRoots(ZRBCommandContext& command, ZRBObjectManager& answer) {
  if (!InstalledMarker()) {
    ZRB_DEBUG("ZRB: no archive handling installed, delivered archives mark no root");
    return 0;
  }
  return InstalledMarker()(command, answer);
}
