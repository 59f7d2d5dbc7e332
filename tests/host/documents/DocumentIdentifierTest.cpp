// A document file names its document: the identifier survives save, save-as and reopen, files from before
// identifiers keep theirs, damaged ones are refused.
#include <gtest/gtest.h>

#include "CADDocumentReader.h"
#include "CADDocumentServices.h"
#include "SampleSession.h"

namespace {

std::string Id(const CADUnicodeString& path) {
  CADUuid uuid;
  return SUCCEEDED(CADDocumentServices::GetIdentifierOfFile(path, uuid)) ? uuid.ToString().str() : "none";
}

TEST(DocumentIdentifier, FollowsTheDocumentNotThePath) {
  SampleSession sample;
  CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(sample.Directory()));
  const CADUnicodeString bolt = sample.Path("Bolt.CADPart"), moved = sample.Path("Moved.CADPart");
  const std::string oldBolt = Id(bolt);
  CADDocument* document = sample.Open("Bolt.CADPart");
  ASSERT_EQ(CADDocumentServices::Save(document), S_OK);
  ASSERT_EQ(CADDocumentServices::New("CADPart", document), S_OK);
  ASSERT_EQ(CADDocumentServices::Save(document), S_OK);
  const std::string own = Id(document->StorageName());
  ASSERT_EQ(CADDocumentServices::SaveAs(document, moved), S_OK);
  ASSERT_EQ(CADDocumentServices::Remove(document), S_OK);
  ASSERT_EQ(CADDocumentServices::OpenDocument(moved, document), S_OK);
  ASSERT_EQ(CADDocumentServices::Save(document), S_OK);
  EXPECT_EQ((std::vector{Id(bolt), Id(moved)}), (std::vector{oldBolt, own}));
  EXPECT_NE(own, oldBolt);
  EXPECT_EQ(Id(sample.Path("missing.CADPart")), "none");
  CADDocumentServices::ResetSession();

  CADDocumentImage image;
  CADUnicodeString error;
  for (const char* damaged : {"0123abcd-0000-4000-8000", "00000000-0000-0000-0000-000000000000"})
    EXPECT_EQ(CADDocumentReader::Read(
                  std::string("CADHOST-DOCUMENT 1 CADPart\nidentifier ") + damaged + "\npartnumber P\nend\n", "CADPart",
                  false, image, error),
              E_FAIL);
}

}  // namespace
