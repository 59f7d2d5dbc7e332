// The exchange map's product services answered from the host and the
// property manager alone: saves go straight to the host's document services.
#pragma once

#include "ZRBXmapProductServices.h"

class ZRBXmapHostServices : public ZRBXmapProductServices {
 public:
  int SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString& format,
             unsigned char flag) override;
  int Save(CADDocument* document, unsigned char flag) override;
  // The document of the product's reference (the session's; never loaded here).
  CADDocument* GetDocForProduct(const CADIProduct_var& product, const CADUnicodeString& partNumber,
                                int loadFlag) override;
  void GetDirtyFlagForProduct(unsigned char& dirty, const CADIProduct_var& product, int ignoreMovedChildren,
                              int doNotMark) override;
  void SetDirtyFlagForProduct(const unsigned char& dirty, const CADIProduct_var& product) override;
  // The reference property "ZRB_OBID" is set.
  int IsRefProductFromZRB(const CADIProduct_var& product) override;
  // The formats of "ZRB_REP_FORMATS".
  int IsRepresentation(const CADUnicodeString& type) override;
  HRESULT ReplaceDefaultShape(const CADIProduct_var& product, const CADUnicodeString& format,
                              const CADUnicodeString& path) override;
};
