#include <gtest/gtest.h>

#include "ZRBGlobalProperties.h"
#include "ZRBRunningCommandRegistry.h"

namespace {

// Stands in for a command: the registry only keeps the address.
struct FakeCommand {
  int unused = 0;
};
ZRBCommand* AsCommand(FakeCommand& c) { return reinterpret_cast<ZRBCommand*>(&c); }

TEST(RunningCommandRegistry, OnlyOneCommandWaitsAndAbandonmentKeepsTheKind) {
  FakeCommand first, second;
  ZRBRunningCommandRegistry registry;
  registry.Register(ZRBRunningCommandKind::AddTemp, AsCommand(first), "pdmcl -b --");
  registry.Register(ZRBRunningCommandKind::SaveAs, AsCommand(second), "samcl");
  EXPECT_EQ(static_cast<int>(registry.GetKind()), 2);
  EXPECT_EQ(registry.GetCommand(), AsCommand(second));
  // Abandonment destroys the command first and cancels at the PDM afterwards.
  registry.ClearCommand();
  EXPECT_EQ(registry.GetCommand(), nullptr);
  EXPECT_EQ(registry.GetKind(), ZRBRunningCommandKind::SaveAs);
  EXPECT_EQ(registry.GetConnectionCommand(), CADUnicodeString("samcl"));
  registry.Clear();
  EXPECT_TRUE(registry.IsEmpty());
}

TEST(RunningCommandRegistry, DestructorClearsOnlyItsOwnEntryAndKeepsTheCancelTarget) {
  FakeCommand waiting, other;
  struct Case {
    FakeCommand* destroyed;
    bool cleared;
  };
  const Case cases[] = {{&other, false}, {nullptr, false}, {&waiting, true}};
  for (const Case& c : cases) {
    ZRBRunningCommandRegistry registry;
    registry.Register(ZRBRunningCommandKind::UsePdmStructure, AsCommand(waiting), "samcl");
    EXPECT_EQ(registry.ClearIfCurrent(c.destroyed), c.cleared);
    EXPECT_EQ(registry.GetCommand(), c.cleared ? nullptr : AsCommand(waiting));
    // The PDM's dialog is still open: the next integrity check must cancel
    // it at the client that opened it.
    EXPECT_EQ(registry.GetKind(), ZRBRunningCommandKind::UsePdmStructure);
    EXPECT_EQ(registry.GetConnectionCommand(), CADUnicodeString("samcl"));
  }
}

TEST(RunningCommandRegistry, RegistrationTakesTheConnectionCommandInForceThen) {
  ZRBGlobalProperties& globals = ZRBGlobalProperties::Process();
  globals.Reset();
  FakeCommand sam;
  globals.SetGlobalProperty("ZRB_CONNECTION_CMD", "samcl");
  globals.RegisterRunningCommand(ZRBRunningCommandKind::AddTemp, AsCommand(sam));
  // A standard command constructed later switches the client mode back.
  globals.SetGlobalProperty("ZRB_CONNECTION_CMD", "pdmcl -b --");
  EXPECT_EQ(globals.GetRunningCommandRegistry().GetConnectionCommand(), CADUnicodeString("samcl"));
  EXPECT_EQ(globals.GetRunningCommandRegistry().GetCommand(), AsCommand(sam));
  globals.Reset();
  EXPECT_TRUE(globals.GetRunningCommandRegistry().IsEmpty());
}

}  // namespace
