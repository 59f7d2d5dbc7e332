// The record of load-time children against what breaks it: lists past the length of an exchange-object slot,
// names that do not survive the list syntax unchanged, lists of unequal length; and the workbench rename and
// the PDM settings query that must not repeat within a command.
#include <gtest/gtest.h>

#include <string>

#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "ZRBCommandStates.h"
#include "ZRBInfoUtil.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"

namespace {

using Node = CADIProduct_var;

class LoadRecordTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    SetVariable("ZRBXMAP", session_.Directory().c_str());
    ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  }

  // A product with `count` children from the PDM, named by `name(i)`, each its own part numbered by `number(i)`.
  template <class Name, class Number>
  Node BuildAssembly(int count, Name name, Number number) {
    CADDocument* document = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADProduct", document), S_OK);
    Node root = document->GetRootProduct();
    root->SetPartNumber("Big");
    for (int i = 0; i < count; ++i) {
      Node child;
      EXPECT_EQ(root->AddNewProduct(number(i), child), S_OK) << number(i);
      EXPECT_EQ(child->SetPrdInstanceName(name(i)), S_OK) << name(i);
      GlobPropertyManager.SetReferenceProperty(child, "ZRB_OBID", "OB" + std::to_string(i));
      GlobPropertyManager.SetInstanceProperty(root, child, "ZRB_INSTANCE_IN_ZRB", "1");
    }
    GlobPropertyManager.SetReferenceProperty(root, "ZRB_OBID", "OB-Big");
    return root;
  }

  int Deleted(const Node& node) {
    int count = -1;
    EXPECT_EQ(states_.CheckForDeletedProductsAtNode(node.get(), count, nullptr, nullptr), 1);
    return count;
  }
  int Added(const Node& node) {
    int added = -1;
    EXPECT_EQ(states_.CheckForAddedProductsAtNode(node, added, nullptr, nullptr), 1);
    return added;
  }

  SampleSession session_;
  ZRBCommandStates states_;
};

TEST_F(LoadRecordTest, ListsLongerThanASlotAndAwkwardNamesGiveNoSpuriousChildren) {
  struct Case {
    const char* name;
    int count;
    std::string (*instance)(int);
    std::string (*partNumber)(int);
  } cases[] = {
      {"1,500 children", 1500, [](int i) { return "Instance-with-a-long-name." + std::to_string(i); },
       [](int i) { return "PART-NUMBER-" + std::to_string(i); }},
      {"blanks at either end", 20, [](int i) { return " padded." + std::to_string(i) + " "; },
       [](int i) { return "  P" + std::to_string(i) + "\t"; }},
      {"braces", 20, [](int i) { return "a{b}c." + std::to_string(i); },
       [](int i) { return "{P" + std::to_string(i) + "}"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Node root = BuildAssembly(c.count, c.instance, c.partNumber);
    ASSERT_EQ(ZRBCommandStates::SetOrigChildsToProp(root.get()), 1);
    if (c.count == 1500) {
      EXPECT_GT(GlobPropertyManager.GetReferenceProperty(root, "ZRB_ORIGLOADCHILD_INSTANCES").GetLength(), 16300);
    }
    EXPECT_EQ(Deleted(root), 0);
    EXPECT_EQ(Added(root), 0);
    int state = 0;
    states_.GetProductState(root, state);
    EXPECT_EQ(state & (8 | 16), 0) << state;
    // The last child goes: exactly one is reported.
    root->RemoveProduct(Node(root->GetChildren()[root->GetChildrenCount()]));
    CADListValCADUnicodeString numbers, names;
    int count = 0;
    states_.CheckForDeletedProductsAtNode(root.get(), count, &numbers, &names);
    EXPECT_EQ(count, 1);
  }
}

TEST_F(LoadRecordTest, ListsOfUnequalLengthAreNoRecord) {
  Node root = BuildAssembly(
      3, [](int i) { return "C." + std::to_string(i); }, [](int i) { return "P" + std::to_string(i); });
  ZRBCommandStates::SetOrigChildsToProp(root.get());
  GlobPropertyManager.SetReferenceProperty(root, "ZRB_ORIGLOADCHILD_OBIDS", "{OB0} {OB1}");
  root->RemoveProduct(Node(root->GetChildren()[1]));
  EXPECT_EQ(Deleted(root), 0);
  EXPECT_EQ(Added(root), 0) << "nothing added is concluded from an unusable record either";
}

TEST_F(LoadRecordTest, AnyIndexWithTheSameInstanceNameAndPartNumberMatches) {
  Node root = BuildAssembly(
      1, [](int) { return std::string("A.1"); }, [](int) { return std::string("Bolt"); });
  const char* lists[][2] = {{"ZRB_ORIGLOADCHILD_INSTANCES", "{A.1} {A.1}"},
                            {"ZRB_ORIGLOADCHILD_PARTNUMBERS", "{Other} {Bolt}"}};
  for (const char* name : {"ZRB_ORIGLOADCHILD_INST_INDEX", "ZRB_ORIGLOADCHILD_OBIDS", "ZRB_ORIGLOADCHILD_CLASSES",
                           "ZRB_ORIGLOADCHILD_RELS", "ZRB_ORIGLOADCHILD_PRODTYPES", "ZRB_ORIGLOADCHILD_DB_NAMES",
                           "ZRB_ORIGLOADCHILD_REL_DB_NAMES", "ZRB_ORIGLOADCHILD_INSTANCES_IN_ZRB"})
    GlobPropertyManager.SetReferenceProperty(root, name, "{} {}");
  for (const auto& [name, value] : lists) GlobPropertyManager.SetReferenceProperty(root, name, value);
  EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(root.get(), Node(root->GetChildren()[1]).get()), 1);
}

TEST_F(LoadRecordTest, ARefusedWorkbenchRenameEndsTheRenaming) {
  CADDocument* taken = nullptr;
  CADDocument* workbench = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADProduct", taken), S_OK);
  taken->GetRootProduct()->SetPartNumber("Taken");
  ASSERT_EQ(CADDocumentServices::New("CADProduct", workbench), S_OK);
  Node root = workbench->GetRootProduct();
  root->SetPartNumber("ZRB_Workbench");
  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(workbench, window), S_OK);
  GlobPropertyManager.SetReferenceProperty(root, "ZRB_ORIGINAL_PN_ZRB_WB", "Taken");
  EXPECT_EQ(ZRBCommandStates::RenameZRBWorkbenchToNonWB(), 0);  // ends instead of trying forever
  GlobPropertyManager.DeleteReferenceProperty(root, "ZRB_ORIGINAL_PN_ZRB_WB");
  EXPECT_EQ(ZRBCommandStates::RenameZRBWorkbenchToNonWB(), 1);
  EXPECT_TRUE(root->GetPartNumber().StartsWith("ZRB_RENAMED_")) << root->GetPartNumber().str();
  CADFrmLayout::GetCurrentLayout().Reset();
}

