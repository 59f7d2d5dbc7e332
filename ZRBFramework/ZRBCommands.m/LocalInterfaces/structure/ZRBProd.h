// One structure node of a PDM answer while the read command builds it: the
// answer object of the node, the product it goes under, the relation it came
// from, the document and product found for it, and cached views of its slots.
#pragma once

#include "CADBaseUnknown.h"
#include "CADDocument.h"
#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBObject;
class ZRBObjectManager;

// Lives on the stack of the read command for the reading of one node, on the
// host's user-interface thread. It keeps a reference on its document; the
// answer, the node object and the parent product belong to the caller and
// must outlive it.
class ZRBProd {
 public:
  // --- lifecycle
  // The relation name and quantity are copied: callers pass temporaries.
  ZRBProd(CADIProduct* parentProduct, ZRBObjectManager& answer, ZRBObject* nodeObject,
          const CADString& relationObjectName, const CADString& quantity);
  ZRBProd(const ZRBProd&) = delete;
  ZRBProd& operator=(const ZRBProd&) = delete;

  // --- what the read command finds for the node
  void SetFilePath(const CADString& path) { filePath_ = path; }
  const CADString& GetFilePath() const { return filePath_; }
  // Holds a reference on the document (releasing the one held before); a
  // null document is ignored.
  void SetDocumentPtr(CADDocument* document);
  CADDocument* GetDocumentPtr() const { return document_.get(); }
  void SetExistingProduct(const CADIProduct_var& product) { existingProduct_ = product; }
  const CADIProduct_var& GetExistingProduct() const { return existingProduct_; }

  // --- construction values
  ZRBObject* GetZRBObject() const { return nodeObject_; }
  CADIProduct* GetParentCADProduct() const { return parentProduct_; }
  const CADString& GetRelationObjectName() const { return relationObjectName_; }
  const CADString& GetQuantity() const { return quantity_; }

  // --- slots of the node, read on first use
  // "CHANGEABLE" of the attached product object (1 without one).
  int IsChangeable();
  int IsComponent();
  int IsStdPart();
  int IsEmbedded();
  int IsReplaceEmbeddedSet();
  // "DESCRIPTION" of the node.
  CADUnicodeString& GetPartNumber();
  // The answer's object named by the node's "PRODUCT" slot, or null.
  ZRBObject* GetAttachedCADProductZRBObject();

  // --- standard attributes ("STANDARD_ATTRS" / "STANDARD_VALS")
  int RevisionIsSet();
  const CADUnicodeString& GetRevision();
  int NomenclatureIsSet();
  const CADUnicodeString& GetNomenclature();
  int DefinitionIsSet();
  const CADUnicodeString& GetDefinition();
  int DescriptionIsSet();
  const CADUnicodeString& GetDescription();

  // --- user-defined property lists of the node
  CADListValCADString GetUserDefDisplayNames() const;
  CADListValCADString GetUserDefPropertyNames() const;
  CADListValCADString GetUserDefPropertyVals() const;
  CADListValCADString GetUserDefDelNames() const;
  CADUnicodeString GetUserDefDisplayNamesAsString() const;
  CADUnicodeString GetUserDefPropertyNamesAsString() const;
  CADUnicodeString GetUserDefPropertyValsAsString() const;
  CADUnicodeString GetUserDefDelNamesAsString() const;

 private:
  CADString NodeSlot(const char* name) const;
  // Reads the slot into an empty cache; an empty slot caches "0" when
  // `emptyIsZero`, else stays empty and is read again next time.
  const CADString& Cached(CADString& cache, const char* slot, bool emptyIsZero);
  // 1 once the standard attributes were read; lists of unequal length leave
  // them unread (and unset) so the next call tries again.
  int InitStandardAttributesIfNecessary();

  CADIProduct* parentProduct_;  // not reference-counted
  ZRBObjectManager* answer_;
  ZRBObject* nodeObject_;
  CADString relationObjectName_;
  CADString quantity_;
  CADString filePath_;
  CADDocument_var document_;
  CADIProduct_var existingProduct_;
  CADString changeableText_;
  CADString componentText_;
  CADString embeddedText_;
  CADString stdPartText_;
  CADString replaceEmbeddedText_;
  CADUnicodeString partNumber_;
  ZRBObject* attachedProductObject_ = nullptr;
  int standardAttributesRead_ = 0;
  CADUnicodeString revision_;
  int revisionSet_ = 0;
  CADUnicodeString nomenclature_;
  int nomenclatureSet_ = 0;
  CADUnicodeString definition_;
  int definitionSet_ = 0;
  CADUnicodeString description_;
  int descriptionSet_ = 0;
};
