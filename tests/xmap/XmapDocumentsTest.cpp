// Names of documents in the exchange map, and saving and moving documents and
// products into it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "XmapFixtures.h"
#include "ZRBObjectManager.h"
#include "ZRBXmapDocuments.h"
#include "ZRBXmapHostServices.h"

namespace {

using Names = std::vector<std::string>;

// Host services that count saves.
class CountingServices : public ZRBXmapHostServices {
 public:
  int SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString& format,
             unsigned char flag) override {
    savedAs.push_back(path.str());
    return ZRBXmapHostServices::SaveAs(document, path, format, flag);
  }
  int Save(CADDocument* document, unsigned char flag) override {
    ++saves;
    return ZRBXmapHostServices::Save(document, flag);
  }
  Names savedAs;
  int saves = 0;
};

class XmapDocumentsTest : public XmapSessionFixture {
 protected:
  CountingServices services_;
};

TEST_F(XmapDocumentsTest, ExchangeMapPathKeepsTheFileNameAndAddsAMissingType) {
  XmapScopedVariable xmapVariable("ZRBXMAP", (xmap_ + "/").c_str());
  NewPart(work_ + "/a.CADPart");
  NewPart(work_ + "/noext");
  struct Case {
    std::string docPath;
    std::string expected;
  } cases[] = {{work_ + "/a.CADPart", xmap_ + "/a.CADPart"},
               {work_ + "/noext", xmap_ + "/noext.CADPart"},
               {work_ + "/notloaded", xmap_ + "/notloaded"},
               {"/elsewhere/b.CADProduct", xmap_ + "/b.CADProduct"}};
  for (const Case& c : cases) {
    CADUnicodeString xmap, fullPath;
    EXPECT_EQ(ZRBXmapDocuments::GetExmapFileFullPath(CADUnicodeString(c.docPath), xmap, fullPath), 1) << c.docPath;
    EXPECT_EQ(xmap, CADUnicodeString(xmap_));
    EXPECT_EQ(fullPath, CADUnicodeString(c.expected)) << c.docPath;
  }
  CADUnicodeString xmap, fullPath;
  EXPECT_EQ(ZRBXmapDocuments::GetExmapFileFullPath(CADUnicodeString(work_ + "/"), xmap, fullPath), 0);
  XmapScopedVariable unset("ZRBXMAP", nullptr);
  EXPECT_EQ(ZRBXmapDocuments::GetExmapFileFullPath(CADUnicodeString(work_ + "/a.CADPart"), xmap, fullPath), 0);
}

TEST_F(XmapDocumentsTest, TransmapPathTakesOnlyTheNameThePdmGives) {
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  ZRBObjectManager answer;
  CADUnicodeString xmap, fullPath;
  EXPECT_EQ(ZRBXmapDocuments::GetTransmapFileFullPath(answer, "../../etc/x.CADPart", xmap, fullPath), 1);
  EXPECT_EQ(fullPath, CADUnicodeString(xmap_ + "/x.CADPart"));
  EXPECT_EQ(ZRBXmapDocuments::GetTransmapFileFullPath(answer, "..", xmap, fullPath), 0);
  EXPECT_EQ(fullPath, "");
}

TEST_F(XmapDocumentsTest, DocumentOutsideIsSavedIntoTheMapAndOneInsideInPlace) {
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  CADDocument* outside = NewPart(work_ + "/a.CADPart");
  ASSERT_EQ(ZRBXmapDocuments::SaveDocumentInExmap(services_, outside), S_OK);
  EXPECT_EQ(services_.savedAs, (Names{xmap_ + "/a.CADPart"}));
  EXPECT_EQ(outside->StorageName(), CADUnicodeString(xmap_ + "/a.CADPart"));
  ASSERT_EQ(ZRBXmapDocuments::SaveDocumentInExmap(services_, outside), S_OK);
  EXPECT_EQ(services_.saves, 1);
  EXPECT_FALSE(GlobPropertyManager.GetFileProperty(outside->StorageName(), "ZRB_LAST_KNOWN_MOD_TIME").IsEmpty());
}

