#include <functional>

#include "PropsTestSupport.h"
#include "ZRBPropertyContainer.h"
#include "ZRBPropertyManagerStore.h"

TEST(ZRBPropertyContainer, SetReplacesEveryEntryAndKeepsInsertionOrder) {
  ZRBPropertyContainer c;
  c.SetProperty("B", "1");
  c.SetProperty("A", "2");
  c.AppendProperty("B", "dup");  // as a file read may bring it
  c.SetProperty("B", "3");
  EXPECT_EQ(c.GetNames(), (CADListValCADUnicodeString{"B", "A", "B"}));
  EXPECT_EQ(c.GetValues(), (CADListValCADUnicodeString{"3", "2", "3"}));
  EXPECT_EQ(c.GetProperty("b"), CADUnicodeString(""));  // names are case-sensitive
  EXPECT_EQ(c.DeleteProperty("B"), 2);
  EXPECT_EQ(c.IsPropertySet("B"), 0);
  EXPECT_EQ(c.GetPropertyCount(), 1);
}

// One row per record kind: how to set, get, delete and test a property of
// one record and of a second, independent one.
struct KindOps {
  const char* kind;
  std::function<void(ZRBPropertyManager&, int, const char*, const char*)> set;
  std::function<CADUnicodeString(ZRBPropertyManager&, int, const char*)> get;
  std::function<void(ZRBPropertyManager&, int, const char*)> del;
  std::function<int(ZRBPropertyManager&, int, const char*)> isSet;
};

CADUnicodeString Key(const char* base, int which) {
  return CADUnicodeString(base) + CADUnicodeString::BuildFromNum("%d", which);
}

std::vector<KindOps> AllKinds() {
  return {
      {"reference",
       [](ZRBPropertyManager& m, int k, const char* n, const char* v) { m.SetReferenceProperty(Key("PN-", k), n, v); },
       [](ZRBPropertyManager& m, int k, const char* n) { return m.GetReferenceProperty(Key("PN-", k), n); },
       [](ZRBPropertyManager& m, int k, const char* n) { m.DeleteReferenceProperty(Key("PN-", k), n); },
       [](ZRBPropertyManager& m, int k, const char* n) { return m.IsReferencePropertySet(Key("PN-", k), n); }},
      {"file",
       [](ZRBPropertyManager& m, int k, const char* n, const char* v) { m.SetFileProperty(Key("/x/f", k), n, v); },
       [](ZRBPropertyManager& m, int k, const char* n) { return m.GetFileProperty(Key("/x/f", k), n); },
       [](ZRBPropertyManager& m, int k, const char* n) { m.DeleteFileProperty(Key("/x/f", k), n); },
       [](ZRBPropertyManager& m, int k, const char* n) { return m.IsFilePropertySet(Key("/x/f", k), n); }},
      {"instance",
       [](ZRBPropertyManager& m, int k, const char* n, const char* v) {
         m.SetInstanceProperty("ASM", Key("P.", k), n, v);
       },
       [](ZRBPropertyManager& m, int k, const char* n) { return m.GetInstanceProperty("ASM", Key("P.", k), n); },
       [](ZRBPropertyManager& m, int k, const char* n) { m.DeleteInstanceProperty("ASM", Key("P.", k), n); },
       [](ZRBPropertyManager& m, int k, const char* n) { return m.IsInstancePropertySet("ASM", Key("P.", k), n); }},
      {"path-to-root",
       [](ZRBPropertyManager& m, int k, const char* n, const char* v) {
         m.SetPathToRootProperty(Key("/R.1/P.", k), n, v);
       },
       [](ZRBPropertyManager& m, int k, const char* n) { return m.GetPathToRootProperty(Key("/R.1/P.", k), n); },
       [](ZRBPropertyManager& m, int k, const char* n) { m.DeletePathToRootProperty(Key("/R.1/P.", k), n); },
       [](ZRBPropertyManager& m, int k, const char* n) { return m.IsPathToRootPropertySet(Key("/R.1/P.", k), n); }},
      {"global", [](ZRBPropertyManager& m, int, const char* n, const char* v) { m.SetGlobalProperty(n, v); },
       [](ZRBPropertyManager& m, int, const char* n) { return m.GetGlobalProperty(n); },
       [](ZRBPropertyManager& m, int, const char* n) { m.DeleteGlobalProperty(n); },
       [](ZRBPropertyManager& m, int, const char* n) { return m.IsGlobalPropertySet(n); }},
  };
}

