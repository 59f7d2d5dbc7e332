// The property manager on products of a session: addressing with cache
// activation on and off, the part-number conflict rename, and the
// integrity check.
#include <gtest/gtest.h>

#include <memory>

#include "CADDlgNotify.h"
#include "CADDocumentServices.h"
#include "CADILinkableObject.h"
#include "CADIPrdProperties.h"
#include "CADSampleSession.h"
#include "HostDialogFixture.h"
#include "SampleSession.h"
#include "ZRBPropertyManager.h"

namespace {
using Field = ZRBPropertyReference::Field;

class ProductPropsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs.Start();
    GlobPropertyManager.ResetForTests();
  }
  void TearDown() override {
    GlobPropertyManager.ResetForTests();
    dialogs.Finish();
  }
  static CADUnicodeString Nomenclature(const CADIProduct_var& p) {
    CADUnicodeString value;
    CADIPrdProperties_var(p)->GetNomenclature(value);
    return value;
  }
  static CADDocument* DocumentOf(const CADIProduct_var& p) { return CADILinkableObject_var(p)->GetDocument(); }
  // Opens the sample assembly and names the nodes most tests work on.
  void OpenAssembly(bool visualizationMode = false) {
    CADDocumentServices::SetVisualizationModeLoading(visualizationMode ? 1 : 0);
    root = sample.OpenAssembly();
    bracket = SampleSession::Child(root, "Bracket.1");
    plate = SampleSession::Node(root, "Bracket.1/Plate.1");
    bolt = SampleSession::Node(root, "Bracket.1/Bolt.1");
  }

  HostDialogSetup dialogs;
  SampleSession sample;
  CADIProduct_var root, bracket, plate, bolt;
  ZRBPropertyManager& pm = GlobPropertyManager;
};
}  // namespace

TEST_F(ProductPropsTest, UnloadedPartsAreReachedThroughTheirInstanceWithCacheActivation) {
  OpenAssembly(true);
  CADIProduct_var sameInstanceOtherBracket = SampleSession::Node(root, "Bracket.2/Bolt.1");
  CADIProduct_var otherInstance = SampleSession::Node(root, "Bracket.1/Bolt.2");
  ASSERT_EQ(bolt->GetPartNumber(), CADUnicodeString(""));

  pm.SetCacheActivationForTests(1);
  EXPECT_EQ(pm.IsCachedPart(bolt), 1);
  EXPECT_EQ(pm.GetPartNumber(bolt, 0), CADUnicodeString(""));
  pm.SetReferenceProperty(bolt, "ZRB_OBID", "obid-bolt");
  ASSERT_EQ(pm.SetNomenclature(bolt, "Stud"), 1);
  EXPECT_EQ(pm.GetReferenceProperty(bolt, "ZRB_OBID"), CADUnicodeString("obid-bolt"));
  // One instance record of the shared Bracket reference serves both brackets.
  EXPECT_EQ(pm.GetReferenceProperty(sameInstanceOtherBracket, "ZRB_OBID"), CADUnicodeString("obid-bolt"));
  EXPECT_EQ(pm.GetReferenceProperty(otherInstance, "ZRB_OBID"), CADUnicodeString(""));
  ZRBPropertyReference* kept = pm.GetReferenceObjectByInstance(bolt, 0, 0);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->GetPartNumber(), CADUnicodeString(""));
  EXPECT_EQ(kept->Get(Field::Nomenclature), CADUnicodeString("Stud"));
  int keptId = kept->GetId();

  // Loading (load flag 1) gives the host number; the kept values still answer.
  EXPECT_EQ(pm.GetPartNumber(bolt, 1), CADUnicodeString("Bolt"));
  EXPECT_EQ(pm.GetReferenceProperty(bolt, "ZRB_OBID"), CADUnicodeString("obid-bolt"));
  // The first set under the number merges the kept record into the new one.
  pm.SetReferenceProperty(bolt, "ZRB_CLASSNAME", "Part");
  EXPECT_EQ(pm.GetReferenceObject(keptId), nullptr);
  EXPECT_EQ(pm.GetReferenceProperty("Bolt", "ZRB_OBID"), CADUnicodeString("obid-bolt"));
  // The integrity check applies the kept nomenclature to the loaded product.
  ASSERT_EQ(pm.CheckIntegrity(0), 1);
  EXPECT_EQ(Nomenclature(bolt), CADUnicodeString("Stud"));
  EXPECT_TRUE(pm.GetReferenceObject("Bolt")->IsPropertySetFlag());
}