TEST_F(XmapDocumentsTest, ALinkInTheMapIsReplacedByARealFileAndItsTargetStaysUntouched) {
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  NewPart(work_ + "/target.CADPart");
  CADDocumentServices::ResetSession();
  const std::string original = dir_.Read("work/target.CADPart");
  dir_.Symlink("xmap/l.CADPart", work_ + "/target.CADPart");
  CADDocument* document = nullptr;
  ASSERT_EQ(CADDocumentServices::OpenDocument(CADUnicodeString(xmap_ + "/l.CADPart"), document), S_OK);
  document->SetDirty(1);
  ASSERT_EQ(ZRBXmapDocuments::SaveDocumentInExmap(services_, document), S_OK);
  EXPECT_EQ(dir_.Read("work/target.CADPart"), original);
  std::error_code error;
  EXPECT_FALSE(std::filesystem::is_symlink(xmap_ + "/l.CADPart", error));
  EXPECT_TRUE(std::filesystem::is_regular_file(xmap_ + "/l.CADPart", error));
}

TEST_F(XmapDocumentsTest, ProductIsSavedOnlyWhenModifiedAndWritable) {
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  CADDocument* document = NewPart(work_ + "/p.CADPart");
  CADIProduct_var product = document->GetRootProduct();
  CADUnicodeString xmapPath;
  short dirty = 7;
  EXPECT_EQ(ZRBXmapDocuments::SaveProductToXmap(services_, product, "1", xmapPath, dirty), 1);
  EXPECT_EQ(dirty, 0);
  EXPECT_TRUE(services_.savedAs.empty());
  document->SetDirty(1);
  EXPECT_EQ(ZRBXmapDocuments::SaveProductToXmap(services_, product, "0", xmapPath, dirty), 1);
  EXPECT_EQ(dirty, 1);
  EXPECT_TRUE(services_.savedAs.empty());
  EXPECT_EQ(ZRBXmapDocuments::SaveProductToXmap(services_, product, "1", xmapPath, dirty), 1);
  EXPECT_EQ(services_.savedAs, (Names{xmap_ + "/p.CADPart"}));
  EXPECT_EQ(ZRBXmapDocuments::SaveProductToXmap(services_, CADIProduct_var(), "1", xmapPath, dirty), 0);
}

TEST_F(XmapDocumentsTest, MovingAProductNeverSavesOverAnotherLoadedDocument) {
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  CADDocument* moving = NewPart(work_ + "/p.CADPart");
  CADIProduct_var product = moving->GetRootProduct();
  ASSERT_TRUE(GlobPropertyManager.SetFullPath(product, moving->StorageName()));
  CADDocument* occupant = NewPart(dir_.MakeDirectory("other") + "/p.CADPart");
  ASSERT_EQ(CADDocumentServices::SaveAs(occupant, CADUnicodeString(xmap_ + "/p.CADPart")), S_OK);
  const std::string occupantBytes = dir_.Read("xmap/p.CADPart");
  EXPECT_EQ(ZRBXmapDocuments::MoveProductToXmap(services_, product), 0);
  EXPECT_TRUE(services_.savedAs.empty());
  EXPECT_EQ(moving->StorageName(), CADUnicodeString(work_ + "/p.CADPart"));
  EXPECT_EQ(dir_.Read("xmap/p.CADPart"), occupantBytes);

  CADDocumentServices::Remove(occupant);
  moving->SetDirty(1);
  EXPECT_EQ(ZRBXmapDocuments::MoveProductToXmap(services_, product), 0);
  EXPECT_EQ(moving->StorageName(), CADUnicodeString(xmap_ + "/p.CADPart"));
  // The modified state survives the move.
  EXPECT_NE(moving->IsDirty(), 0u);
}

}  // namespace
