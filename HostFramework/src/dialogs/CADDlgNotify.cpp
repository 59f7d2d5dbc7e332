#include "CADDlgNotify.h"

#include "CADDlgBoxScript.h"

int CADDlgNotify::DisplayBlocked(const CADUnicodeString& text, const CADUnicodeString& title) {
  text_ = text;
  SetTitle(title);
  // Shown for the time of the answer only: the box is modal and closes with its button.
  SetVisibility(CADDlgShow);
  int answer = CADDlgBoxScript::Answer(GetName(), GetStyle(), title, text);
  SetVisibility(CADDlgHide);
  return answer;
}