TEST_F(ProductPropsTest, WithoutCacheActivationRecordsAreNeverConsulted) {
  OpenAssembly(true);
  pm.SetCacheActivationForTests(0);
  pm.SetReferenceProperty(bolt, "ZRB_OBID", "lost");  // no number, no record
  EXPECT_TRUE(pm.Store().References().empty());
  EXPECT_EQ(pm.IsCachedPart(bolt), 0);
  EXPECT_EQ(pm.GetPartNumber(bolt, 1), CADUnicodeString(""));  // no loading either
  // A record found by the file name of the product.
  pm.SetReferenceProperty("Bolt", "ZRB_OBID", "by-file");
  pm.GetReferenceObject("Bolt")->SetFullPath("/elsewhere/" + std::string(CADSampleSession::kBolt));
  ZRBPropertyReference* byFile = pm.GetReferenceObjectByInstance(bolt, 0, 1);
  ASSERT_NE(byFile, nullptr);
  EXPECT_EQ(byFile->GetPartNumber(), CADUnicodeString("Bolt"));
}

TEST_F(ProductPropsTest, LoadedProductsShareTheRecordOfTheirPartNumber) {
  OpenAssembly();
  CADIProduct_var b1 = bolt;
  CADIProduct_var fixing = SampleSession::Node(root, "Fixings.1/Bolt.1");
  pm.SetReferenceProperty(b1, "ZRB_OBID", "x");
  pm.SetReferenceProperty(b1, "ZRB_OBID", "y");
  EXPECT_EQ(pm.GetReferenceProperty(fixing, "ZRB_OBID"), CADUnicodeString("y"));
  EXPECT_EQ(pm.GetReferenceObject("Bolt")->GetPropertyCount(), 1);
  // Instance properties: by the father's reference and the instance name.
  pm.SetInstanceProperty(bracket, b1, "ZRB_RELATION", "rel-1");
  EXPECT_EQ(pm.GetInstanceProperty(SampleSession::Child(root, "Bracket.2"),
                                   SampleSession::Node(root, "Bracket.2/Bolt.1"), "ZRB_RELATION"),
            CADUnicodeString("rel-1"));
  EXPECT_EQ(pm.GetInstanceObject(bracket, b1)->GetChildId(), pm.GetReferenceObject("Bolt")->GetId());
  // Renaming the instance keeps its properties.
  ASSERT_EQ(pm.SetInstanceName(b1, "Bolt.9"), 1);
  EXPECT_EQ(pm.GetInstanceProperty(bracket, b1, "ZRB_RELATION"), CADUnicodeString("rel-1"));
}

TEST_F(ProductPropsTest, StandardAttributesMarkOnlyChangeableDocuments) {
  OpenAssembly();
  CADDocument* document = DocumentOf(plate);
  ASSERT_EQ(pm.SetNomenclature(plate, "  Ground plate "), 1);
  EXPECT_EQ(Nomenclature(plate), CADUnicodeString("Ground plate"));
  EXPECT_TRUE(document->IsDirty());
  CADDocumentServices::Save(document);
  pm.SetReferenceProperty(plate, "ZRB_CHANGEABLE", "0");
  ASSERT_EQ(pm.SetRevision(plate, "B"), 1);
  EXPECT_FALSE(document->IsDirty());
  EXPECT_EQ(pm.SetDefinition(nullptr, "x"), 0);
}

TEST_F(ProductPropsTest, PartNumberChangesRekeyTheRecordAndMarkTheDocument) {
  OpenAssembly();
  pm.SetReferenceProperty(plate, "ZRB_OBID", "p");
  CADDocumentServices::Save(DocumentOf(plate));
  ASSERT_EQ(pm.SetPartNumber(plate, "Plate-2", 1, 0), 1);
  EXPECT_EQ(plate->GetPartNumber(), CADUnicodeString("Plate-2"));
  EXPECT_EQ(pm.GetReferenceProperty("Plate-2", "ZRB_OBID"), CADUnicodeString("p"));
  EXPECT_EQ(pm.GetReferenceObject("Plate"), nullptr);
  EXPECT_TRUE(DocumentOf(plate)->IsDirty());

  CADDocumentServices::Save(DocumentOf(plate));
  ASSERT_EQ(pm.SetPartNumber(plate, " Plate-2 ", 1, 0), 1);
  EXPECT_FALSE(DocumentOf(plate)->IsDirty()) << "the same part number again changes nothing";
  EXPECT_EQ(pm.SetPartNumber(nullptr, "x", 1, 0), 0);
}

