#include <gtest/gtest.h>

#include "CADClassDictionary.h"
#include "CADCommand.h"

namespace {

// A command created through the dictionary, remembering its argument.
class ModeCmd : public CADCommand {
 public:
  explicit ModeCmd(int mode) : CADCommand("ModeCmd"), mode_(mode) {}
  int mode_;
};
class TextCmd : public CADCommand {
 public:
  explicit TextCmd(const CADString& text) : CADCommand("TextCmd"), text_(text) {}
  CADString text_;
};
class PlainCmd : public CADCommand {
 public:
  PlainCmd() : CADCommand("PlainCmd") {}
};

ModeCmd* fctCreateTestModeCmd(int mode) { return new ModeCmd(mode); }
TextCmd* fctCreateTestTextCmd(const CADString& text) { return new TextCmd(text); }
PlainCmd* fctCreateTestPlainCmd() { return new PlainCmd; }

const CADClassDictionary::Registration g_mode("TestModeCmd", &fctCreateTestModeCmd);
const CADClassDictionary::Registration g_text("TestTextCmd", &fctCreateTestTextCmd);
const CADClassDictionary::Registration g_plain("TestPlainCmd", &fctCreateTestPlainCmd);

}  // namespace

TEST(CADClassDictionary, CreatesByNameWithTheArgumentKindTheFactoryTakes) {
  struct Case {
    const char* className;
    CADClassArgument argument;
    bool created;
    int mode;
    const char* text;
  };
  const Case cases[] = {
      {"TestModeCmd", 5, true, 5, ""},
      {"TestModeCmd", CADString("2"), true, 2, ""},
      {"TestModeCmd", CADString("+7"), true, 7, ""},
      {"TestModeCmd", CADString("-1"), true, -1, ""},
      {"TestModeCmd", std::monostate{}, false, 0, ""},  // a mode is required
      {"TestModeCmd", CADString("5x"), false, 0, ""},
      {"TestModeCmd", CADString("+-5"), false, 0, ""},
      {"TestModeCmd", CADString("99999999999"), false, 0, ""},
      {"TestTextCmd", CADString("part-1"), true, 0, "part-1"},
      {"TestTextCmd", 12, true, 0, "12"},
      {"TestTextCmd", std::monostate{}, true, 0, ""},
      {"TestPlainCmd", CADString("ignored"), true, 0, ""},
      {"NoSuchCmd", std::monostate{}, false, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    CADCommand* command = CADClassDictionary::CreateAs<CADCommand>(c.className, c.argument);
    ASSERT_EQ(command != nullptr, c.created);
    if (!command) continue;
    if (auto* mode = dynamic_cast<ModeCmd*>(command)) {
      EXPECT_EQ(mode->mode_, c.mode);
    }
    if (auto* text = dynamic_cast<TextCmd*>(command)) {
      EXPECT_EQ(text->text_, CADString(c.text));
    }
    command->Release();
  }
}
