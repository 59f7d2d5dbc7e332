// The dialogs with which the designer edits the non-CAD files of an archive: ZRBNonCadArchiveDialog lists the
// archive's files (name, directory, change state) with add and remove buttons; ZRBAddNonCadArchiveDialog offers the
// candidate files, host documents filtered out while its check box is set. The dialogs know no archive: the
// command hands in the rows, the candidates and the state texts, and receives the rows on OK.
#pragma once

#include <functional>
#include <vector>

#include "CADDlgDialog.h"
#include "CADUnicodeString.h"

class CADDlgCheckButton;
class CADDlgMultiList;
class CADDlgPushButton;

// One file of the list: its name, the directory it lives in and its change state's text.
struct ZRBNonCadRow {
  CADUnicodeString name;
  CADUnicodeString directory;
  CADUnicodeString state;
};

// A file the add dialog offers; hostDocument marks those the filter hides.
struct ZRBNonCadCandidate {
  CADUnicodeString name;
  CADUnicodeString directory;
  bool hostDocument = false;
};

// User-interface thread only. Both dialogs destroy themselves when closed.
class ZRBAddNonCadArchiveDialog : public CADDlgDialog {
 public:
  // Called once on OK with the chosen candidates (not on Cancel).
  using Chosen = std::function<void(const std::vector<ZRBNonCadCandidate>& chosen)>;
  ZRBAddNonCadArchiveDialog(CADDialog* parent, std::vector<ZRBNonCadCandidate> candidates, Chosen chosen);
  // Fills the list anew from the candidates, host documents left out while the filter box is checked.
  void Refill();
  CADListValCADString GetResourceFilename() const override;

 private:
  void Close(bool ok);

  std::vector<ZRBNonCadCandidate> candidates_;
  std::vector<int> shown_;  // candidate index of each row
  Chosen chosen_;
  CADDlgMultiList* list_ = nullptr;  // owned by the dialog's tree
  CADDlgCheckButton* filter_ = nullptr;
};

class ZRBNonCadArchiveDialog : public CADDlgDialog {
 public:
  // What the command supplies: the candidates for the add dialog, and the state text of a file.
  struct Sources {
    std::function<std::vector<ZRBNonCadCandidate>()> candidates;
    std::function<CADUnicodeString(const CADUnicodeString& name, const CADUnicodeString& directory)> state;
  };
  // Called once when the dialog closes: ok 1 with the rows as the designer left them, 0 on Cancel.
  using Continuation = std::function<void(int ok, const std::vector<ZRBNonCadRow>& rows)>;

  ZRBNonCadArchiveDialog(const CADUnicodeString& archiveName, const std::vector<ZRBNonCadRow>& rows, Sources sources,
                         Continuation continuation);

  // --- the buttons' work
  void OnAdd();
  void OnRemove();
  // Adds a row per chosen file and takes re-added files off the removal list.
  void ProcessEndAddDialog(const std::vector<ZRBNonCadCandidate>& chosen);

  const CADUnicodeString& GetArchiveName() const { return archiveName_; }
  // The files of the rows the designer removed (offered again by the add dialog).
  const std::vector<ZRBNonCadCandidate>& GetRemovalList() const { return removals_; }
  CADListValCADString GetResourceFilename() const override;

 private:
  void Finish(int ok);
  std::vector<ZRBNonCadRow> Rows() const;

  CADUnicodeString archiveName_;
  Sources sources_;
  Continuation continuation_;
  std::vector<ZRBNonCadCandidate> removals_;
  CADDlgMultiList* list_ = nullptr;  // owned by the dialog's tree
};
