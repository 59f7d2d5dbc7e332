// The property manager's integrity check: run at command start, it lets
// other subsystems settle their state, applies values kept for products that
// are loaded now, and drops the records no open document uses any more.
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

void ZRBPropertyManager::AddIntegrityStep(bool atStart, IntegrityStep step) {
  if (!step) return;
  (atStart ? startSteps_ : keepSteps_).push_back(std::move(step));
}

void ZRBPropertyManager::UnsetRemoveFlagForFile(const CADUnicodeString& fullPath) {
  if (ZRBPropertyFile* file = store_.FindFile(fullPath)) file->SetRemovalMark(false);
}

void ZRBPropertyManager::UnsetRemoveFlagForProduct(const CADIProduct_var& product) {
  if (!product) return;
  if (ZRBPropertyReference* record = ReferenceFor(product, false)) record->SetRemovalMark(false);
  // Values kept through the instance belong to the product too.
  if (IsCacheActivationOn())
    if (ZRBPropertyReference* kept = GetReferenceObjectByInstance(product, 0, 0)) kept->SetRemovalMark(false);
  CADUnicodeString path = GetProductFullPath(product);
  if (!path.IsEmpty()) UnsetRemoveFlagForFile(path);
}

void ZRBPropertyManager::WalkForIntegrity(const CADIProduct_var& product, int depth) {
  if (!product) return;
  if (!product->GetPartNumber().IsEmpty()) {
    // Values kept while the product was not loaded (or read from a file) go
    // to the product now that it is.
    if (ZRBPropertyReference* own = store_.FindReference(product->GetPartNumber()))
      if (!own->IsPropertySetFlag()) SetReferenceInfoToProduct(product, *own);
    if (IsCacheActivationOn())
      if (ZRBPropertyReference* kept = GetReferenceObjectByInstance(product, 0, 0))
        if (!kept->IsPropertySetFlag() && kept->GetPartNumber().IsEmpty()) SetReferenceInfoToProduct(product, *kept);
  }
  UnsetRemoveFlagForProduct(product);
  if (depth > 0 && !GetReferenceProperty(product, "ZRB_ADD_TEMP").IsEmpty()) {
    ZRB_DEBUG("ZRB: Not parsing tree starting at %s", GetPartNumber(product, 0).c_str());
    return;
  }
  auto children = ZRBPSNTreeUtil::GetDirectChildren(product);
  for (const auto& node : *children) WalkForIntegrity(CADIProduct_var(node), depth + 1);
}

int ZRBPropertyManager::CheckIntegrity(int mode) {
  ZRB_TRACE("ZRBPropertyManager::CheckIntegrity");
  for (const auto& step : startSteps_) step(*this, mode);

  for (const auto& reference : store_.References()) reference->SetRemovalMark(true);
  for (const auto& file : store_.Files()) {
    // A design table's file is no document of the session, yet its PDM
    // identity must survive until the table is saved again.
    file->SetRemovalMark(!(file->GetProperty("ZRB_TYPE") == "DESIGNTABLE"));
  }

  CADListValCADBaseUnknown_var documents = CADDocumentServices::GetListOfDocuments();
  for (const auto& entry : documents) {
    CADDocument_var document(entry);
    if (!document) continue;
    UnsetRemoveFlagForFile(document->StorageName());
    if (CADIProduct_var root = document->GetRootProduct()) WalkForIntegrity(root, 0);
  }

  for (const auto& step : keepSteps_) step(*this, mode);

  std::vector<const ZRBPropertyReference*> goneReferences;
  for (const auto& reference : store_.References())
    if (reference->IsMarkedForRemoval()) goneReferences.push_back(reference.get());
  std::vector<int> goneIds;
  for (const ZRBPropertyReference* reference : goneReferences) {
    goneIds.push_back(reference->GetId());
    store_.RemoveReference(reference);
  }
  std::vector<const ZRBPropertyInstance*> goneInstances;
  for (const auto& instance : store_.Instances())
    if (!store_.FindReferenceById(instance->GetParentId())) goneInstances.push_back(instance.get());
  for (const ZRBPropertyInstance* instance : goneInstances) store_.RemoveInstance(instance);
  for (int id : goneIds) store_.RepointChildIds(id, 0);
  std::vector<const ZRBPropertyFile*> goneFiles;
  for (const auto& file : store_.Files())
    if (file->IsMarkedForRemoval()) goneFiles.push_back(file.get());
  for (const ZRBPropertyFile* file : goneFiles) store_.RemoveFile(file);

  if (mode != 4)
    ZRB_DEBUG("ZRB: CheckIntegrity dropped %zu reference, %zu instance and %zu file records", goneReferences.size(),
              goneInstances.size(), goneFiles.size());
  ZRB_TRACE_OK();
  return 1;
}
