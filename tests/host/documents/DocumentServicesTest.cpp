// Documents of the session: open, change, save and reopen every kind; clean
// failures; SaveAs rules; removal, also by closing the last window.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "CADAutoProduct.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIDrawing.h"
#include "CADIPrdProperties.h"
#include "CADSampleSession.h"
#include "SampleSession.h"

namespace {

using S = SampleSession;
using C = CADSampleSession;

struct timespec ModificationTime(const CADUnicodeString& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mtim;
}

CADUnicodeString Nomenclature(const CADIProduct_var& product) {
  CADUnicodeString value;
  CADIPrdProperties_var(product)->GetNomenclature(value);
  return value;
}

class DocumentServices : public ::testing::Test {
 protected:
  SampleSession sample;
};

// Each kind: a change through the host, then what must be seen after reopening.
struct KindCase {
  const char* file;
  const char* type;
  void (*change)(CADDocument*);
  void (*check)(CADDocument*);
};

const KindCase kKinds[] = {
    {C::kBolt, "CADPart",
     [](CADDocument* d) { ASSERT_EQ(CADIPrdProperties_var(d->GetRootProduct())->SetNomenclature("Changed"), S_OK); },
     [](CADDocument* d) { EXPECT_EQ(Nomenclature(d->GetRootProduct()), "Changed"); }},
    {C::kBracket, "CADProduct",
     [](CADDocument* d) { ASSERT_EQ(S::Child(d->GetRootProduct(), "Bolt.1")->SetPrdInstanceName("Renamed.1"), S_OK); },
     [](CADDocument* d) { EXPECT_EQ(S::ChildNames(d->GetRootProduct()), "Plate.1,Renamed.1,Bolt.2"); }},
    {C::kDrawing, "CADDrawing",
     [](CADDocument* d) {
       CADIDrawing_var drawing(d);
       ASSERT_EQ(drawing->SetComment("checked"), S_OK);
       ASSERT_EQ(drawing->SetParameterValue("Title", "New title"), S_OK);
     },
     [](CADDocument* d) {
       CADIDrawing_var drawing(d);
       CADUnicodeString comment, name, type, value;
       drawing->GetComment(comment);
       drawing->GetParameter(1, name, type, value);
       EXPECT_EQ(comment, "checked");
       EXPECT_EQ(value, "New title");
       CADDocument* shown = nullptr;
       ASSERT_EQ(drawing->GetViewDocument(1, 2, shown), S_OK);
       ASSERT_NE(shown, nullptr);
       EXPECT_EQ(shown->GetRootProduct()->GetPartNumber(), "Plate");
     }},
};

TEST_F(DocumentServices, EveryKindOpensChangesSavesAndReopens) {
  for (const KindCase& k : kKinds) {
    SCOPED_TRACE(k.file);
    SampleSession sample;  // a fresh directory per kind
    CADDocument* doc = sample.Open(k.file);
    ASSERT_NE(doc, nullptr);
    CADDocId id;
    CADUnicodeString type;
    ASSERT_EQ(doc->GetDocId(id), S_OK);
    ASSERT_EQ(id.GetType(type), S_OK);
    EXPECT_EQ(type, k.type);
    EXPECT_EQ(doc->IsDirty() & 0xff, 0u);
    k.change(doc);
    EXPECT_EQ(doc->IsDirty() & 0xff, 1u);
    const auto before = ModificationTime(doc->StorageName());
    ::usleep(20000);
    ASSERT_EQ(CADDocumentServices::Save(doc), S_OK) << CADDocumentServices::GetLastError();
    EXPECT_EQ(doc->IsDirty(), 0u);
    const auto after = ModificationTime(doc->StorageName());
    EXPECT_TRUE(after.tv_sec != before.tv_sec || after.tv_nsec != before.tv_nsec);

    CADDocumentServices::ResetSession();
    CADDocument* again = sample.Open(k.file);
    ASSERT_NE(again, nullptr);
    k.check(again);
  }
}

TEST_F(DocumentServices, GeometryOfVisAndPartDocumentsGivesBoxesAndSurvivesASave) {
  sample.WriteFile("Light.vis",
                   "CADHOST-DOCUMENT 1 vis\nbody \"Shown\" shown\nvertex 0 0 0\nvertex 2 3 4\nend\n"
                   "body \"Hidden\" hidden\nvertex -5 0 0\nend\nend\n");
  CADDocument* vis = sample.Open("Light.vis");
  ASSERT_NE(vis, nullptr);
  EXPECT_EQ(vis->GetRootProduct()->GetPartNumber(), "Light");
  EXPECT_EQ(vis->GetBoundingBox(false), CADMathBox({0, 0, 0}, {2, 3, 4}));
  EXPECT_EQ(vis->GetBoundingBox(true), CADMathBox({-5, 0, 0}, {2, 3, 4}));
  std::vector<CADGeometryBody> bodies = vis->GetBodies();
  bodies.pop_back();
  bodies[0].vertices.push_back({1, 1, 9});
  vis->SetBodies(bodies);
  EXPECT_EQ(vis->IsDirty(), 1u);
  ASSERT_EQ(CADDocumentServices::Save(vis), S_OK);
  EXPECT_EQ(sample.Open(C::kPlate)->GetBoundingBox(false), CADMathBox({0, 0, 0}, {100, 50, 5}));
  CADDocumentServices::ResetSession();
  vis = sample.Open("Light.vis");
  EXPECT_EQ(vis->GetBodies(), bodies);
  EXPECT_EQ(vis->GetBoundingBox(true), CADMathBox({0, 0, 0}, {2, 3, 9}));
}

TEST_F(DocumentServices, OpenFailsCleanlyAndLeavesTheSessionAsItWas) {
  sample.WriteFile("Damaged.CADPart", "CADHOST-DOCUMENT 1 CADPart\npartnumber \"D\"\nbody \"B\" shown\nvertex 1 2\n");
  sample.WriteFile("Twin.CADPart", "CADHOST-DOCUMENT 1 CADPart\npartnumber \"Bolt\"\nend\n");
  sample.WriteFile("Notes.txt", "hello");
  // A product whose one good child would load before the damaged root part is found.
  sample.WriteFile("Cycle.CADProduct",
                   "CADHOST-DOCUMENT 1 CADProduct\npartnumber \"Cycle\"\n"
                   "instance \"Bolt.1\" file \"Bolt.CADPart\" 1 0 0 0 1 0 0 0 1 0 0 0 1\n"
                   "instance \"Self.1\" file \"Cycle.CADProduct\" 1 0 0 0 1 0 0 0 1 0 0 0 1\nend\n");
  ASSERT_NE(sample.Open(C::kBolt), nullptr);
  std::filesystem::create_directory(sample.Directory() + "/Folder.CADPart");

  const struct {
    const char* file;
    const char* why;
  } cases[] = {
      {"Missing.CADPart", "cannot open"},       {"Damaged.CADPart", "damaged"},
      {"Notes.txt", "no document type"},        {"Twin.CADPart", "already used"},
      {"Folder.CADPart", "not a regular file"}, {"Cycle.CADProduct", "contain itself"},
  };
  for (const auto& c : cases) {
    CADDocument* doc = reinterpret_cast<CADDocument*>(0x1);
    EXPECT_EQ(CADDocumentServices::OpenDocument(sample.Path(c.file), doc), E_FAIL) << c.file;
    EXPECT_EQ(doc, nullptr) << c.file;
    EXPECT_NE(CADDocumentServices::GetLastError().Find(c.why), -1)
        << c.file << ": " << CADDocumentServices::GetLastError();
    EXPECT_EQ(CADDocumentServices::GetListOfDocuments().Size(), 1) << c.file;
  }
}

TEST_F(DocumentServices, UnwritableTargetsAndReadOnlyDocumentsAreRefused) {
  CADDocument* bolt = sample.Open(C::kBolt);
  CADDocument* plate = sample.Open(C::kPlate);
  sample.WriteFile("Locked.CADPart", "old");
  ::chmod(sample.Path("Locked.CADPart").c_str(), 0444);
  std::filesystem::create_directory(sample.Directory() + "/Dir.CADPart");
  const std::string targets[] = {
      sample.Directory() + "/Bolt.CADPart/inside.CADPart",  // below a file
      sample.Directory() + "/missing/dir/x.CADPart",        // directory missing
      sample.Directory() + "/Dir.CADPart",                  // a directory
      sample.Directory() + "/Locked.CADPart",               // write-protected
      plate->StorageName().str(),                           // another document's file
  };
  ASSERT_EQ(CADIPrdProperties_var(bolt->GetRootProduct())->SetRevision("Z"), S_OK);
  for (const std::string& target : targets) {
    EXPECT_EQ(CADDocumentServices::SaveAs(bolt, CADUnicodeString(target)), E_FAIL) << target;
    EXPECT_EQ(bolt->StorageName(), sample.Path(C::kBolt)) << target;
    EXPECT_EQ(bolt->IsDirty(), 1u) << target;
  }
  EXPECT_EQ(sample.ReadFile("Locked.CADPart"), "old");
  // A write-protected file, or one opened so, gives a read-only document.
  for (int readOnly : {0, 1}) {
    ASSERT_EQ(CADDocumentServices::Remove(plate), S_OK);
    ::chmod(sample.Path(C::kPlate).c_str(), readOnly ? 0644 : 0444);
    ASSERT_EQ(CADDocumentServices::OpenDocument(sample.Path(C::kPlate), plate, readOnly), S_OK);
    EXPECT_EQ(plate->IsReadOnly(), 1) << readOnly;
    EXPECT_EQ(CADDocumentServices::Save(plate), E_FAIL) << readOnly;
  }
  EXPECT_EQ(sample.Open(C::kBracket)->IsReadOnly(), 0);
  // A read-only document saves nowhere until the flag is cleared.
  bolt->SetReadOnly(1);
  EXPECT_EQ(CADDocumentServices::SaveAs(bolt, sample.Path("Free.CADPart")), E_FAIL);
  EXPECT_EQ(CADDocumentServices::Save(bolt), E_FAIL);
  bolt->SetReadOnly(0);
  EXPECT_EQ(CADDocumentServices::SaveAs(bolt, sample.Path("Free.CADPart")), S_OK);
}

TEST_F(DocumentServices, RemovedDocumentsLeaveUnloadedReferencesThatReload) {
  CADIProduct_var root = sample.OpenAssembly();
  CADDocument* bolt = CADDocumentServices::GetDocumentInSession(sample.Path(C::kBolt));
  ASSERT_NE(bolt, nullptr);
  CADIProduct_var instance = S::Node(root, "Bracket.1/Bolt.2");
  ASSERT_EQ(CADDocumentServices::Remove(bolt), S_OK);
  EXPECT_EQ(CADDocumentServices::GetDocumentInSession(sample.Path(C::kBolt)), nullptr);
  EXPECT_EQ(instance->GetPartNumber(), "");
  EXPECT_EQ(S::InstanceName(instance), "Bolt.2");
  ASSERT_EQ(CADAutoProduct_var(instance)->ApplyWorkMode(CADAutoProduct::kDesignMode), S_OK);
  EXPECT_EQ(instance->GetPartNumber(), "Bolt");
  // Both brackets show the reloaded reference again.
  EXPECT_EQ(S::Node(root, "Bracket.2/Bolt.1")->GetPartNumber(), "Bolt");
  // An unloaded subassembly has no children until its file is open again.
  CADIProduct_var bracket = S::Child(root, "Bracket.2");
  EXPECT_EQ(S::ChildNames(bracket), "Plate.1,Bolt.1,Bolt.2");
  ASSERT_EQ(CADDocumentServices::Remove(CADDocumentServices::GetDocumentInSession(sample.Path(C::kBracket))), S_OK);
  EXPECT_EQ(S::ChildNames(bracket), "");
  EXPECT_EQ(bracket->GetChildrenCount(), 0);
  ASSERT_NE(sample.Open(C::kBracket), nullptr);
  EXPECT_EQ(S::ChildNames(bracket), "Plate.1,Bolt.1,Bolt.2");
  EXPECT_TRUE(S::Node(root, "Bracket.1/Bolt.2")->GetFatherProduct() == S::Child(root, "Bracket.1"));
}

TEST_F(DocumentServices, UnloadedReferencesFindADocumentSavedToTheirFile) {
  std::filesystem::rename(sample.Path(C::kBolt).str(), sample.Path("Elsewhere.CADPart").str());
  CADIProduct_var root = sample.OpenAssembly();
  CADIProduct_var instance = S::Node(root, "Bracket.2/Bolt.1");
  EXPECT_EQ(instance->GetPartNumber(), "");
  CADDocument* moved = sample.Open("Elsewhere.CADPart");
  ASSERT_EQ(CADDocumentServices::SaveAs(moved, sample.Path(C::kBolt)), S_OK);
  ASSERT_EQ(CADAutoProduct_var(instance)->ApplyWorkMode(CADAutoProduct::kDesignMode), S_OK);
  EXPECT_EQ(instance->GetPartNumber(), "Bolt");
  EXPECT_TRUE(S::Node(root, "Fixings.1/Bolt.1")->GetReferenceProduct() == moved->GetRootProduct());
}

TEST_F(DocumentServices, ClosingTheLastWindowTakesUnusedDocumentsOutOfTheSession) {
  sample.OpenAssembly();
  CADDocument* assembly = CADDocumentServices::GetDocumentInSession(sample.Path(C::kAssembly));
  CADDocument* drawing = sample.Open(C::kDrawing);
  CADFrmLayout& layout = CADFrmLayout::GetCurrentLayout();
  CADFrmWindow *a1 = nullptr, *a2 = nullptr, *d = nullptr;
  ASSERT_EQ(layout.OpenWindow(drawing, d), S_OK);
  ASSERT_EQ(layout.OpenWindow(assembly, a1), S_OK);
  ASSERT_EQ(layout.OpenWindow(assembly, a2), S_OK);
  ASSERT_EQ(a2->Close(), S_OK);
  EXPECT_EQ(layout.GetCurrentWindow(), a1);
  EXPECT_EQ(CADDocumentServices::GetListOfDocuments().Size(), 5);
  ASSERT_EQ(a1->Close(), S_OK);
  // The assembly, the bracket and the bolt went; the plate stays for the drawing.
  CADListValCADUnicodeString left;
  for (const auto& doc : CADDocumentServices::GetListOfDocuments()) left.Append(CADDocument_var(doc)->GetDisplayName());
  EXPECT_EQ(left, (CADListValCADUnicodeString{"Plate.CADPart", "Plate.CADDrawing"}));
  EXPECT_EQ(layout.GetCurrentWindow(), d);
  EXPECT_EQ(layout.CloseWindow(a1), E_FAIL);
}

TEST_F(DocumentServices, RepresentationFormatsComeFromTheEnvironment) {
  ::setenv("ZRB_REP_FORMATS", "{stp} {igs} {}", 1);
  CADDocumentServices::LoadSession();
  ::unsetenv("ZRB_REP_FORMATS");
  EXPECT_EQ(CADDocumentServices::GetRepresentationFormats(), (CADListValCADUnicodeString{"stp", "igs"}));
  EXPECT_EQ(CADDocumentServices::GetTypeFromPath("/x/a.b.stp"), "stp");
  EXPECT_EQ(CADDocumentServices::GetTypeFromPath("/x/a.STP"), "");
  EXPECT_EQ(CADDocumentServices::GetTypeFromPath("/x.CADPart/a"), "");
  sample.WriteFile("Shaft.stp", std::string("ISO-10303-21;\n\x01\x02", 16));
  CADDocument* rep = sample.Open("Shaft.stp");
  ASSERT_NE(rep, nullptr);
  EXPECT_EQ(rep->GetRootProduct()->GetPartNumber(), "Shaft");
  ASSERT_EQ(CADDocumentServices::SaveAs(rep, sample.Path("Copy.stp")), S_OK);
  EXPECT_EQ(sample.ReadFile("Copy.stp"), sample.ReadFile("Shaft.stp"));
}

}  // namespace