TEST_F(PropsTest, EachKindSetsGetsDeletesPerRecord) {
  for (const KindOps& ops : AllKinds()) {
    SCOPED_TRACE(ops.kind);
    EXPECT_EQ(ops.get(manager, 1, "ZRB_OBID"), CADUnicodeString(""));
    EXPECT_EQ(ops.isSet(manager, 1, "ZRB_OBID"), 0);
    ops.set(manager, 1, "ZRB_OBID", "first");
    ops.set(manager, 1, "ZRB_OBID", "second");  // set twice: one entry, last value
    ops.set(manager, 1, "NOT_CONFIGURED", "kept anyway");
    EXPECT_EQ(ops.get(manager, 1, "ZRB_OBID"), CADUnicodeString("second"));
    EXPECT_EQ(ops.get(manager, 1, "NOT_CONFIGURED"), CADUnicodeString("kept anyway"));
    EXPECT_EQ(ops.isSet(manager, 1, "ZRB_OBID"), 1);
    if (std::string(ops.kind) != "global") {
      EXPECT_EQ(ops.get(manager, 2, "ZRB_OBID"), CADUnicodeString(""));  // another record stays apart
      ops.set(manager, 2, "ZRB_OBID", "other");
      EXPECT_EQ(ops.get(manager, 1, "ZRB_OBID"), CADUnicodeString("second"));
    }
    ops.del(manager, 1, "ZRB_OBID");
    EXPECT_EQ(ops.isSet(manager, 1, "ZRB_OBID"), 0);
    EXPECT_EQ(ops.get(manager, 1, "NOT_CONFIGURED"), CADUnicodeString("kept anyway"));
  }
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
  // A record with an empty part number (made for an unloaded product) is
  // reachable by Id but never by a part-number scan.
  ZRBPropertyManagerStore store;
  ZRBPropertyReference* unnamed = store.CreateReference("");
  EXPECT_EQ(store.FindReference(""), nullptr);
  EXPECT_EQ(store.FindReferenceById(unnamed->GetId()), unnamed);
}

TEST_F(PropsTest, BulkDeletesReachEveryRecord) {
  manager.SetReferenceProperty("A", "ZRB_RULE_FAILED", "1");
  manager.SetReferenceProperty("B", "ZRB_RULE_FAILED", "1");
  manager.SetReferenceProperty("B", "ZRB_OBID", "keep");
  manager.SetFileProperty("/a", "ZRB_SYNC_SKIP_TAB_UPDATE", "1");
  manager.SetFileProperty("/b", "ZRB_SYNC_SKIP_TAB_UPDATE", "1");
  manager.DeleteReferenceProperties({"ZRB_RULE_FAILED"});
  manager.DeleteFileProperties({"ZRB_SYNC_SKIP_TAB_UPDATE"});
  EXPECT_EQ(
      manager.IsReferencePropertySet("A", "ZRB_RULE_FAILED") + manager.IsReferencePropertySet("B", "ZRB_RULE_FAILED"),
      0);
  EXPECT_EQ(manager.IsFilePropertySet("/a", "ZRB_SYNC_SKIP_TAB_UPDATE") +
                manager.IsFilePropertySet("/b", "ZRB_SYNC_SKIP_TAB_UPDATE"),
            0);
  EXPECT_EQ(manager.GetReferenceProperty("B", "ZRB_OBID"), CADUnicodeString("keep"));
  manager.DeleteAllReferencePropsForReference("B");
  EXPECT_EQ(manager.GetReferenceObject("B")->GetPropertyCount(), 0);
}