// Plate takes the part number "Bolt": a product from the PDM keeps its number and nothing changes; a local one
// is renamed, and when that rename fails (its new name is taken by a PDM product) nothing changes either.
TEST_F(ProductPropsTest, PartNumberConflicts) {
  struct Case {
    const char* name;
    bool boltFromPdm, renameTaken;
    int result;
    const char *plateAfter, *boltAfter;
  } cases[] = {{"with a product from the PDM", true, false, 0, "Plate", "Bolt"},
               {"with a local product", false, false, 1, "Bolt", "Bolt_RENAMED"},
               {"with a local product that cannot be renamed", false, true, 0, "Plate", "Bolt"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    CADDocumentServices::ResetSession();
    OpenAssembly();
    if (c.boltFromPdm) pm.SetReferenceProperty(bolt, "ZRB_OBID", "from-pdm");
    if (c.renameTaken) {
      ASSERT_EQ(pm.SetPartNumber(bracket, "Bolt_RENAMED", 0, 1), 1);
      pm.SetReferenceProperty(bracket, "ZRB_OBID", "from-pdm");
    }
    pm.SetReferenceProperty(plate, "ZRB_CLASSNAME", "plate's own");
    pm.SetReferenceProperty(bolt, "ZRB_CLASSNAME", "bolt's own");
    if (!c.boltFromPdm) dialogs.ExpectBox("ZRBCommand.PartNumberConflictRename", CADDlgNfyAnswerOK);
    EXPECT_EQ(pm.SetPartNumber(plate, "Bolt", 1, 0), c.result);
    EXPECT_EQ(plate->GetPartNumber().str(), c.plateAfter);
    EXPECT_EQ(bolt->GetPartNumber().str(), c.boltAfter);
    // The records follow their products.
    EXPECT_EQ(pm.GetReferenceProperty(bolt, "ZRB_CLASSNAME"), CADUnicodeString("bolt's own"));
    EXPECT_EQ(pm.GetReferenceProperty(plate, "ZRB_CLASSNAME"), CADUnicodeString("plate's own"));
  }
}

TEST_F(ProductPropsTest, IntegrityCheckDropsWhatNoOpenDocumentUses) {
  OpenAssembly();
  pm.SetReferenceProperty(bolt, "ZRB_OBID", "kept");
  pm.SetReferenceProperty("GONE", "ZRB_OBID", "dropped");
  pm.SetInstanceProperty("GONE", "X.1", "ZRB_RELATION", "dropped");
  pm.SetFileProperty(sample.Path(CADSampleSession::kBolt), "ZRB_OBID", "kept");
  pm.SetFileProperty("/nowhere/old.CADPart", "ZRB_OBID", "dropped");
  pm.SetFileProperty("/nowhere/sizes.xls", "ZRB_TYPE", "DESIGNTABLE");
  pm.SetFileProperty("/nowhere/sizes.xls", "ZRB_OBID", "table identity");
  pm.SetFileProperty("/archive/member.txt", "ZRB_OBID", "kept by a step");
  // The manager keeps its steps for the life of the process (later tests run them too): they own what they use.
  auto steps = std::make_shared<std::vector<int>>();
  pm.AddIntegrityStep(true, [steps](ZRBPropertyManager&, int mode) { steps->push_back(mode); });
  pm.AddIntegrityStep(false, [](ZRBPropertyManager& m, int) { m.UnsetRemoveFlagForFile("/archive/member.txt"); });

  ASSERT_EQ(pm.CheckIntegrity(4), 1);
  EXPECT_EQ(*steps, std::vector<int>{4});
  EXPECT_EQ(pm.GetReferenceProperty(bolt, "ZRB_OBID"), CADUnicodeString("kept"));
  EXPECT_EQ(pm.GetReferenceObject("GONE"), nullptr);
  EXPECT_EQ(pm.GetInstanceObject("GONE", "X.1"), nullptr);
  EXPECT_TRUE(pm.Store().Instances().empty());
  EXPECT_EQ(pm.GetFileProperty(sample.Path(CADSampleSession::kBolt), "ZRB_OBID"), CADUnicodeString("kept"));
  EXPECT_EQ(pm.GetFileObject("/nowhere/old.CADPart"), nullptr);
  EXPECT_EQ(pm.GetFileProperty("/nowhere/sizes.xls", "ZRB_OBID"), CADUnicodeString("table identity"));
  EXPECT_EQ(pm.GetFileProperty("/archive/member.txt", "ZRB_OBID"), CADUnicodeString("kept by a step"));
}

// Black-box items by product: under their own parent, and under any parent only when asked so.
TEST_F(ProductPropsTest, BlackBoxItemsByProduct) {
  OpenAssembly();
  pm.AddBlackBoxItem(bracket, pm.GetProductFullPath(bolt));
  EXPECT_EQ(pm.IsBlackBoxItem(bracket, bolt, 0), 1);
  EXPECT_EQ(pm.IsBlackBoxItem(root, bolt, 0), 0);
  EXPECT_EQ(pm.IsBlackBoxItem(root, bolt, 1), 1);
  EXPECT_EQ(pm.IsBlackBoxItem(bracket, plate, 1), 0);
}
