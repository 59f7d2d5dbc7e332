#include "CADApplicationFrame.h"

HRESULT CADApplicationFrame::put_LocalCache(const CADUnicodeString& directory) {
  if (directory.IsEmpty()) return E_FAIL;
  localCache_ = directory;
  ++localCacheResets_;
  return S_OK;
}

HRESULT CADApplicationFrame::get_LocalCache(CADUnicodeString& directory) {
  directory = localCache_;
  return S_OK;
}

HRESULT CADApplicationFrame::QueryInterface(const CADIID& iid, void** out) {
  return CADQueryInterfaceHelper<CADApplicationFrame, CADAutoApplication, CADBaseUnknown>(this, iid, out);
}
