// Product structures: shared references, unique fathers, sibling names,
// part-number conflicts, modified flags and structure edits that survive a
// save.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "CADAutoProduct.h"
#include "CADDocumentServices.h"
#include "CADILinkableObject.h"
#include "CADIMovable.h"
#include "CADIParmPublisher.h"
#include "CADIPrdProperties.h"
#include "CADSampleSession.h"
#include "SampleSession.h"

namespace {

using S = SampleSession;
using C = CADSampleSession;

using Node = CADIProduct_var;

// The sample documents; most tests work on the opened assembly.
class ProductStructure : public ::testing::Test {
 protected:
  Node Open() { return root = sample.OpenAssembly(); }
  CADDocument* Doc(const char* file) const { return CADDocumentServices::GetDocumentInSession(sample.Path(file)); }
  // Saves every modified document, empties the session and opens the assembly again.
  void SaveAndReopen();

  SampleSession sample;
  Node root;
};

CADDocument* DocumentOf(const Node& product) { return CADILinkableObject_var(product)->GetDocument(); }

// Saves every modified document of the session.
void SaveAll() {
  for (const CADBaseUnknown_var& d : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var doc(d);
    if (doc->IsDirty()) {
      ASSERT_EQ(CADDocumentServices::Save(doc.get()), S_OK) << CADDocumentServices::GetLastError();
    }
  }
}

void ProductStructure::SaveAndReopen() {
  SaveAll();
  CADDocumentServices::ResetSession();
  Open();
}

TEST_F(ProductStructure, SubassemblyUsedTwiceGivesTwoSubtreesOverOneReference) {
  Open();
  ASSERT_TRUE(root);
  EXPECT_EQ(S::ChildNames(root), "Bracket.1,Bracket.2,Fixings.1");
  Node b1 = S::Child(root, "Bracket.1");
  Node b2 = S::Child(root, "Bracket.2");
  EXPECT_TRUE(b1->GetReferenceProduct() == b2->GetReferenceProduct());
  EXPECT_EQ(S::ChildNames(b1), "Plate.1,Bolt.1,Bolt.2");
  EXPECT_EQ(S::ChildNames(b2), "Plate.1,Bolt.1,Bolt.2");

  Node bolt1 = S::Node(root, "Bracket.1/Bolt.2");
  Node bolt2 = S::Node(root, "Bracket.2/Bolt.2");
  EXPECT_FALSE(bolt1 == bolt2);                  // two nodes ...
  EXPECT_TRUE(bolt1->GetFatherProduct() == b1);  // ... each with its one father
  EXPECT_TRUE(bolt2->GetFatherProduct() == b2);
  EXPECT_TRUE(b1->GetFatherProduct() == root);
  EXPECT_TRUE(root->GetFatherProduct().IsNull());
  EXPECT_TRUE(root->GetReferenceProduct() == root);
  // One reference per part number, also through the embedded component.
  Node boltRef = bolt1->GetReferenceProduct();
  EXPECT_TRUE(S::Node(root, "Fixings.1/Bolt.1")->GetReferenceProduct() == boltRef);
  EXPECT_TRUE(Doc(C::kBolt)->GetRootProduct() == boltRef);
  // Nodes stay the same objects across queries.
  EXPECT_TRUE(S::Node(root, "Bracket.1/Bolt.2") == bolt1);
}

TEST_F(ProductStructure, ChangesThroughOneInstanceShowInTheOthers) {
  Open();
  Node viaBracket = S::Node(root, "Bracket.1/Bolt.1");
  Node viaFixings = S::Node(root, "Fixings.1/Bolt.1");
  ASSERT_EQ(CADIPrdProperties_var(viaBracket)->SetNomenclature("Stud"), S_OK);
  CADUnicodeString nomenclature;
  CADIPrdProperties_var(viaFixings)->GetNomenclature(nomenclature);
  EXPECT_EQ(nomenclature, "Stud");
  ASSERT_EQ(viaBracket->SetPartNumber("Stud-M8"), S_OK);
  EXPECT_EQ(viaFixings->GetPartNumber(), "Stud-M8");
  // The child records of a shared reference are shared as well.
  ASSERT_EQ(S::Node(root, "Bracket.1/Bolt.2")->SetPrdInstanceName("Turned.1"), S_OK);
  EXPECT_EQ(S::ChildNames(S::Child(root, "Bracket.2")), "Plate.1,Bolt.1,Turned.1");
  CADIProduct_var added;
  ASSERT_EQ(S::Child(root, "Bracket.2")->AddExternalComponent(Doc(C::kBolt), added), S_OK);
  EXPECT_EQ(S::InstanceName(added), "Stud-M8.1");
  EXPECT_EQ(S::ChildNames(S::Child(root, "Bracket.1")), "Plate.1,Bolt.1,Turned.1,Stud-M8.1");
  EXPECT_TRUE(added->GetFatherProduct() == S::Child(root, "Bracket.2"));
}

TEST_F(ProductStructure, NamesAndPartNumbersMustStayUnique) {
  Open();
  Node bracket = S::Child(root, "Bracket.1");
  Node bolt = S::Child(bracket, "Bolt.1");
  CADIProduct_var out;
  const struct {
    const char* what;
    std::function<HRESULT()> action;
  } refused[] = {
      {"sibling name", [&] { return bolt->SetPrdInstanceName("Bolt.2"); }},
      {"empty name", [&] { return bolt->SetPrdInstanceName(""); }},
      {"part number of another reference", [&] { return bolt->SetPartNumber("Plate"); }},
      {"part number of an embedded component", [&] { return bolt->SetPartNumber("Fixings"); }},
      {"part number of a root", [&] { return bolt->SetPartNumber("Assembly"); }},
      {"empty part number", [&] { return bolt->SetPartNumber(""); }},
      {"new component with a used number", [&] { return bracket->AddNewComponent("Bolt", out); }},
      {"new product with a used number", [&] { return bracket->AddNewProduct("Bracket", out); }},
      {"cycle through the root", [&] { return bracket->AddExternalComponent(Doc(C::kAssembly), out); }},
      {"cycle through itself", [&] { return bracket->AddExternalComponent(Doc(C::kBracket), out); }},
      {"cycle by replacement", [&] { return bracket->ReplaceComponent(bolt, Doc(C::kAssembly), out); }},
      {"document without a root product", [&] { return bracket->AddExternalComponent(sample.Open(C::kDrawing), out); }},
  };
  for (const auto& r : refused) {
    EXPECT_EQ(r.action(), E_FAIL) << r.what;
    EXPECT_FALSE(CADDocumentServices::GetLastError().IsEmpty()) << r.what;
  }
  EXPECT_EQ(S::ChildNames(bracket), "Plate.1,Bolt.1,Bolt.2");
  EXPECT_EQ(bolt->GetPartNumber(), "Bolt");
  for (const auto& d : CADDocumentServices::GetListOfDocuments()) EXPECT_EQ(CADDocument_var(d)->IsDirty(), 0u);
  // Renaming to its own number or name is no change.
  EXPECT_EQ(bolt->SetPartNumber("Bolt"), S_OK);
  EXPECT_EQ(bolt->SetPrdInstanceName("Bolt.1"), S_OK);
  EXPECT_EQ(Doc(C::kBracket)->IsDirty(), 0u);
}

TEST_F(ProductStructure, EachChangeMarksTheDocumentHoldingWhatChanged) {
  using T = CADMathTransformation;
  const struct {
    const char* what;
    std::function<void(const Node& root)> change;
    const char* dirty;  // the one document marked, "" for none
  } cases[] = {
      {"instance renamed", [](auto& r) { S::Node(r, "Bracket.1/Bolt.1")->SetPrdInstanceName("B.9"); }, C::kBracket},
      {"part moved in the subassembly",
       [](auto& r) { CADIMovable_var(S::Node(r, "Bracket.2/Bolt.2"))->SetPosition(T::Translation(1, 2, 3)); },
       C::kBracket},
      {"subassembly moved", [](auto& r) { CADIMovable_var(S::Child(r, "Bracket.2"))->SetPosition(T()); }, C::kAssembly},
      {"same position again",
       [](auto& r) {
         Node n = S::Node(r, "Bracket.1/Bolt.2");
         T p;
         CADIMovable_var(n)->GetPosition(p);
         CADIMovable_var(n)->SetPosition(p);
       },
       ""},
      {"child added",
       [](auto& r) {
         CADIProduct_var out;
         S::Child(r, "Bracket.1")->AddNewComponent("Washer", out);
       },
       C::kBracket},
      {"embedded component changed",
       [](auto& r) {
         CADIProduct_var out;
         S::Child(r, "Fixings.1")->AddNewComponent("Nut", out);
       },
       C::kAssembly},
      {"child removed", [](auto& r) { r->RemoveProduct(S::Child(r, "Fixings.1")); }, C::kAssembly},
      {"part number", [](auto& r) { S::Node(r, "Bracket.1/Plate.1")->SetPartNumber("Plate-2"); }, C::kPlate},
      {"property", [](auto& r) { CADIPrdProperties_var(S::Node(r, "Bracket.1/Bolt.1"))->SetRevision("Q"); }, C::kBolt},
      {"deactivated", [](auto& r) { S::Node(r, "Bracket.1/Plate.1")->SetActivationState(CADFALSE); }, C::kBracket},
      {"user parameter",
       [](auto& r) {
         CADAutoProduct_var(S::Node(r, "Bracket.1/Bolt.1"))->SetUserRefPropertyValue("Material", "Brass");
       },
       C::kBolt},
      {"design table sheet",
       [](auto& r) {
         CADListValCADBaseUnknown_var tables;
         CADIParmPublisher_var(S::Node(r, "Bracket.1/Plate.1"))->ListDesignTables(tables);
         CADIDesignTable_var(tables[1])->SetSheetPath("/elsewhere/PlateSizes.xls");
       },
       C::kPlate},
      {"shape representation", [](auto& r) { r->AddShapeRepresentation("Light", "/v/a.vis", "vis"); }, C::kAssembly},
      {"applicative container",
       [](auto& r) { CADILinkableObject_var(r)->GetDocument()->AddApplicativeContainer("ZRBData"); }, C::kAssembly},
  };
  for (const auto& c : cases) {
    SampleSession fresh;
    c.change(fresh.OpenAssembly());
    std::vector<std::string> dirty;
    for (const auto& d : CADDocumentServices::GetListOfDocuments()) {
      CADDocument_var doc(d);
      if (doc->IsDirty() & 0xff) dirty.push_back(doc->GetDisplayName().str());
    }
    EXPECT_EQ(dirty, *c.dirty ? std::vector<std::string>{c.dirty} : std::vector<std::string>{}) << c.what;
  }
}

TEST_F(ProductStructure, EditedStructureReopensWithNamesAndPositions) {
  using T = CADMathTransformation;
  Open();
  Node bracket = S::Child(root, "Bracket.1");
  const T odd = T::Translation(0.1, -7.25, 1.0 / 3.0) * T::Rotation(0, 33.3) * T::Rotation(2, -71.5);
  CADIProduct_var washer, plate2;
  ASSERT_EQ(bracket->AddNewComponent("Washer", washer), S_OK);
  ASSERT_EQ(CADIMovable_var(washer)->SetPosition(odd), S_OK);
  ASSERT_EQ(bracket->RemoveProduct(S::Child(bracket, "Bolt.1")), S_OK);
  CADDocument* copy = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", copy), S_OK);
  ASSERT_EQ(copy->GetRootProduct()->SetPartNumber("Plate-B"), S_OK);
  ASSERT_EQ(bracket->ReplaceComponent(S::Child(bracket, "Plate.1"), copy, plate2), S_OK);
  EXPECT_EQ(S::InstanceName(plate2), "Plate.1");
  SaveAndReopen();
  for (const char* sub : {"Bracket.1", "Bracket.2"}) {
    Node b = S::Child(root, sub);
    EXPECT_EQ(S::ChildNames(b), "Plate.1,Bolt.2,Washer.1") << sub;
    EXPECT_EQ(S::Child(b, "Plate.1")->GetPartNumber(), "Plate-B");
    EXPECT_EQ(S::Child(b, "Washer.1")->IsEmbeddedComponent(), 1);
    T position;
    ASSERT_EQ(CADIMovable_var(S::Child(b, "Washer.1"))->GetPosition(position), S_OK);
    EXPECT_TRUE(position == odd) << "every digit of a rotation survives";
    ASSERT_EQ(CADIMovable_var(S::Child(b, "Bolt.2"))->GetPosition(position), S_OK);
    EXPECT_TRUE(position == T::Translation(90, 40, 5) * T::Rotation(2, 90));
  }
}

TEST_F(ProductStructure, RemovedChildrenDetachEverywhere) {
  Open();
  Node bolt1 = S::Node(root, "Bracket.1/Bolt.1");
  Node bolt2 = S::Node(root, "Bracket.2/Bolt.1");
  ASSERT_EQ(S::Child(root, "Bracket.1")->RemoveProduct(bolt1), S_OK);
  EXPECT_TRUE(bolt1->GetFatherProduct().IsNull());
  EXPECT_TRUE(bolt2->GetFatherProduct().IsNull());
  EXPECT_EQ(S::ChildNames(S::Child(root, "Bracket.2")), "Plate.1,Bolt.2");
  EXPECT_EQ(bolt1->SetPrdInstanceName("X.1"), E_FAIL);
  // A node of another father is not a child to remove.
  EXPECT_EQ(root->RemoveProduct(S::Node(root, "Bracket.2/Plate.1")), E_FAIL);
  EXPECT_EQ(root->RemoveProduct(nullptr), E_FAIL);
}

TEST_F(ProductStructure, ReplacingTheShapeOfAVisComponentMovesItsFile) {
  sample.WriteFile("Light.vis", "foreign vis bytes");
  Open();
  CADIProduct_var vis;
  ASSERT_EQ(root->AddExternalComponent(sample.Open("Light.vis"), vis), S_OK);
  EXPECT_EQ(vis->GetPartNumber(), "Light");
  SaveAll();
  std::filesystem::copy_file(sample.Path("Light.vis").str(), sample.Path("Moved.vis").str());
  ASSERT_EQ(vis->ReplaceDefaultShape("vis", sample.Path("Moved.vis")), S_OK);
  EXPECT_EQ(DocumentOf(vis)->StorageName(), sample.Path("Moved.vis"));
  EXPECT_EQ(Doc(C::kAssembly)->IsDirty(), 1u);
  SaveAndReopen();
  EXPECT_EQ(DocumentOf(S::Child(root, "Light.1"))->StorageName(), sample.Path("Moved.vis"));
}

TEST_F(ProductStructure, VisualizationModeKeepsPartsUnloadedUntilDesignMode) {
  CADDocumentServices::SetVisualizationModeLoading(1);
  Open();
  EXPECT_EQ(Doc(C::kBolt), nullptr);
  Node bolt = S::Node(root, "Bracket.1/Bolt.1");
  EXPECT_EQ(bolt->GetPartNumber(), "");
  EXPECT_EQ(S::InstanceName(bolt), "Bolt.1");
  CADUnicodeString path, format;
  ASSERT_EQ(bolt->GetShapeRepresentation("Default", path, format), S_OK);
  EXPECT_EQ(path, sample.Path(C::kBolt));
  EXPECT_EQ(bolt->GetShapeRepresentationDocument("Default"), nullptr);
  int mode = 0;
  CADAutoProduct_var(bolt)->GetWorkMode(mode);
  EXPECT_EQ(mode, CADAutoProduct::kVisualizationMode);
  ASSERT_EQ(bolt->LoadShapeRepresentation("Default"), S_OK);
  EXPECT_EQ(bolt->GetPartNumber(), "Bolt");
  EXPECT_EQ(S::Node(root, "Fixings.1/Bolt.1")->GetPartNumber(), "Bolt");
  EXPECT_NE(Doc(C::kBolt), nullptr);
  // A link whose file is missing stays an unloaded reference that fails to load.
  Node plate = S::Node(root, "Bracket.2/Plate.1");
  std::filesystem::remove(sample.Path(C::kPlate).str());
  EXPECT_EQ(CADAutoProduct_var(plate)->ApplyWorkMode(CADAutoProduct::kDesignMode), E_FAIL);
  EXPECT_EQ(plate->GetPartNumber(), "");
}

TEST_F(ProductStructure, MissingLinkedFilesOpenAsUnloadedReferences) {
  std::filesystem::remove(sample.Path(C::kBolt).str());
  Open();
  ASSERT_TRUE(root);
  Node bolt = S::Node(root, "Bracket.1/Bolt.2");
  EXPECT_EQ(bolt->GetPartNumber(), "");
  CADMathTransformation position;
  ASSERT_EQ(CADIMovable_var(bolt)->GetPosition(position), S_OK);
  EXPECT_TRUE(position == CADMathTransformation::Translation(90, 40, 5) * CADMathTransformation::Rotation(2, 90));
  // Saving keeps the link, so the structure is whole again once the file is back.
  ASSERT_EQ(S::Child(root, "Bracket.1")->SetPrdInstanceName("Left.1"), S_OK);
  SaveAll();
  CADUnicodeString error;
  ASSERT_EQ(C::Write(sample.Directory().c_str(), error), S_OK);
  ASSERT_EQ(CADDocumentServices::Save(CADDocumentServices::GetDocumentInSession(sample.Path(C::kBracket))), S_OK);
  CADDocumentServices::ResetSession();
  EXPECT_EQ(S::Node(sample.OpenAssembly(), "Bracket.1/Bolt.2")->GetPartNumber(), "Bolt");
}

TEST_F(ProductStructure, LinksResolveInTheSameDirectoryFirstThenTheSearchPath) {
  const std::string lib = sample.Directory() + "/lib";
  std::filesystem::create_directory(lib);
  std::filesystem::rename(sample.Path(C::kBolt).str(), lib + "/Bolt.CADPart");
  CADDocumentServices::SetSearchPath({CADUnicodeString(lib)});
  Open();
  Node bolt = S::Node(root, "Bracket.1/Bolt.1");
  EXPECT_EQ(bolt->GetPartNumber(), "Bolt");
  EXPECT_EQ(DocumentOf(bolt)->StorageName(), CADUnicodeString(lib + "/Bolt.CADPart"));
  // Saved from elsewhere, the link is written as a full path.
  CADDocument* bracket = Doc(C::kBracket);
  bracket->SetDirty(1);
  ASSERT_EQ(CADDocumentServices::Save(bracket), S_OK);
  EXPECT_NE(sample.ReadFile(C::kBracket).find("file \"" + lib + "/Bolt.CADPart\""), std::string::npos);
  // A copy beside the product wins over the written full path.
  CADDocumentServices::ResetSession();
  std::filesystem::copy_file(lib + "/Bolt.CADPart", sample.Path(C::kBolt).str());
  Open();
  EXPECT_EQ(DocumentOf(S::Node(root, "Bracket.1/Bolt.1"))->StorageName(), sample.Path(C::kBolt));
}

}  // namespace
