#include "ZRBXmapHostServices.h"

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBAfxCache.h"
#include "ZRBFileUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBRepresentationFormats.h"

int ZRBXmapHostServices::SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString&,
                                unsigned char flag) {
  int equal = 0;
  ZRBAfxCache::CompareFullPath(document.StorageName(), path, equal);
  if (equal) return Save(&document, flag);
  return SUCCEEDED(CADDocumentServices::SaveAs(&document, path)) ? 1 : 0;
}

int ZRBXmapHostServices::Save(CADDocument* document, unsigned char) {
  return document && SUCCEEDED(CADDocumentServices::Save(document)) ? 1 : 0;
}

CADDocument* ZRBXmapHostServices::GetDocForProduct(const CADIProduct_var& product, const CADUnicodeString&, int) {
  CADDocument* document = nullptr;
  ZRBFileUtil::GetRefDocFromCADIProduct(product, &document);
  return document;
}

void ZRBXmapHostServices::GetDirtyFlagForProduct(unsigned char& dirty, const CADIProduct_var& product, int, int) {
  dirty = 0;
  CADDocument* document = GetDocForProduct(product, CADUnicodeString(), 0);
  if (document) dirty = static_cast<unsigned char>(document->IsDirty() & 0xFFu);
}

void ZRBXmapHostServices::SetDirtyFlagForProduct(const unsigned char& dirty, const CADIProduct_var& product) {
  if (CADDocument* document = GetDocForProduct(product, CADUnicodeString(), 0)) document->SetDirty(dirty ? 1 : 0);
}

int ZRBXmapHostServices::IsRefProductFromZRB(const CADIProduct_var& product) {
  if (!product) return 0;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(product, 0);
  return GlobPropertyManager.GetReferenceProperty(partNumber, "ZRB_OBID").IsEmpty() ? 0 : 1;
}

int ZRBXmapHostServices::IsRepresentation(const CADUnicodeString& type) {
  return ZRBRepresentationFormats::Contains(type);
}

HRESULT ZRBXmapHostServices::ReplaceDefaultShape(const CADIProduct_var& product, const CADUnicodeString& format,
                                                 const CADUnicodeString& path) {
  if (!product) return E_FAIL;
  return product->ReplaceDefaultShape(format, path);
}
