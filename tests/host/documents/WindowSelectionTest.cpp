// Editors, windows of the layout, the current selection and path elements.
#include <gtest/gtest.h>

#include "CADCSO.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADSampleSession.h"
#include "SampleSession.h"

namespace {

CADPathElement PathTo(const CADIProduct_var& node) {
  std::vector<CADIProduct_var> chain;
  for (CADIProduct_var n = node; n; n = n->GetFatherProduct()) chain.insert(chain.begin(), n);
  CADPathElement path;
  for (const auto& n : chain) path.AddChildElement(CADBaseUnknown_var(n));
  return path;
}

TEST(Windows, OpenedWindowsShowEditorDocumentRootAndName) {
  SampleSession sample;
  CADIProduct_var root = sample.OpenAssembly();
  CADDocument* assembly = CADDocumentServices::GetDocumentInSession(sample.Path(CADSampleSession::kAssembly));
  CADDocument* drawing = sample.Open(CADSampleSession::kDrawing);
  CADFrmLayout& layout = CADFrmLayout::GetCurrentLayout();
  CADFrmWindow* first = nullptr;
  CADFrmWindow* second = nullptr;
  CADFrmWindow* third = nullptr;
  ASSERT_EQ(layout.OpenWindow(assembly, first), S_OK);
  ASSERT_EQ(layout.OpenWindow(drawing, second), S_OK);
  ASSERT_EQ(layout.OpenWindow(assembly, third), S_OK);
  EXPECT_EQ(first->GetName(), "Assembly.CADProduct");
  EXPECT_EQ(third->GetName(), "Assembly.CADProduct:2");
  EXPECT_EQ(layout.GetCurrentWindow(), third);
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->GetDocument(), assembly);
  EXPECT_EQ(editor->GetWindow(), third);
  EXPECT_EQ(editor->GetTitle(), "Assembly.CADProduct");
  CADIProduct_var shown;
  ASSERT_EQ(third->GetRootProduct(shown), S_OK);
  EXPECT_TRUE(shown == root);
  EXPECT_EQ(second->GetRootProduct(shown), E_FAIL);
  EXPECT_EQ(editor->GetActivePath().GetSize(), 1);
  ASSERT_EQ(layout.SetCurrentWindow(second), S_OK);
  EXPECT_EQ(CADFrmEditor::GetCurrentEditor()->GetDocument(), drawing);
  CADFrmWindow* none = nullptr;
  EXPECT_EQ(layout.OpenWindow(nullptr, none), E_FAIL);
}

TEST(Windows, ClosingTheLastWindowTakesUnusedDocumentsOutOfTheSession) {
  SampleSession sample;
  sample.OpenAssembly();
  CADDocument* assembly = CADDocumentServices::GetDocumentInSession(sample.Path(CADSampleSession::kAssembly));
  CADDocument* drawing = sample.Open(CADSampleSession::kDrawing);
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

TEST(Selection, PathElementsFromTheRootSelectInstances) {
  SampleSession sample;
  CADIProduct_var root = sample.OpenAssembly();
  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(
                CADDocumentServices::GetDocumentInSession(sample.Path(CADSampleSession::kAssembly)), window),
            S_OK);
  CADCSO* cso = CADFrmEditor::GetCurrentEditor()->GetCSO();
  EXPECT_EQ(cso->GetSize(), 0);
  CADIProduct_var bolt = SampleSession::Node(root, "Bracket.2/Bolt.2");
  CADPathElement path = PathTo(bolt);
  ASSERT_EQ(path.GetSize(), 3);
  EXPECT_TRUE(CADIProduct_var(path.GetElement(1)) == root);
  cso->AddElement(path);
  cso->AddElement(PathTo(bolt));  // the same path twice is one selection
  cso->AddElement(PathTo(SampleSession::Node(root, "Bracket.1/Bolt.2")));
  cso->AddElement(CADPathElement());
  ASSERT_EQ(cso->GetSize(), 2);
  CADIProduct_var leaf;
  ASSERT_EQ(cso->GetElement(1)->GetLeafProduct(leaf), S_OK);
  EXPECT_TRUE(leaf == bolt);
  EXPECT_EQ(cso->GetElement(3), nullptr);
  EXPECT_EQ(cso->GetElement(0), nullptr);
  // A leaf that is no product yields none.
  CADPathElement toDocument{CADBaseUnknown_var(root)};
  toDocument.AddChildElement(CADBaseUnknown_var(CADFrmEditor::GetCurrentEditor()->GetDocument()));
  EXPECT_EQ(toDocument.GetLeafProduct(leaf), E_FAIL);
  EXPECT_TRUE(leaf.IsNull());
  EXPECT_EQ(CADPathElement().GetLeafProduct(leaf), E_FAIL);
  const unsigned long changes = cso->GetChangeCount();
  cso->Empty();
  EXPECT_EQ(cso->GetSize(), 0);
  EXPECT_GT(cso->GetChangeCount(), changes);
}

}  // namespace
