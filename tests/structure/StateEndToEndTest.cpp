// A structure read from the reference PDM, changed the ways a designer changes it: the states name exactly the
// changed nodes, and a fresh read of an unchanged structure is known to the PDM everywhere.
#include <map>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBClientMode.h"
#include "ZRBCommandStates.h"
#include "ZRBInfoUtil.h"

namespace {

using Node = CADIProduct_var;
using States = std::map<std::string, int>;

class StateEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
  }

  Node ReadAssembly() {
    Pdm("load-into-cad", "Assembly");
    Loop().RunPending();
    for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments()) {
      CADDocument_var document(entry);
      Node root = document ? document->GetRootProduct() : nullptr;
      if (root && root->GetPartNumber() == "Assembly") return root;
    }
    ADD_FAILURE() << "no assembly was read";
    return nullptr;
  }

  void Collect(const Node& node, const std::string& path, States& out) {
    int state = 0;
    states_.GetProductState(node, state);
    out[path] = state;
    for (const CADBaseUnknown_var& item : node->GetChildren()) {
      Node child(item);
      Collect(child, path + "/" + SampleSession::InstanceName(child), out);
    }
  }
  States StatesOf(const Node& root) {
    States out;
    Collect(root, "Assembly", out);
    return out;
  }
  static CADDocument* Document(const std::string& path) { return CADDocumentServices::GetDocumentInSession(path); }

  ZRBCommandStates states_;
};

TEST_F(StateEndToEndTest, AFreshReadIsKnownEverywhereAndEveryChangeShowsWhereItWasMade) {
  Node root = ReadAssembly();
  ASSERT_TRUE(root);
  const States fresh = StatesOf(root);
  EXPECT_EQ(fresh.size(), 11u);
  for (const auto& [path, state] : fresh) EXPECT_EQ(state, 1) << path;

  CADIMovable_var(SampleSession::Node(root, "Bracket.2"))
      ->SetPosition(CADMathTransformation::Translation(5, 300, 0), root.get());
  CADDocument* part = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
  part->GetRootProduct()->SetPartNumber("NewPart");
  Node added, newAssembly, plate;
  ASSERT_EQ(root->AddExternalComponent(part, added), S_OK);
  ASSERT_EQ(root->AddNewProduct("NewAsm", newAssembly), S_OK);
  ASSERT_EQ(newAssembly->AddExternalComponent(Document(XmapFile("Plate.CADPart")), plate), S_OK);
  Node bracket = SampleSession::Node(root, "Bracket.1");
  ASSERT_EQ(bracket->RemoveProduct(SampleSession::Node(bracket, "Bolt.2")), S_OK);
  Document(XmapFile("Bolt.CADPart"))->SetDirty(1);

  // Bracket is one reference shown twice: what changed in it shows in both places.
  const States expected = {
      {"Assembly", 1 | 16 | 32},
      {"Assembly/Bracket.1", 1 | 8 | 32},
      {"Assembly/Bracket.1/Plate.1", 1},
      {"Assembly/Bracket.1/Bolt.1", 1 | 32},
      {"Assembly/Bracket.2", 1 | 8 | 32},
      {"Assembly/Bracket.2/Plate.1", 1},
      {"Assembly/Bracket.2/Bolt.1", 1 | 32},
      {"Assembly/Fixings.1", 1},
      {"Assembly/Fixings.1/Bolt.1", 1 | 32},
      {"Assembly/NewPart.1", 2},
      {"Assembly/NewAsm.1", 2 | 16},
      {"Assembly/NewAsm.1/Plate.1", 1 | 2 | 4},
  };
  EXPECT_EQ(StatesOf(root), expected);
}

TEST_F(StateEndToEndTest, ThePdmSettingsComeFromTheVaultOnceAndAFailureIsNotRepeated) {
  Pdm("settings", "set", "pdm.data_model", "CMPONENT_DATA_MODEL");
  ZRBClientMode::Standard().Apply();  // as the command asking would
  ZRBInfoUtil::ResetForTests();
  EXPECT_EQ(ZRBInfoUtil::IsCmponentDataModelMode(), 1);
  EXPECT_EQ(ZRBInfoUtil::IsCADProductSupportOn(), 1) << "one answer gives all three";
  EXPECT_EQ(JournalActions(), std::vector<std::string>{"x3GetPDMSettings"});

  Pdm("fault", "set", "x3GetPDMSettings", "--code", "0");
  ZRBInfoUtil::ResetForTests();
  EXPECT_EQ(ZRBInfoUtil::IsCmponentDataModelMode(), 0);
  EXPECT_EQ(ZRBInfoUtil::WorkWithDesignTables(), 0);
  EXPECT_EQ(JournalActions(), (std::vector<std::string>{"x3GetPDMSettings", "x3GetPDMSettings"}));
}

}  // namespace
