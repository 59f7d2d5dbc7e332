#include "ZRBXmapDocuments.h"

#include "CADAutoProduct.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADSystemServices.h"
#include "ZRBAfxCache.h"
#include "ZRBFileUtil.h"
#include "ZRBLinkStatus.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBStaleFiles.h"
#include "ZRBTrace.h"
#include "ZRBXmapProductServices.h"

namespace {

// A father chain longer than this is taken for a broken structure.
constexpr int kMaxAncestors = 1024;

void ClearReadOnly(CADDocument& document) { document.SetReadOnly(0); }

}  // namespace

CADUnicodeString ZRBXmapDocuments::NameOf(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product && FAILED(product->GetPrdInstanceName(name))) name = product->GetPartNumber();
  return name;
}

// --- names in the exchange map

int ZRBXmapDocuments::GetExmapFileFullPath(const CADUnicodeString& docPath, CADUnicodeString& xmap,
                                           CADUnicodeString& fullPath) {
  ZRB_TRACE("ZRBXmapDocuments::GetExmapFileFullPath");
  if (!ZRBAfxCache::GetXMap(xmap)) return 0;
  const CADUnicodeString fileName = ZRBStaleFiles::FileNameOfLocation(docPath.ConvertToString());
  if (fileName.IsEmpty()) return 0;
  fullPath = ZRBAfxCache::MakePath(xmap, fileName);
  CADDocument* document = CADDocumentServices::GetDocumentInSession(docPath);
  if (!document) {
    ZRB_TRACE_OK();
    return 1;
  }
  CADDocId id;
  CADUnicodeString type;
  if (FAILED(document->GetDocId(id))) {
    ZRB_DEBUG("pDocument->GetDocId() Failed");
  } else if (FAILED(id.GetType(type))) {
    ZRB_DEBUG("oDocId->GetType(sType) Failed");
  } else if (fileName.Find("." + type.str()) < 0) {
    // Looked for in the name only: a directory of the exchange map's path
    // that happens to hold the text must not stand in for the extension.
    fullPath += "." + type.str();
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBXmapDocuments::GetTransmapFileFullPath(ZRBObjectManager&, const CADUnicodeString& fileName,
                                              CADUnicodeString& xmap, CADUnicodeString& fullPath) {
  fullPath = CADUnicodeString();
  if (!ZRBAfxCache::GetXMap(xmap)) return 0;
  const CADUnicodeString name = ZRBStaleFiles::FileNameOfLocation(fileName.ConvertToString());
  if (name.IsEmpty()) {
    ZRB_DEBUG("ZRB: '%s' names no file of the exchange map", fileName.c_str());
    return 0;
  }
  fullPath = ZRBAfxCache::MakePath(xmap, name);
  return 1;
}

HRESULT ZRBXmapDocuments::GetZrbFileNameForProduct(ZRBXmapProductServices& services, const CADIProduct_var& product,
                                                   CADUnicodeString& fileName, const CADUnicodeString& storageName) {
  ZRB_TRACE("ZRBXmapDocuments::GetZrbFileNameForProduct");
  fileName = CADUnicodeString();
  if (!product) {
    ZRB_DEBUG("ZRB: found 'NULL' Product");
    return E_FAIL;
  }
  HRESULT result = S_OK;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(product, 0);
  fileName = ZRBStaleFiles::FileNameOfLocation(
      GlobPropertyManager.GetReferenceProperty(partNumber, "ZRB_EXTERNAL_LOCATION").ConvertToString());
  if (fileName.IsEmpty())
    fileName = ZRBStaleFiles::FileNameOfLocation(GlobPropertyManager.GetFullPath(product).ConvertToString());
  if (fileName.IsEmpty()) {
    CADUnicodeString storage = storageName;
    if (storage.IsEmpty()) {
      if (CADDocument* document = services.GetDocForProduct(product, GlobPropertyManager.GetPartNumber(product, 1), 1))
        storage = document->StorageName();
    }
    if (storage.IsEmpty()) {
      ZRB_DEBUG("ZRB: unable to get storagename");
      result = E_FAIL;
    }
    fileName = ZRBStaleFiles::FileNameOfLocation(storage.ConvertToString());
  }
  if (fileName.IsEmpty()) {
    ZRB_DEBUG("ZRB: unable to get filename");
    return E_FAIL;
  }
  if (SUCCEEDED(result)) ZRB_TRACE_OK();
  return result;
}

// --- saving

int ZRBXmapDocuments::SaveProductToXmap(ZRBXmapProductServices& services, const CADIProduct_var& product,
                                        const CADUnicodeString& writePermission, CADUnicodeString& xmapPath,
                                        short& dirty) {
  ZRB_TRACE("ZRBXmapDocuments::SaveProductToXmap");
  if (!product) return 0;
  CADDocument* document = services.GetDocForProduct(product, GlobPropertyManager.GetPartNumber(product, 0), 0);
  if (!document) return 0;
  CADIPersistent_var persistent(document);
  if (!persistent) return 0;
  dirty = static_cast<short>(persistent->IsDirty() & 0xFFu);
  if (!dirty) {
    ZRB_DEBUG("Product '%s' not dirty, no save needed", NameOf(product).c_str());
    ZRB_TRACE_OK();
    return 1;
  }
  CADUnicodeString xmap;
  if (!GetExmapFileFullPath(document->StorageName(), xmap, xmapPath)) {
    ZRB_DEBUG("Could not get Xmap Filename");
    return 0;
  }
  if (writePermission != "1") {
    ZRB_DEBUG("No Write Permissions in PDM");
    ZRB_DEBUG("'%s' NOT saved", xmapPath.c_str());
    ZRB_TRACE_OK();
    return 1;
  }
  ZRB_DEBUG("Saving Product to '%s'", xmapPath.c_str());
  ClearReadOnly(*document);
  if (!services.SaveAs(*document, xmapPath, CADUnicodeString(), 0)) return 0;
  ZRB_TRACE_OK();
  return 1;
}

HRESULT ZRBXmapDocuments::SaveDocumentInExmap(ZRBXmapProductServices& services, CADDocument* document) {
  ZRB_TRACE("ZRBXmapDocuments::SaveDocumentInExmap");
  if (!document) return E_FAIL;
  const CADUnicodeString docPath = document->StorageName();
  CADUnicodeString xmap, xmapPath;
  const int found = GetExmapFileFullPath(docPath, xmap, xmapPath);
  int same = 0;
  if (found) ZRBAfxCache::CompareFullPath(docPath, xmapPath, same);
  if (found && ZRBLinkStatus::Of(xmapPath.str()).isLink) {
    CADUnicodeString target;
    // The copy is renamed over the link itself, so the exchange map never
    // lacks the file, and the later save cannot reach the link's target.
    if (SUCCEEDED(CADGetRealPath(xmapPath, target)) && FAILED(CADFCopy(target, xmapPath, 1)))
      ZRB_DEBUG("ZRB: could not replace the link %s by a copy of %s", xmapPath.c_str(), target.c_str());
  }
  if (found && !same) {
    ZRB_DEBUG("Using SaveAs.");
    ClearReadOnly(*document);
    if (!services.SaveAs(*document, xmapPath, CADUnicodeString(), 0)) {
      ZRB_DEBUG("SaveAs Failed.");
      return E_FAIL;
    }
    ZRB_TRACE_OK();
    return S_OK;
  }
  ZRB_DEBUG("Using Save.");
  ClearReadOnly(*document);
  if (!services.Save(document, 0)) return E_FAIL;
  CADUnicodeString modified;
  if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(document->StorageName(), modified)) && !modified.IsEmpty())
    GlobPropertyManager.SetFileProperty(document->StorageName(), "ZRB_LAST_KNOWN_MOD_TIME", modified);
  ZRB_TRACE_OK();
  return S_OK;
}

