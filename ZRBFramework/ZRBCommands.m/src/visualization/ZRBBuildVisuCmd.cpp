#include "ZRBBuildVisuCmd.h"

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADSystemServices.h"
#include "CADVisExport.h"
#include "CADVisManager.h"
#include "ZRBAfx.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBProductPathUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBBuildVisuCmd* fctCreateZRBBuildVisuCmd() { return new ZRBBuildVisuCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBBuildVisuCmd", &fctCreateZRBBuildVisuCmd);
constexpr const char* kCatalog = "ZRBBuildVisuCmd";

CADDocument* DocumentOf(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  ZRBFileUtil::GetRefDocFromCADIProduct(product, &document);
  return document;
}

// Saves the vis and opens it; null when either fails (then nothing of the session changed).
CADDocument* SaveVis(CADDocument* source, const CADUnicodeString& path, const CADUnicodeString& partNumber) {
  CADDocument* vis = nullptr;
  if (!source || FAILED(CADVisExport::Save(source, path, partNumber))) {
    ZRB_DEBUG("ZRB: BuildVisu: saving %s failed", path.c_str());
    return nullptr;
  }
  if (FAILED(CADDocumentServices::OpenDocument(path, vis))) {
    ZRB_DEBUG("ZRB: BuildVisu: opening %s failed", path.c_str());
    return nullptr;
  }
  return vis;
}

}  // namespace

CADIProduct_var ZRBBuildVisuCmd::SelectedProduct() {
  CADFrmEditor* editor = GetEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  if (!document) {
    ZRB_DEBUG("ZRB: BuildVisu: *** cannot get Document ***");
    return nullptr;
  }
  if (!(document->GetType() == "CADProduct")) {
    ZRB_DEBUG("ZRB: BuildVisu: *** wrong document type ***");
    return nullptr;
  }
  CADCSO* selection = editor->GetCSO();
  if (!selection) {
    ZRB_DEBUG("ZRB: BuildVisu: *** no selection ? ***");
    return nullptr;
  }
  if (selection->GetSize() != 1) {
    ZRB_DEBUG("ZRB: BuildVisu: *** wrong number of elements ***");
    return nullptr;
  }
  const CADPathElement* element = selection->GetElement(1);
  if (!element) {
    ZRB_DEBUG("ZRB: BuildVisu: *** unexspected error ***");
    return nullptr;
  }
  CADIProduct_var product;
  if (FAILED(element->GetLeafProduct(product))) {
    ZRB_DEBUG("ZRB: BuildVisu: *** selected elemant is not a Product ***");
    return nullptr;
  }
  return product;
}

int ZRBBuildVisuCmd::GetSelectedZRBProduct(CADIProduct_var& product) {
  product = SelectedProduct();
  if (!product) return 0;
  if (!(GlobPropertyManager.GetProductType(product) == "CADProduct")) {
    ZRB_DEBUG("ZRB: BuildVisu: *** selected Item is not a CADProduct ***");
    product = nullptr;
    return 0;
  }
  if (!ZRBInfoUtil::IsRefProductFromZRB(product.get())) {
    ZRB_DEBUG("ZRB: BuildVisu: *** selected Item is not from ZRB ***");
    product = nullptr;
    return 0;
  }
  ZRB_DEBUG("ZRB: BuildVisu: Found selected CADProduct");
  return 1;
}

int ZRBBuildVisuCmd::GetSelectedZRBVisualization(CADIProduct_var& product) {
  product = SelectedProduct();
  if (!product) return 0;
  CADUnicodeString fullPath;
  ZRBProductPathUtil::GetFullPathNameForProduct(product, fullPath);
  if (GlobPropertyManager.GetProductType(product) == "vis") {
    ZRB_DEBUG("ZRB: BuildVisu: Found selected model");
    if (GlobPropertyManager.GetReferenceProperty(product, "ZRB_IS_VISUALIZATION") == "1" &&
        !GlobPropertyManager.IsBlackBoxItem(fullPath) && !GlobPropertyManager.IsArchiveContent(product))
      return 1;
  }
  ZRB_DEBUG("ZRB: BuildVisu: *** selected Item is not Visualisation ***");
  product = nullptr;
  return 0;
}

