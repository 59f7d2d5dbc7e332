#include "PropsTestSupport.h"

using Field = ZRBPropertyReference::Field;

TEST_F(PropsTest, MergeTakesOverValuesAndRepointsInstances) {
  manager.SetReferenceProperty("A", "ZRB_OBID", "obid-a");
  ZRBPropertyReference* first = manager.GetReferenceObject("A");
  ZRBPropertyReference* second = manager.GetReferenceObject(manager.GetReferenceObject("A")->GetId());
  ASSERT_EQ(first, second);
  manager.SetReferenceProperty("B", "ZRB_CLASSNAME", "Part");
  manager.SetReferenceProperty("B", "ZRB_OBID", "obid-a");  // equal values do not conflict
  second = manager.GetReferenceObject("B");
  second->Set(Field::Nomenclature, "Bracket");
  second->BlackBoxItems().Append("/x/bb.stp");
  second->SetPartNumber("");  // a record kept for an unloaded product
  int secondId = second->GetId();
  manager.SetInstanceProperty("ASM", "B.1", "ZRB_RELATION", "rel");
  manager.GetInstanceObject("ASM", "B.1")->SetChildId(secondId);

  ASSERT_EQ(manager.MergeReferences(*first, *second), 1);
  EXPECT_EQ(manager.GetReferenceObject(secondId), nullptr);
  EXPECT_EQ(manager.GetReferenceProperty("A", "ZRB_CLASSNAME"), CADUnicodeString("Part"));
  EXPECT_EQ(first->Get(Field::Nomenclature), CADUnicodeString("Bracket"));
  EXPECT_EQ(first->GetPartNumber(), CADUnicodeString("A"));  // an empty value never overwrites
  EXPECT_EQ(first->BlackBoxItems().Size(), 1);
  EXPECT_EQ(manager.GetInstanceObject("ASM", "B.1")->GetChildId(), first->GetId());
}

TEST_F(PropsTest, MergeRefusesConflictsAndChangesNothing) {
  struct Case {
    const char* what;
    std::function<void(ZRBPropertyReference&, ZRBPropertyReference&)> prepare;
  };
  const Case cases[] = {
      {"part number", [](auto& a, auto& b) { a.SetPartNumber("A"), b.SetPartNumber("B"); }},
      {"full path", [](auto& a, auto& b) { a.SetFullPath("/x/a.CADPart"), b.SetFullPath("/x/b.CADPart"); }},
      {"revision", [](auto& a, auto& b) { a.Set(Field::Revision, "A"), b.Set(Field::Revision, "B"); }},
      {"user-defined values",
       [](auto& a, auto& b) { a.Set(Field::UserDefPropValuesList, "1"), b.Set(Field::UserDefPropValuesList, "2"); }},
      {"property", [](auto& a, auto& b) { a.SetProperty("ZRB_OBID", "1"), b.SetProperty("ZRB_OBID", "2"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    manager.ResetForTests();
    ZRBPropertyManagerStore& store = const_cast<ZRBPropertyManagerStore&>(manager.Store());
    ZRBPropertyReference* a = store.CreateReference("");
    ZRBPropertyReference* b = store.CreateReference("");
    c.prepare(*a, *b);
    b->SetProperty("ZRB_CLASSNAME", "only in b");
    EXPECT_EQ(manager.MergeReferences(*a, *b), 0);
    EXPECT_EQ(manager.Store().References().size(), 2u);
    EXPECT_EQ(a->GetProperty("ZRB_CLASSNAME"), CADUnicodeString(""));
  }
  ZRBPropertyReference* only = const_cast<ZRBPropertyManagerStore&>(manager.Store()).CreateReference("S");
  EXPECT_EQ(manager.MergeReferences(*only, *only), 0);
}

TEST_F(PropsTest, ReKeyingMovesOrMergesTheRecord) {
  manager.SetReferenceProperty("OLD", "ZRB_OBID", "1");
  int id = manager.GetReferenceObject("OLD")->GetId();
  EXPECT_EQ(manager.SetReferencePartNumber("OLD", "NEW"), 1);
  EXPECT_EQ(manager.GetReferenceObject("OLD"), nullptr);
  EXPECT_EQ(manager.GetReferenceObject("NEW")->GetId(), id);

  manager.SetReferenceProperty("OTHER", "ZRB_CLASSNAME", "Part");
  EXPECT_EQ(manager.SetReferencePartNumber("OTHER", "NEW"), 1);  // folds into the existing record
  EXPECT_EQ(manager.Store().References().size(), 1u);
  EXPECT_EQ(manager.GetReferenceProperty("NEW", "ZRB_CLASSNAME"), CADUnicodeString("Part"));

  manager.SetReferenceProperty("CLASH", "ZRB_OBID", "2");
  EXPECT_EQ(manager.SetReferencePartNumber("CLASH", "NEW"), 0);  // different identities never share
  EXPECT_EQ(manager.GetReferenceProperty("CLASH", "ZRB_OBID"), CADUnicodeString("2"));
  EXPECT_EQ(manager.GetReferenceProperty("NEW", "ZRB_OBID"), CADUnicodeString("1"));
}

TEST_F(PropsTest, SaveAsAndKnownFiles) {
  manager.SetFileProperty("/x/old.CADPart", "ZRB_OBID", "7");
  manager.SetFileProperty("/x/old.CADPart", "ZRB_LAST_KNOWN_MOD_TIME", "1700000000");
  manager.SetFileProperty("/x/table.txt", "ZRB_TYPE", "DESIGNTABLE");
  manager.SetReferenceProperty("P", "ZRB_DESIGNTABLES", "1");
  manager.GetReferenceObject("P")->SetFullPath("/x/old.CADPart");
  manager.SetPropForSaveAs("/x/old.CADPart", "/x/new.CADPart");
  EXPECT_EQ(manager.GetFileProperty("/x/new.CADPart", "ZRB_OBID"), CADUnicodeString("7"));
  EXPECT_EQ(manager.GetReferenceObject("P")->GetFullPath(), CADUnicodeString("/x/new.CADPart"));

  CADListValCADUnicodeString paths, times;
  manager.GetAllKnownFilesAndModTimes(paths, times);
  EXPECT_EQ(paths, (CADListValCADUnicodeString{"/x/old.CADPart", "/x/new.CADPart"}));
  EXPECT_EQ(times, (CADListValCADUnicodeString{"1700000000", "1700000000"}));
  CADListValCADUnicodeString known;
  manager.GetAllKnownFileNames(known);
  EXPECT_EQ(known, (CADListValCADUnicodeString{"/x/old.CADPart", "/x/table.txt", "/x/new.CADPart"}));
  CADListVal<ZRBPropertyReference*> withTables;
  manager.GetAllReferencesForDT(withTables);
  ASSERT_EQ(withTables.Size(), 1);
  EXPECT_EQ(withTables[1], manager.GetReferenceObject("P"));
}

// A black-box item renamed or removed on disk is followed by the lists that name it.
TEST_F(PropsTest, BlackBoxListsFollowRenamesAndRemovals) {
  manager.AddBlackBoxItem("ASM", "/x/item.stp");
  manager.BlackBoxContentChanged("/x/item.stp", "/y/item.stp");
  EXPECT_EQ(manager.IsBlackBoxItem("/x/item.stp"), 0);
  EXPECT_EQ(manager.IsBlackBoxItem("/y/item.stp"), 1);
  manager.BlackBoxContentRemoved("/y/item.stp");
  EXPECT_EQ(manager.IsBlackBoxItem("/y/item.stp"), 0);
}
