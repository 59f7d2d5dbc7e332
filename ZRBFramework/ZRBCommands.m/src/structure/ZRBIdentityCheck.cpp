#include "ZRBIdentityCheck.h"

#include "CADDocument.h"
#include "ZRBAfxBase.h"
#include "ZRBCadApi.h"
#include "ZRBCommandContext.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr const char* kStored = "STORED_UUID";

bool Enabled() { return g_ZRBConfig.CompareEnvVar("ZRB_READ_UUID", "ON", 1) == 1; }

}  // namespace

CADUnicodeString ZRBIdentityCheck::FileOf(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  if (!product || FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document)) || !document)
    return CADUnicodeString();
  return document->StorageName();
}

ZRBIdentityCheck::Outcome ZRBIdentityCheck::Check(const CADIProduct_var& product, ZRBCommandContext* context) {
  ZRB_TRACE("ZRBIdentityCheck::Check");
  if (!product || !Enabled()) return Outcome::NotChecked;
  const CADUnicodeString stored = GlobPropertyManager.GetReferenceProperty(product, kStored);
  // A node the session never recorded an identifier for has nothing to be compared with.
  if (stored.IsEmpty()) return Outcome::NotChecked;
  const CADUnicodeString path = FileOf(product);
  CADString current;
  if (path.IsEmpty() || FAILED(GlobZRBCadApi.GetUuid(path, current))) {
    ZRB_DEBUG("ZRB: no identifier for the file of %s", product->GetPartNumber().c_str());
    return Outcome::NotChecked;
  }
  unsigned char same = 0;
  if (FAILED(GlobZRBCadApi.CompareDSFileIdentifier(stored.ConvertToString(), current, same))) {
    ZRB_DEBUG("ZRB: ZRBCustExt-Library: ZRBExtCompareDSFileIdentifier call failed");
    if (context)
      context->GetWarnings().Append(ZRBAfxBase::BuildMessage("ZRBUpdateCmd", "ZRBUpdateCmd.CustomerLibCallFailed"));
    return Outcome::Other;
  }
  if (!same) ZRB_DEBUG("ZRB: the identifier of %s is not the one recorded at the read", path.c_str());
  ZRB_TRACE_OK();
  return same ? Outcome::Same : Outcome::Other;
}

void ZRBIdentityCheck::Remember(const CADIProduct_var& product) {
  if (!product || !Enabled()) return;
  const CADUnicodeString path = FileOf(product);
  CADString current;
  if (path.IsEmpty() || FAILED(GlobZRBCadApi.GetUuid(path, current))) return;
  GlobPropertyManager.SetReferenceProperty(product, kStored, CADUnicodeString(current));
}
