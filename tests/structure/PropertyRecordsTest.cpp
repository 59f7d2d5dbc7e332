#include "PropsTestSupport.h"
#include "ZRBPropertyContainer.h"
#include "ZRBPropertyManagerStore.h"

// A file read may bring a name twice: setting it replaces every entry, so no stale value reads back later.
TEST(ZRBPropertyContainer, SetReplacesEveryEntryOfTheName) {
  ZRBPropertyContainer c;
  c.SetProperty("B", "1");
  c.SetProperty("A", "2");
  c.AppendProperty("B", "dup");
  c.SetProperty("B", "3");
  EXPECT_EQ(c.GetValues(), (CADListValCADUnicodeString{"3", "2", "3"}));
  EXPECT_EQ(c.DeleteProperty("B"), 2);
  EXPECT_EQ(c.GetPropertyCount(), 1);
}

TEST_F(PropsTest, EmptyKeysNeverCreateOrMatchRecords) {
  manager.SetReferenceProperty("", "ZRB_OBID", "x");
  manager.SetFileProperty("", "ZRB_OBID", "x");
  manager.SetPathToRootProperty("", "ZRB_SAVE", "1");
  manager.SetInstanceProperty("", "P.1", "ZRB_RELATION", "r");
  EXPECT_TRUE(manager.Store().References().empty());
  EXPECT_TRUE(manager.Store().Files().empty());
  EXPECT_TRUE(manager.Store().PathToRoots().empty());
  EXPECT_TRUE(manager.Store().Instances().empty());
  // A record with an empty part number (made for an unloaded product) is reachable by Id but never by a
  // part-number scan.
  ZRBPropertyManagerStore store;
  ZRBPropertyReference* unnamed = store.CreateReference("");
  EXPECT_EQ(store.FindReference(""), nullptr);
  EXPECT_EQ(store.FindReferenceById(unnamed->GetId()), unnamed);
}
