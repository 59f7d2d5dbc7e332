// The host's file chooser: OK and Cancel are its own buttons; the chosen path is read after OK.
#pragma once

#include "CADDlgDialog.h"

// File-chooser style flags of this host.
enum CADDlgFileStyle : unsigned long {
  CADDlgFileDirectoryOnly = 0x00004000,  // directories are chosen, not files
};

class CADDlgFile : public CADDlgDialog {
 public:
  CADDlgFile(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDlgDialog(parent, identifier, style) {}
  const char* GetKind() const override { return "File"; }
  bool ChoosesDirectories() const { return (GetStyle() & CADDlgFileDirectoryOnly) != 0; }

  void SetDirectory(const CADUnicodeString& directory) { directory_ = directory; }
  const CADUnicodeString& GetDirectory() const { return directory_; }
  void SetStatusText(const CADUnicodeString& text) { status_ = text; }
  const CADUnicodeString& GetStatusText() const { return status_; }
  // The chosen path (set by the user before OK).
  void SetSelection(const CADUnicodeString& path) { selection_ = path; }
  void GetSelection(CADUnicodeString& path) const { path = selection_; }

 private:
  CADUnicodeString directory_;
  CADUnicodeString status_;
  CADUnicodeString selection_;
};
