#include "CADDesignTableObject.h"

#include "CADDocument.h"

CADDesignTableObject::CADDesignTableObject(const CADDesignTableImage& image, CADDocument* owner)
    : image_(image), owner_(owner) {}

HRESULT CADDesignTableObject::GetName(CADUnicodeString& name) const {
  if (detached_) return E_FAIL;
  name = image_.name;
  return S_OK;
}

HRESULT CADDesignTableObject::GetAlias(CADUnicodeString& alias) const {
  if (detached_) return E_FAIL;
  alias = image_.alias;
  return S_OK;
}

HRESULT CADDesignTableObject::IsActivated(CADBoolean& active) const {
  if (detached_) return E_FAIL;
  active = image_.active ? CADTRUE : CADFALSE;
  return S_OK;
}

HRESULT CADDesignTableObject::GetSheetPath(CADUnicodeString& path) const {
  if (detached_) return E_FAIL;
  path = image_.sheetPath;
  return S_OK;
}

HRESULT CADDesignTableObject::Change(CADUnicodeString& field, const CADUnicodeString& value) {
  if (detached_) return E_FAIL;
  if (field == value) return S_OK;
  field = value;
  if (owner_) owner_->SetDirty(1);
  return S_OK;
}

HRESULT CADDesignTableObject::SetName(const CADUnicodeString& name) {
  if (name.IsEmpty()) return E_FAIL;
  return Change(image_.name, name);
}

HRESULT CADDesignTableObject::SetAlias(const CADUnicodeString& alias) { return Change(image_.alias, alias); }

HRESULT CADDesignTableObject::SetSheetPath(const CADUnicodeString& path) {
  if (path.IsEmpty()) return E_FAIL;
  return Change(image_.sheetPath, path);
}

HRESULT CADDesignTableObject::SetActivated(CADBoolean active) {
  if (detached_) return E_FAIL;
  const bool on = active != CADFALSE;
  if (image_.active == on) return S_OK;
  image_.active = on;
  if (owner_) owner_->SetDirty(1);
  return S_OK;
}

HRESULT CADDesignTableObject::QueryInterface(const CADIID& iid, void** out) {
  return CADQueryInterfaceHelper<CADIDesignTable, CADBaseUnknown>(this, iid, out);
}