int ZRBXmapDocuments::MoveProductToXmap(ZRBXmapProductServices& services, CADIProduct_var& product) {
  ZRB_TRACE("ZRBXmapDocuments::MoveProductToXmap");
  if (!product) return 0;
  const CADUnicodeString fullPath = GlobPropertyManager.GetFullPath(product);
  const CADUnicodeString type = GlobPropertyManager.GetProductType(product);
  if ((type == "CADPart" || type == "CADProduct") && !fullPath.IsEmpty()) MoveDocument(services, product, fullPath);
  if (!type.IsEmpty() && (type == "vis" || type == "model" || services.IsRepresentation(type)))
    MoveRepresentation(services, product, fullPath, type);
  ZRB_TRACE_OK();
  return 0;
}

void ZRBXmapDocuments::MoveDocument(ZRBXmapProductServices& services, const CADIProduct_var& product,
                                    const CADUnicodeString& fullPath) {
  CADUnicodeString xmapPath;
  // Without "ZRBXMAP" the documents stay where they are.
  if (!ZRBAfxCache::GetXMapWithEndingSlash(xmapPath)) return;
  const CADUnicodeString fileName = ZRBStaleFiles::FileNameOfLocation(fullPath.ConvertToString());
  if (fileName.IsEmpty()) return;
  xmapPath += fileName;
  int equal = 1;
  ZRBAfxCache::CompareFullPath(fullPath, xmapPath, equal);
  if (equal) return;
  CADDocument* occupant = CADDocumentServices::GetDocumentInSession(xmapPath);
  CADDocument* document = CADDocumentServices::GetDocumentInSession(fullPath);
  if (occupant && occupant != document) {
    // Saving over it would leave two documents of the session on one file.
    ZRB_DEBUG("ZRB: %s is loaded already, %s stays where it is", xmapPath.c_str(), fullPath.c_str());
    return;
  }
  unsigned char dirty = 0;
  services.GetDirtyFlagForProduct(dirty, product, 0, 0);
  bool designModeSwitched = false;
  bool mayMove = true;
  if (GlobPropertyManager.IsCachedPart(product)) {
    CADAutoProduct_var automation(product);
    if (automation) {
      automation->ApplyWorkMode(CADAutoProduct::kDesignMode);
      designModeSwitched = true;
      // The design mode loads the document: look again.
      document = CADDocumentServices::GetDocumentInSession(fullPath);
    } else {
      mayMove = false;
    }
  }
  if (mayMove && document) {
    ClearReadOnly(*document);
    if (services.SaveAs(*document, xmapPath, CADUnicodeString(), 0)) {
      ZRB_DEBUG("ZRB: %s moved to %s", fullPath.c_str(), xmapPath.c_str());
      SaveAncestors(services, product);
    }
  }
  if (designModeSwitched) {
    CADAutoProduct_var automation(product);
    if (automation) automation->ApplyWorkMode(CADAutoProduct::kVisualizationMode);
  }
  if (dirty) services.SetDirtyFlagForProduct(dirty, product);
}

