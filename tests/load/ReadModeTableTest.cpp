// What the creation mode and the creating command's flags make of a read: its sub-mode and the answer file.
#include <functional>

#include "CommandFixture.h"
#include "ZRBReadCmd.h"

namespace {

class ReadModeTableTest : public CommandFixture {};

struct ModeCase {
  int mode;
  std::function<void(ZRBReadCmd&)> flags;
  int subMode;
  int afterUpdate;
  int addCommand;
  const char* answerFile;
};

TEST_F(ReadModeTableTest, ModeAndFlagsChooseTheAnswerFile) {
  const ModeCase cases[] = {
      {1, [](ZRBReadCmd&) {}, 1, 0, 0, "xfile.zrb"},
      {2, [](ZRBReadCmd&) {}, 2, 0, 0, "sZRBstructure"},
      {3, [](ZRBReadCmd&) {}, 3, 0, 0, "sZRBstructure"},
      {4, [](ZRBReadCmd&) {}, 3, 1, 0, "eZRBstructure"},
      {5, [](ZRBReadCmd&) {}, 1, 0, 1, "xfile.zrb"},
      {7, [](ZRBReadCmd&) {}, 1, 0, 0, "xfile.zrb"},
      {1, [](ZRBReadCmd& r) { r.SetAddTempRead(1); }, 1, 0, 0, "atfile.zrb"},
      {1, [](ZRBReadCmd& r) { r.SetUsePdmStructureRead(1); }, 1, 0, 0, "upsfile.zrb"},
      {1, [](ZRBReadCmd& r) { r.SetCatalogRead(1); }, 1, 0, 0, "catalog.zrb"},
      {1, [](ZRBReadCmd& r) { r.SetCatalogEditRead(1); }, 1, 0, 0, "catalog.zrb"},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", answer " << c.answerFile);
    auto* read = new ZRBReadCmd(c.mode);
    c.flags(*read);
    EXPECT_EQ(read->GetState().subMode, c.subMode);
    EXPECT_EQ(read->GetState().afterUpdate, c.afterUpdate);
    EXPECT_EQ(read->GetState().addCommand, c.addCommand);
    EXPECT_EQ(read->GetAnswerFileName().str(), c.answerFile);
    read->RequestDelayedDestruction();
    Loop().RunPending();
  }
}

}  // namespace
