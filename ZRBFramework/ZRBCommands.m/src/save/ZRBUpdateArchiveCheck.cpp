#include "ZRBUpdateArchiveCheck.h"

#include "ZRBTrace.h"

namespace {
ZRBUpdateArchiveCheck::Check& Installed() {
  static ZRBUpdateArchiveCheck::Check check;
  return check;
}
struct Slots {
  ZRBUpdateArchiveCheck::Writer writer;
  ZRBUpdateArchiveCheck::AnswerReader reader;
};
Slots& InstalledSlots() {
  static Slots slots;
  return slots;
}
}  // namespace

void ZRBUpdateArchiveCheck::InstallArchiveSlots(Writer writer, AnswerReader reader) {
  InstalledSlots() = {std::move(writer), std::move(reader)};
}

int ZRBUpdateArchiveCheck::WriteArchive(ZRBCommand& command, ZRBObjectManager& request,
                                        const CADIProduct_var& archiveRoot, ZRBObject* object) {
  if (!InstalledSlots().writer) {
    ZRB_DEBUG("ZRB: no archive writer installed, the archive is not sent");
    return 1;
  }
  return InstalledSlots().writer(command, request, archiveRoot, object);
}

void ZRBUpdateArchiveCheck::ReadArchiveAnswers(const CADIProduct_var& root, ZRBObjectManager& answer) {
  if (InstalledSlots().reader) InstalledSlots().reader(root, answer);
}

void ZRBUpdateArchiveCheck::Install(Check check) { Installed() = std::move(check); }

int ZRBUpdateArchiveCheck::CheckForArchiveValidation(ZRBCommand& command, const CADIProduct_var& node, int& failed,
                                                     CADUnicodeString& message) {
  if (!Installed()) {
    ZRB_DEBUG("ZRB: no archive check installed, archives pass");
    return 1;
  }
  return Installed()(command, node, failed, message);
}
