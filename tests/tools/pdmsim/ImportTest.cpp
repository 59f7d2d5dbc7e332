// `pdmsim vault import` of host documents: the sample session becomes items,
// relations with positions, an embedded component, a drawing and a design
// table; importing again keeps identities; bad documents stop the import
// without leaving anything behind. (Reads of the imported session are the
// end-to-end tests' daily bread.)
#include <gtest/gtest.h>

#include "PdmSimHarness.h"
#include "SampleSession.h"

namespace {
using pdmsimtest::PdmSimHarness;
using pdmsimtest::RunResult;

class VaultImport : public ::testing::Test {
 protected:
  std::string SamplePath(const std::string& name) const { return sample.Directory() + "/" + name; }
  SampleSession sample;
  PdmSimHarness harness;
};

TEST_F(VaultImport, TheSampleSessionBecomesItemsRelationsAndDocuments) {
  std::string out = harness.Admin({"vault", "import", sample.Directory()});
  EXPECT_NE(out.find("imported 5 document(s): 6 new item(s)"), std::string::npos) << out;

  std::string list = harness.Admin({"vault", "ls"});
  for (const char* row : {"Assembly    assembly", "Bracket     assembly", "Fixings     assembly (embedded)",
                          "Bolt        part", "Plate       part", "Plate-DRW   drawing"}) {
    EXPECT_NE(list.find(row), std::string::npos) << row << "\n" << list;
  }
  EXPECT_NE(list.find("Plate.CADPart, PlateSizes.xls"), std::string::npos) << list;

  std::string tree = harness.Admin({"vault", "show", "Assembly"});
  for (const char* line : {"├── Bracket.2 → Bracket", "at -1 0 0 0 0 -1 0 0 0 0 1 0 0 300 0 1", "│   └── Bolt.2 → Bolt",
                           "at 0 1 0 0 -1 0 0 0 0 0 1 0 90 40 5 1", "└── Fixings.1 → Fixings",
                           "at 1 0 0 0 0 1 0 0 0 0 1 0 0 0 -40 1", "design table \"PlateSizes\"", "Material = Steel"}) {
    EXPECT_NE(tree.find(line), std::string::npos) << line << "\n" << tree;
  }
}

TEST_F(VaultImport, ImportingAgainKeepsIdentitiesAndDatesUnlessSomethingChanged) {
  harness.Admin({"vault", "import", sample.Directory()});
  std::string before = harness.Admin({"vault", "show", "Assembly"});
  std::string again = harness.Admin({"vault", "import", sample.Directory()});
  EXPECT_NE(again.find("0 new item(s), 0 changed"), std::string::npos) << again;
  EXPECT_EQ(harness.Admin({"vault", "show", "Assembly"}), before);

  // Move Bracket.2: the assembly changes, its relations keep their OBIDs.
  std::string text = sample.ReadFile("Assembly.CADProduct");
  std::string from = "\"Bracket.2\" file \"Bracket.CADProduct\" -1 0 0 0 -1 0 0 0 1 0 300 0 1";
  ASSERT_NE(text.find(from), std::string::npos) << text;
  text.replace(text.find(from), from.size(), "\"Bracket.2\" file \"Bracket.CADProduct\" 1 0 0 0 1 0 0 0 1 0 400 0 1");
  sample.WriteFile("Assembly.CADProduct", text);
  std::string changed = harness.Admin({"vault", "import", sample.Directory()});
  EXPECT_NE(changed.find("1 changed"), std::string::npos) << changed;
  std::string after = harness.Admin({"vault", "show", "Assembly"});
  EXPECT_NE(after.find("at 1 0 0 0 0 1 0 0 0 0 1 0 0 400 0 1"), std::string::npos) << after;
  auto relationIds = [](const std::string& tree) {
    std::string ids;
    for (std::size_t at = tree.find("(relation "); at != std::string::npos; at = tree.find("(relation ", at + 1)) {
      ids += tree.substr(at + 10, 10) + " ";
    }
    return ids;
  };
  EXPECT_EQ(relationIds(after), relationIds(before));
  auto dateLine = [](const std::string& tree) { return tree.substr(tree.find("modified "), 32); };
  EXPECT_NE(dateLine(after).substr(0, 28), dateLine(before).substr(0, 28)) << "the change is visible to the second";
}

TEST_F(VaultImport, BadDocumentsStopTheImportAndLeaveNothingBehind) {
  struct Case {
    const char* name;
    std::string file;
    std::string text;
    std::string message;
  };
  const std::string header = "CADHOST-DOCUMENT 1 CADProduct\n";
  const Case cases[] = {
      {"missing linked file", "Lonely.CADProduct",
       header + "partnumber \"Lonely\"\ninstance \"Gone.1\" file \"Gone.CADPart\" 1 0 0 0 1 0 0 0 1 0 0 0 1\nend\n",
       "links to Gone.CADPart, which is not there"},
      {"a product that contains itself", "Loop.CADProduct",
       header + "partnumber \"Loop\"\ninstance \"Loop.1\" file \"Loop.CADProduct\" 1 0 0 0 1 0 0 0 1 0 0 0 1\nend\n",
       "contains itself"},
      {"damaged document", "Broken.CADProduct", header + "partnumber \"Broken\"\nbogus keyword\nend\n", "line"},
      {"part number the exchange format cannot carry", "Brace.CADProduct", header + "partnumber \"Bad}Name\"\nend\n",
       "cannot carry"},
      {"not a document", "notes.txt", "hello\n", "only .CADPart, .CADProduct and .CADDrawing"},
  };
  for (const Case& c : cases) {
    std::string path = harness.WriteSource(c.file, c.text);
    // A good document in the same import must not survive a bad one.
    RunResult run = harness.Run("pdmsim", {"vault", "import", SamplePath("Bolt.CADPart"), path});
    EXPECT_EQ(run.exitCode, 1) << c.name;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(harness.Admin({"vault", "ls"}),
              "the vault is empty (pdmsim vault import PATH, or pdmsim vault add-item)\n")
        << c.name;
  }
}

}  // namespace