// A save is what the host remembers across sessions: a new document is modified until saved, a saved one
// reopens unmodified with the file time of the save, and SaveAs stamps the new file, not the old one.
TEST_F(DocumentServices, SavesStampTheFileAndTheModifiedStateOutlivesTheSession) {
  CADDocument* fresh = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", fresh), S_OK);
  EXPECT_EQ(fresh->IsDirty(), 1u);
  const CADUnicodeString path = sample.Path("Fresh.CADPart");
  ASSERT_EQ(CADDocumentServices::SaveAs(fresh, path), S_OK);
  EXPECT_EQ(fresh->IsDirty(), 0u);

  CADDocument* bolt = sample.Open(C::kBolt);
  const auto boltBefore = ModificationTime(bolt->StorageName());
  ::usleep(20000);
  ASSERT_EQ(CADIPrdProperties_var(bolt->GetRootProduct())->SetRevision("D"), S_OK);
  ASSERT_EQ(CADDocumentServices::SaveAs(bolt, sample.Path("BoltD.CADPart")), S_OK);
  const auto boltAfter = ModificationTime(sample.Path(C::kBolt));
  EXPECT_TRUE(boltAfter.tv_sec == boltBefore.tv_sec && boltAfter.tv_nsec == boltBefore.tv_nsec);
  const auto copy = ModificationTime(sample.Path("BoltD.CADPart"));
  EXPECT_TRUE(copy.tv_sec != boltBefore.tv_sec || copy.tv_nsec != boltBefore.tv_nsec);

  CADDocumentServices::ResetSession();
  for (const char* file : {"Fresh.CADPart", "BoltD.CADPart"}) {
    CADDocument* again = sample.Open(file);
    ASSERT_NE(again, nullptr) << file;
    EXPECT_EQ(again->IsDirty(), 0u) << file;
  }
}
