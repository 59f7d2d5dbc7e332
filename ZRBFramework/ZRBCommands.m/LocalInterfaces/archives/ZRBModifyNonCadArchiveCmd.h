// Edits the non-CAD files of the archive whose root is selected: the dialog lists them with their change state;
// files are added from the exchange map and the extra directory or removed; OK gives the archive its new list and
// marks it changed, so the next update sends the archive again. Cancel changes nothing.
#pragma once

#include <vector>

#include "CADIProduct.h"
#include "CADUnicodeString.h"
#include "ZRBNonCadArchiveDialog.h"
#include "ZRBOneStepCommand.h"

// The change state of one non-CAD file against its "ZRB_LAST_KNOWN_MOD_TIME".
enum class ZRBNonCadState { New, Modified, NotModified, NotFound };

// User-interface thread only. Results: S_OK or E_FAIL.
class ZRBModifyNonCadArchiveCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBModifyNonCadArchiveCmd() : ZRBOneStepCommand("ZRBModifyNonCadArchiveCmd") {}

  // --- the steps
  // The archive name (its structure file) of the selected archive root; E_FAIL after the message when the
  // selection names no loaded archive.
  HRESULT GetArchiveRootFile(CADIProduct_var& root, CADUnicodeString& archiveName);
  // The archive's files as rows of the dialog.
  static std::vector<ZRBNonCadRow> CurrentRows(const CADUnicodeString& archiveName);
  // The files of the exchange map and the extra directory the session does not know yet.
  static std::vector<ZRBNonCadCandidate> Candidates();
  // OK: the archive's non-CAD entries become the rows; the archive and its root document are marked changed.
  static void ApplyRows(const CADUnicodeString& archiveName, const CADIProduct_var& root,
                        const std::vector<ZRBNonCadRow>& rows);

  // --- change states
  // `withExistence` 0 (the archive's own check) judges a missing file "not modified".
  static ZRBNonCadState GetState(const CADUnicodeString& fullPath, int withExistence);
  static CADUnicodeString StateText(ZRBNonCadState state);

 protected:
  Outcome Work() override;
};

ZRBModifyNonCadArchiveCmd* fctCreateZRBModifyNonCadArchiveCmd();
