#include "ZRBToolboxUtil.h"

#include "CADDocument.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBToolboxApi.h"
#include "ZRBTrace.h"

static_assert(ZRBToolboxUtil::kMaxName == ZRB_TOOLBOX_MAX_NAME && ZRBToolboxUtil::kMaxValue == ZRB_TOOLBOX_MAX_VALUE);

namespace {

constexpr const char* kIdentity[] = {"ZRB_OBID", "ZRB_DB_NAME", "ZRB_CLASSNAME"};

template <class Lookup>
int FillIdentity(ZRBObjectManager& request, Lookup lookup, const char* className = nullptr) {
  ZRBObject* data = nullptr;
  if (!ZRBPdmRequest::AddRoot(request) || !(data = request.CreateObject("DATA"))) return -1;
  for (const char* name : kIdentity) {
    CADUnicodeString value = (className && CADString(name) == "ZRB_CLASSNAME") ? CADUnicodeString(className)
                                                                               : lookup(CADUnicodeString(name));
    if (value.IsEmpty()) {
      ZRB_DEBUG("Needed Attribute not found: '%s'", name);
      return -1;
    }
    data->SetSlotValue(name, value.ConvertToString());
  }
  return 0;
}

// The archive whose content the product is: the nearest father that is an archive's root.
CADIProduct_var ArchiveRootAbove(const CADIProduct_var& product) {
  for (CADIProduct_var father = product->GetFatherProduct(); father; father = father->GetFatherProduct())
    if (GlobPropertyManager.IsArchiveRoot(father)) return father;
  return CADIProduct_var();
}

}  // namespace

int ZRBToolboxUtil::FillDataObjMgr(const CADIProduct_var& product, ZRBObjectManager& request) {
  if (!product) return -1;
  if (GlobPropertyManager.IsArchiveContent(product)) {
    // Archive content has no identity of its own in the PDM: the archive answers for it.
    const CADIProduct_var archive = ArchiveRootAbove(product);
    if (archive)
      return FillIdentity(
          request, [&](const CADUnicodeString& n) { return GlobPropertyManager.GetReferenceProperty(archive, n); },
          "ZRBArchive");
  }
  return FillIdentity(request,
                      [&](const CADUnicodeString& n) { return GlobPropertyManager.GetReferenceProperty(product, n); });
}

int ZRBToolboxUtil::FillDataObjMgr(const CADDocument* drawing, ZRBObjectManager& request) {
  if (!drawing) return -1;
  const CADUnicodeString path = drawing->StorageName();
  return FillIdentity(request, [&](const CADUnicodeString& n) { return GlobPropertyManager.GetFileProperty(path, n); });
}

bool ZRBToolboxUtil::IsValidName(std::string_view name) {
  if (name.empty() || name.size() > kMaxName) return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7f || c == '{' || c == '}') return false;
  return true;
}

std::string_view ZRBToolboxUtil::Trim(std::string_view text) {
  constexpr std::string_view kBlank = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

int ZRBToolboxUtil::ClassifyForArchive(const CADIProduct_var& product) {
  if (!product) return ZRB_IN_ARCHIVE_NO_PRODUCT;
  if (GlobPropertyManager.IsArchiveRoot(product) ||
      GlobPropertyManager.GetProductType(product) == CADUnicodeString("ZRBArchive")) {
    ZRB_DEBUG("ZRBArchive Product detected");
    return ZRB_IN_ARCHIVE_ARCHIVE;
  }
  if (!GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID").IsEmpty()) {
    ZRB_DEBUG("ZRB Structure Product detected");
    return ZRB_IN_ARCHIVE_STRUCTURE;
  }
  if (GlobPropertyManager.IsArchiveContent(product) || ArchiveRootAbove(product)) {
    ZRB_DEBUG("New Product in Archive detected");
    return ZRB_IN_ARCHIVE_NEW_MEMBER;
  }
  return ZRB_IN_ARCHIVE_NONE;
}
