#include "CADDlgEditor.h"

void CADDlgEditor::AddLine(const CADUnicodeString& line) {
  if (text_.IsEmpty()) {
    text_ = line;
    return;
  }
  text_ = text_ + "\n" + line;
}

CADListValCADUnicodeString CADDlgEditor::GetLines() const {
  CADListValCADUnicodeString lines;
  if (text_.IsEmpty()) return lines;
  std::string_view rest = text_.view();
  while (true) {
    size_t lf = rest.find('\n');
    lines.Append(CADUnicodeString(rest.substr(0, lf)));
    if (lf == std::string_view::npos) break;
    rest.remove_prefix(lf + 1);
  }
  return lines;
}
