// A document file names its document: the identifier survives save, reopen and save-as, another document's file
// copied over it shows the other document, and files written before identifiers existed keep the one they had.
#include <gtest/gtest.h>

#include <filesystem>

#include "CADDocumentReader.h"
#include "CADDocumentServices.h"
#include "CADSampleSession.h"
#include "SampleSession.h"

namespace {

std::string IdentifierOf(const CADUnicodeString& path) {
  CADUuid uuid;
  return SUCCEEDED(CADDocumentServices::GetIdentifierOfFile(path, uuid)) ? uuid.ToString().str() : "";
}

TEST(DocumentIdentifier, FollowsTheDocumentNotThePath) {
  SampleSession sample;
  CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(sample.Directory()));
  const CADUnicodeString bolt = sample.Path(CADSampleSession::kBolt), plate = sample.Path(CADSampleSession::kPlate);
  // A file from before identifiers keeps its path-derived one through open and save.
  const std::string oldBolt = IdentifierOf(bolt);
  ASSERT_FALSE(oldBolt.empty());
  CADDocument* opened = sample.Open(CADSampleSession::kBolt);
  ASSERT_EQ(CADDocumentServices::Save(opened), S_OK);
  EXPECT_EQ(IdentifierOf(bolt), oldBolt);

  CADDocument* created = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", created), S_OK);
  const CADUnicodeString first = created->StorageName(), moved = sample.Path("Moved.CADPart");
  ASSERT_EQ(CADDocumentServices::Save(created), S_OK);
  const std::string own = IdentifierOf(first);
  EXPECT_NE(own, oldBolt);
  ASSERT_EQ(CADDocumentServices::SaveAs(created, moved), S_OK);
  EXPECT_EQ(IdentifierOf(moved), own);
  ASSERT_EQ(CADDocumentServices::Remove(created), S_OK);
  ASSERT_EQ(CADDocumentServices::OpenDocument(moved, created), S_OK);
  ASSERT_EQ(CADDocumentServices::Save(created), S_OK);
  EXPECT_EQ(IdentifierOf(moved), own);

  // The new document's file copied over the plate's: the plate's path now names the new document.
  std::filesystem::copy_file(moved.str(), plate.str(), std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(IdentifierOf(plate), own);
  EXPECT_EQ(IdentifierOf(sample.Path("missing.CADPart")), "");
  CADDocumentServices::ResetSession();
}

TEST(DocumentIdentifier, AnIdentifierLineMustBeOne) {
  const std::string head = "CADHOST-DOCUMENT 1 CADPart\n";
  const struct {
    std::string text;
    bool stored;
  } cases[] = {
      {head + "identifier 0123abcd-0000-4000-8000-00000000beef\npartnumber P\nend\n", true},
      {head + "# a comment\n\nidentifier 0123ABCD-0000-4000-8000-00000000BEEF\npartnumber P\nend\n", true},
      {head + "partnumber P\nend\n", false},
      {head + "identifier 0123abcd-0000-4000-8000\npartnumber P\nend\n", false},
      {head + "identifier 00000000-0000-0000-0000-000000000000\npartnumber P\nend\n", false},
      {head + "identifier a b\npartnumber P\nend\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    CADUuid uuid;
    EXPECT_EQ(SUCCEEDED(CADDocumentReader::ReadIdentifier(c.text, uuid)), c.stored);
    CADDocumentImage image;
    CADUnicodeString error;
    const bool damaged = c.text.find("identifier") != std::string::npos && !c.stored;
    EXPECT_EQ(FAILED(CADDocumentReader::Read(c.text, "CADPart", false, image, error)), damaged) << error.str();
    if (c.stored) {
      EXPECT_EQ(image.identifier, uuid);
    }
  }
}

}  // namespace
