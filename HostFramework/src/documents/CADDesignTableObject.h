// The host's design table object: name, alias, activation and sheet path,
// owned by a product reference or a drawing and marking that owner's
// document modified on change.
#pragma once

#include "CADDocumentImage.h"
#include "CADIDesignTable.h"

class CADDocument;

class CADDesignTableObject : public CADIDesignTable {
 public:
  // `owner` is the document to mark modified (may be null for an unloaded owner).
  CADDesignTableObject(const CADDesignTableImage& image, CADDocument* owner);

  HRESULT GetName(CADUnicodeString& name) const override;
  HRESULT SetName(const CADUnicodeString& name) override;
  HRESULT GetAlias(CADUnicodeString& alias) const override;
  HRESULT SetAlias(const CADUnicodeString& alias) override;
  HRESULT IsActivated(CADBoolean& active) const override;
  HRESULT SetActivated(CADBoolean active) override;
  HRESULT GetSheetPath(CADUnicodeString& path) const override;
  HRESULT SetSheetPath(const CADUnicodeString& path) override;
  HRESULT QueryInterface(const CADIID& iid, void** out) override;

  // Host internals: the stored form, the owner, detaching on removal.
  const CADDesignTableImage& Image() const { return image_; }
  void SetOwner(CADDocument* owner) { owner_ = owner; }
  void Detach() {
    detached_ = true;
    owner_ = nullptr;
  }

 private:
  HRESULT Change(CADUnicodeString& field, const CADUnicodeString& value);

  CADDesignTableImage image_;
  CADDocument* owner_;  // not owned; cleared when the owner lets go
  bool detached_ = false;
};