TEST_F(LoadRecordTest, AFailedSettingsQueryIsNotRepeatedWithinACommand) {
  ZRBInfoUtil::ResetForTests();  // the data model is not known: the PDM is asked
  SetShellAnswer([](const std::string&) { return -1; });
  ExpectBox("ZRBAfx.ConnectFailed", 1);
  Node root = session_.OpenAssembly();
  // Known parts whose instances are not in the PDM: each asks for the data model.
  for (const char* path : {"Bracket.1/Plate.1", "Bracket.1/Bolt.1", "Bracket.2/Bolt.2"})
    GlobPropertyManager.SetReferenceProperty(SampleSession::Node(root, path), "ZRB_OBID", "OB");
  auto asked = [this] {
    int lines = 0;
    for (const std::string& line : ShellLines()) lines += line.find("x3GetPDMSettings") != std::string::npos;
    return lines;
  };
  for (const char* path : {"Bracket.1/Plate.1", "Bracket.1/Bolt.1", "Bracket.2/Bolt.2"}) {
    int state = 0;
    states_.GetProductState(SampleSession::Node(root, path), state);
    EXPECT_EQ(state, 1 | 2 | 4) << path;
  }
  EXPECT_EQ(asked(), 1);
  ExpectBox("ZRBAfx.ConnectFailed", 1);
  ZRBInfoUtil::StartOfCommand();
  EXPECT_EQ(ZRBInfoUtil::IsCmponentDataModelMode(), 0);
  EXPECT_EQ(asked(), 2) << "the next command asks again";
}

TEST_F(LoadRecordTest, AnAnswerWithoutTheSettingsIsNotAskedAgainWithinACommand) {
  ZRBInfoUtil::ResetForTests();
  int asked = 0;
  SetShellAnswer([&asked](const std::string& line) {  // "1", but none of the settings
    const std::size_t open = line.find('\''), close = line.rfind('\'');
    const CADUnicodeString path(line.substr(open + 1, close - open - 1));
    ZRBObjectManager file;
    if (file.Read(path) && file.GetObject("ROOT")) file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
    asked += file.Write(path) ? 1 : 0;
    return 0;
  });
  ZRBInfoUtil::StartOfCommand();
  for (int node = 0; node < 3; ++node) {
    EXPECT_EQ(ZRBInfoUtil::WorkWithDesignTables(), 0);
    EXPECT_EQ(ZRBInfoUtil::IsCADProductSupportOn(), 0);
  }
  EXPECT_EQ(asked, 1);
}

}  // namespace
