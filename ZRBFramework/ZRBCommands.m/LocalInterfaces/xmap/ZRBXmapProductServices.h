// What saving documents and products into the exchange map asks of the
// command that does it: its save operations, and the product tests of the
// structure and attribute layers. ZRBXmapHostServices answers from the host
// alone.
#pragma once

#include "CADBaseTypes.h"
#include "CADIProduct.h"
#include "CADUnicodeString.h"

class CADDocument;

class ZRBXmapProductServices {
 public:
  virtual ~ZRBXmapProductServices() = default;

  // --- saving: 1 saved, 0 failed
  virtual int SaveAs(CADDocument& document, const CADUnicodeString& path, const CADUnicodeString& format,
                     unsigned char flag) = 0;
  virtual int Save(CADDocument* document, unsigned char flag) = 0;

  // --- products
  // The document that holds the product's reference, or null (loadFlag 1 may load it).
  virtual CADDocument* GetDocForProduct(const CADIProduct_var& product, const CADUnicodeString& partNumber,
                                        int loadFlag) = 0;
  // The modified state of the node's document (low byte).
  virtual void GetDirtyFlagForProduct(unsigned char& dirty, const CADIProduct_var& product, int ignoreMovedChildren,
                                      int doNotMark) = 0;
  virtual void SetDirtyFlagForProduct(const unsigned char& dirty, const CADIProduct_var& product) = 0;
  // 1 when the reference carries the PDM's identity.
  virtual int IsRefProductFromZRB(const CADIProduct_var& product) = 0;
  // 1 when the type is one of the representation formats.
  virtual int IsRepresentation(const CADUnicodeString& type) = 0;
  // Makes the file at path the product's default shape; negative on failure.
  virtual HRESULT ReplaceDefaultShape(const CADIProduct_var& product, const CADUnicodeString& format,
                                      const CADUnicodeString& path) = 0;
};