void ZRBXmapDocuments::SaveAncestors(ZRBXmapProductServices& services, const CADIProduct_var& product) {
  CADIProduct_var ancestor = ZRBPSNTreeUtil::GetFatherProduct(product);
  for (int level = 0; ancestor && level < kMaxAncestors; ++level) {
    if (services.IsRefProductFromZRB(ancestor)) {
      CADDocument* document = services.GetDocForProduct(ancestor, GlobPropertyManager.GetPartNumber(ancestor, 0), 0);
      if (document) {
        unsigned char dirty = 0;
        services.GetDirtyFlagForProduct(dirty, ancestor, 1, 0);
        ClearReadOnly(*document);
        // In place, so that it records where its child lives now.
        services.SaveAs(*document, document->StorageName(), CADUnicodeString(), 0);
        if (dirty) services.SetDirtyFlagForProduct(dirty, ancestor);
      }
    }
    ancestor = ZRBPSNTreeUtil::GetFatherProduct(ancestor);
  }
}

void ZRBXmapDocuments::MoveRepresentation(ZRBXmapProductServices& services, const CADIProduct_var& product,
                                          const CADUnicodeString& fullPath, const CADUnicodeString& type) {
  const CADUnicodeString name = NameOf(product);
  CADListValCADUnicodeString shapes;
  if (FAILED(product->GetAllShapesNames(shapes, 1))) {
    ZRB_DEBUG("%s: Failed to get assosiated shapes", name.c_str());
    return;
  }
  if (shapes.Size() != 1) {
    ZRB_DEBUG("Component %s has %d shapes assosiated", name.c_str(), shapes.Size());
    return;
  }
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(product, 0);
  const CADUnicodeString repPath = GlobPropertyManager.GetReferenceProperty(partNumber, "ZRB_REPRESENTATIONPATH");
  if (repPath.IsEmpty() || !ZRBFileUtil::HasExtension(repPath, type)) return;
  int equal = 1;
  ZRBAfxCache::CompareFullPath(fullPath, repPath, equal);
  if (equal) return;
  ZRB_DEBUG("Location of %s changed", name.c_str());
  if (FAILED(ZRBFileUtil::CopyFile(fullPath, repPath))) return;
  if (services.ReplaceDefaultShape(product, type, repPath) < 0)
    ZRB_DEBUG("Failed set new representation %s", repPath.c_str());
  // The copy counts as changed at the next comparison of modification times.
  GlobPropertyManager.SetFileProperty(repPath, "ZRB_LAST_KNOWN_MOD_TIME", "0");
}
