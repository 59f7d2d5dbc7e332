// Asks the user of an interactive session which button closes a message box that no `answer` foresaw: the box is
// shown with its buttons and the next input line picks one.
#pragma once

#include <string>
#include <string_view>

#include "CADDlgBoxScript.h"
#include "ZRBSessionOutput.h"

// Session thread only. While a box is up the event loop is blocked (boxes are modal), so the answer is read from
// the input directly: first from what was typed ahead, then from the descriptor.
class ZRBSessionBoxAsker {
 public:
  ZRBSessionBoxAsker(ZRBSessionOutput& output, std::string& typedAhead, int inputFd)
      : output_(output), typedAhead_(typedAhead), inputFd_(inputFd) {}

  // The button the user picks; 0 (the box's safe default) for an empty line or the end of the input.
  int Ask(const CADDlgBoxRecord& box);
  // The answer a typed word gives for a box of `style` ("y", "yes", "OK", "c" ...): 0 for an empty word, -1 when
  // the word names no button of that box.
  static int AnswerFor(std::string_view word, unsigned long style);
  // "[y]es / [n]o" and the like.
  static std::string Choices(unsigned long style);

 private:
  // One line without its end; false at the end of the input with nothing read.
  bool ReadLine(std::string& line);

  ZRBSessionOutput& output_;
  std::string& typedAhead_;  // the prompt's buffer of input not yet executed
  int inputFd_;
};
