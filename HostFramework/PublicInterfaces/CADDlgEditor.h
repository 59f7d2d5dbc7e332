// A text field, one line or several; read-only editors are written by the program only. The user typing into
// it fires CADDlgEvent::TextModified.
#pragma once

#include "CADDialog.h"
#include "CADListVal.h"

// Editor style flags of this host.
enum CADDlgEditorStyle : unsigned long {
  CADDlgEdtReadOnly = 0x00000001,
  CADDlgEdtMultiline = 0x00000002,
};

class CADDlgEditor : public CADDialog {
 public:
  CADDlgEditor(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDialog(parent, identifier), style_(style) {}
  const char* GetKind() const override { return "Editor"; }
  unsigned long GetStyle() const { return style_; }
  bool IsReadOnly() const { return (style_ & CADDlgEdtReadOnly) != 0; }

  // --- text
  void SetText(const CADUnicodeString& text) { text_ = text; }
  const CADUnicodeString& GetText() const { return text_; }
  // Appends a line (a line feed is put between the old text and the new line).
  void AddLine(const CADUnicodeString& line);
  void ClearLine() { text_ = CADUnicodeString(); }
  // The text split at each line feed; an empty editor has no lines.
  CADListValCADUnicodeString GetLines() const;
  int GetLineCount() const { return GetLines().Size(); }

  // --- display
  void SetVisibleTextWidth(int characters) { visibleTextWidth_ = characters; }
  int GetVisibleTextWidth() const { return visibleTextWidth_; }
  void SetVisibleLineCount(int lines) { visibleLineCount_ = lines; }
  int GetVisibleLineCount() const { return visibleLineCount_; }
  void SetFirstVisibleLine(int line) { firstVisibleLine_ = line; }
  int GetFirstVisibleLine() const { return firstVisibleLine_; }

 private:
  unsigned long style_;
  CADUnicodeString text_;
  int visibleTextWidth_ = 0;
  int visibleLineCount_ = 0;
  int firstVisibleLine_ = 0;
};