int ZRBBuildVisuCmd::GetNewVisPathInXmap(const CADUnicodeString& partNumber, const CADIProduct_var product,
                                         CADUnicodeString& visPath, CADUnicodeString& newPartNumber) {
  CADUnicodeString xmap;
  if (!ZRBAfx::GetXMap(xmap) || xmap.IsEmpty() || partNumber.IsEmpty()) return 0;
  for (int n = 1;; ++n) {
    CADUnicodeString candidate = partNumber;
    if (n > 1) candidate += "_" + std::to_string(n);
    candidate += "_VISU";
    const std::string& directory = xmap.str();
    const CADUnicodeString path(directory + (directory.back() == '/' ? "" : "/") + candidate.str() + ".vis");
    ZRBNodeList found;
    if (product) ZRBPSNTreeUtil::GetTreeNodesHavingPartNumber(product, candidate, &found);
    if (FAILED(CADFileAccess(path, CADFileExists)) && found.Size() == 0) {
      visPath = path;
      newPartNumber = candidate;
      return 1;
    }
  }
}

ZRBOneStepCommand::Outcome ZRBBuildVisuCmd::Work() {
  ZRB_TRACE("ZRBBuildVisuCmd::Activate");
  CADIProduct_var product;
  int result = 0;
  if (GetSelectedZRBProduct(product)) {
    result = Build(product);
  } else if (GetSelectedZRBVisualization(product)) {
    result = Renew(product);
  } else {
    ShowMessage(kCatalog, "NoZRBProductSelected", kFailureStyle);
  }
  if (result) ZRB_TRACE_OK();
  return result ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBBuildVisuCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage(kCatalog, "BuildVisuOk"), BuildMessage(kCatalog, "BuildVisuFailed"), 0);
}

int ZRBBuildVisuCmd::Build(const CADIProduct_var& product) {
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(product, 1);
  CADUnicodeString path, newPartNumber;
  if (partNumber.IsEmpty() || !GetNewVisPathInXmap(partNumber, product, path, newPartNumber)) return 0;
  CADDocument* vis = SaveVis(DocumentOf(product), path, newPartNumber);
  CADIProduct_var child;
  if (!vis || FAILED(product->AddExternalComponent(vis, child))) return 0;
  CADIProduct_var father = product;
  SetDirtyFlagForProduct(1, father);
  GlobPropertyManager.SetReferenceProperty(child, "ZRB_SET_VISU_MODEL_TYPE", "1");
  DisplayNewObject(child);
  CADUnicodeString parameters[2] = {ZRBFileUtil::GetFileNameFromPath(path), newPartNumber};
  GetInformations().Append(BuildMessage(kCatalog, "BuildSuccessMessage", parameters, 2));
  GetInformations().Append(BuildMessage(kCatalog, "CreateNeededMessage"));
  return 1;
}

int ZRBBuildVisuCmd::Renew(const CADIProduct_var& visualization) {
  CADIProduct_var father = visualization->GetFatherProduct();
  const CADUnicodeString partNumber = father ? GlobPropertyManager.GetPartNumber(father, 1) : CADUnicodeString();
  CADUnicodeString path, newPartNumber;
  if (partNumber.IsEmpty() || !GetNewVisPathInXmap(partNumber, father, path, newPartNumber)) return 0;
  // The new file is saved before the old representation goes: a failed save leaves the node as it was.
  CADDocument* vis = SaveVis(DocumentOf(father), path, newPartNumber);
  CADIProduct_var renewed;
  if (!vis || FAILED(father->ReplaceComponent(visualization, vis, renewed))) return 0;
  GlobPropertyManager.SetReferenceProperty(renewed, "ZRB_IS_VISUALIZATION", "1");
  GlobPropertyManager.SetReferenceProperty(renewed, "ZRB_SET_VISU_MODEL_TYPE", "1");
  SetDirtyFlagForProduct(1, father);
  DisplayNewObject(renewed);
  CADUnicodeString parameters[2] = {ZRBFileUtil::GetFileNameFromPath(path), newPartNumber};
  GetInformations().Append(BuildMessage(kCatalog, "UpdateSuccessMessage", parameters, 2));
  GetInformations().Append(BuildMessage(kCatalog, "UpdateNeededMessage"));
  return 1;
}

void ZRBBuildVisuCmd::DisplayNewObject(const CADIProduct_var& node) {
  CADVisManager& visu = CADVisManager::Get();
  visu.Dispatch(node, CADModelEvent::Modification);
  visu.Dispatch(node, CADModelEvent::Redraw);
}
