#include "ZRBAnswerArchives.h"

#include "ZRBTrace.h"

namespace {
ZRBAnswerArchives::Processor& Installed() {
  static ZRBAnswerArchives::Processor processor;
  return processor;
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
