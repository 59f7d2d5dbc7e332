#include <gtest/gtest.h>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "XmapScratchDirectory.h"
#include "ZRBFileUtil.h"

// The file behind a product: an instance leads to its reference's document.
TEST(ZRBFileUtilProducts, FileOfAProductAndOfItsInstances) {
  XmapScratchDirectory scratch;
  const std::string dir = scratch.Root();
  CADDocumentServices::ResetSession();
  CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(dir));
  CADDocument *part = nullptr, *assembly = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
  ASSERT_EQ(CADDocumentServices::New("CADProduct", assembly), S_OK);
  ASSERT_EQ(CADDocumentServices::Save(part), S_OK);
  CADIProduct_var instance;
  ASSERT_EQ(assembly->GetRootProduct()->AddExternalComponent(part, instance), S_OK);

  for (const CADIProduct_var& product : {part->GetRootProduct(), instance}) {
    CADDocument* document = nullptr;
    EXPECT_EQ(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document), S_OK);
    EXPECT_EQ(document, part);
    CADUnicodeString path, name, modTime;
    EXPECT_EQ(ZRBFileUtil::GetFilePathFromCADIProduct(product, &path), S_OK);
    EXPECT_EQ(path, part->StorageName());
    EXPECT_EQ(ZRBFileUtil::GetFileNameFromCADIProduct(product, &name), S_OK);
    EXPECT_EQ(name, part->GetDisplayName());
    EXPECT_EQ(ZRBFileUtil::GetLastModificationFromProduct(product, modTime), S_OK);
    EXPECT_FALSE(modTime.IsEmpty());
  }

  // The assembly was never saved: a document, but no file time.
  CADUnicodeString modTime("stale");
  EXPECT_EQ(ZRBFileUtil::GetLastModificationFromProduct(assembly->GetRootProduct(), modTime), E_FAIL);
  EXPECT_TRUE(modTime.IsEmpty());

  CADDocument* document = part;
  CADUnicodeString path("stale");
  EXPECT_EQ(ZRBFileUtil::GetRefDocFromCADIProduct(CADIProduct_var(), &document), E_FAIL);
  EXPECT_EQ(document, nullptr);
  EXPECT_EQ(ZRBFileUtil::GetRefDocFromCADIProduct(instance, nullptr), E_FAIL);
  EXPECT_EQ(ZRBFileUtil::GetFilePathFromCADIProduct(CADIProduct_var(), &path), E_FAIL);
  EXPECT_TRUE(path.IsEmpty());
  EXPECT_EQ(ZRBFileUtil::GetFilePathFromCADIProduct(instance, nullptr), E_FAIL);
  CADDocumentServices::ResetSession();
}
