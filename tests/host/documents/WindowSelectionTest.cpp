// Windows of the layout and the documents they keep in the session.
#include <gtest/gtest.h>

#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADSampleSession.h"
#include "SampleSession.h"

namespace {

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

}  // namespace
