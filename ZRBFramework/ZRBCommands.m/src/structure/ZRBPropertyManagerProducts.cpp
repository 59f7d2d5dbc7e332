// The property manager's operations on products of the session: addressing
// reference records (by part number, or through the instance for products
// the host has not loaded), and the host attributes it sets with the
// integration's rules.
#include <utility>

#include "CADAutoProduct.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADILinkableObject.h"
#include "CADIPrdProperties.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBProductPathUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

using Field = ZRBPropertyReference::Field;
using Kind = ZRBPropertyManagerNames::Kind;

namespace {
CADUnicodeString HostPartNumber(const CADIProduct_var& product) {
  return product ? product->GetPartNumber() : CADUnicodeString();
}

CADUnicodeString InstanceName(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product) product->GetPrdInstanceName(name);
  return name;
}

CADDocument* DocumentOf(const CADIProduct_var& product) {
  CADILinkableObject_var link(product);
  return link ? link->GetDocument() : nullptr;
}

// The file behind a product: its loaded document, else the file its
// "Default" representation names (an unloaded reference).
CADUnicodeString ProductFile(const CADIProduct_var& product) {
  if (!product) return {};
  if (CADDocument* document = DocumentOf(product)) return document->StorageName();
  CADUnicodeString path, format;
  if (SUCCEEDED(product->GetShapeRepresentation("Default", path, format))) return path;
  return {};
}

void MarkModified(const CADIProduct_var& product) {
  if (CADDocument* document = DocumentOf(product)) document->SetDirty(1);
}

// Another product of the session whose reference has `partNumber`.
CADIProduct_var FindOtherProduct(const CADUnicodeString& partNumber, const CADIProduct_var& reference) {
  CADListValCADBaseUnknown_var documents = CADDocumentServices::GetListOfDocuments();
  for (const auto& entry : documents) {
    CADDocument_var document(entry);
    if (!document) continue;
    CADIProduct_var root = document->GetRootProduct();
    if (!root) continue;
    auto nodes = ZRBPSNTreeUtil::GetAllChildren(root, 1);
    nodes->Append(CADBaseUnknown_var(root));
    for (const auto& node : *nodes) {
      CADIProduct_var product(node);
      if (!product || !(product->GetPartNumber() == partNumber)) continue;
      CADIProduct_var otherReference = product->GetReferenceProduct();
      if (otherReference && !otherReference.IsEqual(reference)) return product;
    }
  }
  return nullptr;
}
}  // namespace

// ---------------------------------------------------------------- addressing

bool ZRBPropertyManager::IsUnloadedUnderCache(const CADIProduct_var& product) {
  return IsCacheActivationOn() && HostPartNumber(product).IsEmpty();
}

ZRBPropertyReference* ZRBPropertyManager::GetReferenceObjectByInstance(const CADIProduct_var& product, int create,
                                                                       int fileSearch) {
  if (!product) return nullptr;
  ZRBPropertyReference* record = nullptr;
  CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  CADUnicodeString fatherPartNumber = father ? GetPartNumber(father, 0) : CADUnicodeString();
  if (!fatherPartNumber.IsEmpty()) {
    CADUnicodeString name = InstanceName(product);
    ZRBPropertyReference* fatherRecord =
        create ? store_.FindOrCreateReference(fatherPartNumber) : store_.FindReference(fatherPartNumber);
    ZRBPropertyInstance* instance = nullptr;
    if (fatherRecord)
      instance = create ? store_.FindOrCreateInstance(fatherRecord->GetId(), name)
                        : store_.FindInstance(fatherRecord->GetId(), name);
    if (instance) {
      if (instance->GetChildId()) record = store_.FindReferenceById(instance->GetChildId());
      if (!record && create) {
        record = store_.CreateReference("");
        instance->SetChildId(record->GetId());
      }
    }
  }
  if (!record && fileSearch) record = store_.FindReferenceByFileName(ProductFile(product));
  return record;
}

ZRBPropertyReference* ZRBPropertyManager::ReferenceFor(const CADIProduct_var& product, bool create) {
  if (!product) return nullptr;
  if (IsUnloadedUnderCache(product)) return GetReferenceObjectByInstance(product, create ? 1 : 0, 1);
  CADUnicodeString partNumber = HostPartNumber(product);
  ZRBPropertyReference* record = store_.FindReference(partNumber);
  if (record || partNumber.IsEmpty()) return record;
  if (!create) {
    // Just loaded and nothing stored under its number yet: what was kept
    // while it was not loaded is still its truth.
    return IsCacheActivationOn() ? GetReferenceObjectByInstance(product, 0, 0) : nullptr;
  }
  record = store_.CreateReference(partNumber);
  if (IsCacheActivationOn()) {
    // What was kept for this product while it was not loaded joins its record.
    ZRBPropertyReference* kept = GetReferenceObjectByInstance(product, 0, 0);
    if (kept && kept->GetId() != record->GetId()) MergeReferences(*record, *kept);
  }
  return record;
}

// ---------------------------------------------------------------- reference properties

void ZRBPropertyManager::SetReferenceProperty(const CADIProduct_var& product, const CADUnicodeString& name,
                                              const CADUnicodeString& value) {
  names_.Check(Kind::Reference, "Set", name);
  if (ZRBPropertyReference* record = ReferenceFor(product, true))
    record->SetProperty(name, value);
  else
    ZRB_DEBUG("ZRB: SetReferenceProperty: no record for the product, '%s' not stored", name.c_str());
}

CADUnicodeString ZRBPropertyManager::GetReferenceProperty(const CADIProduct_var& product,
                                                          const CADUnicodeString& name) {
  names_.Check(Kind::Reference, "Get", name);
  ZRBPropertyReference* record = ReferenceFor(product, false);
  return record ? record->GetProperty(name) : CADUnicodeString();
}

void ZRBPropertyManager::DeleteReferenceProperty(const CADIProduct_var& product, const CADUnicodeString& name) {
  names_.Check(Kind::Reference, "Delete", name);
  if (ZRBPropertyReference* record = ReferenceFor(product, false)) record->DeleteProperty(name);
}

int ZRBPropertyManager::IsReferencePropertySet(const CADIProduct_var& product, const CADUnicodeString& name) {
  names_.Check(Kind::Reference, "IsSet", name);
  ZRBPropertyReference* record = ReferenceFor(product, false);
  return record ? record->IsPropertySet(name) : 0;
}

void ZRBPropertyManager::GetAllReferenceProperties(const CADIProduct_var& product, CADListValCADUnicodeString& names,
                                                   CADListValCADUnicodeString& values) {
  names.RemoveAll();
  values.RemoveAll();
  if (ZRBPropertyReference* record = ReferenceFor(product, false)) record->GetAllProperties(names, values);
}

void ZRBPropertyManager::DeleteAllReferencePropsForReference(const CADIProduct_var& product) {
  if (ZRBPropertyReference* record = ReferenceFor(product, false)) record->RemoveAllProperties();
}

// ---------------------------------------------------------------- instance properties

ZRBPropertyInstance* ZRBPropertyManager::InstanceFor(const CADIProduct_var& parent, const CADIProduct_var& child,
                                                     bool create) {
  if (!parent || !child) {
    ZRB_DEBUG("Child Product or Parent Product is NULL");
    return nullptr;
  }
  CADUnicodeString parentPartNumber = GetPartNumber(parent, 0);
  CADUnicodeString name = InstanceName(child);
  return create ? FindOrCreateInstance(parentPartNumber, name) : FindInstance(parentPartNumber, name);
}

void ZRBPropertyManager::SetInstanceProperty(const CADIProduct_var& parent, const CADIProduct_var& child,
                                             const CADUnicodeString& name, const CADUnicodeString& value) {
  names_.Check(Kind::Instance, "Set", name);
  ZRBPropertyInstance* record = InstanceFor(parent, child, true);
  if (!record) return;
  record->SetProperty(name, value);
  UpdateChildId(parent, child);
}

CADUnicodeString ZRBPropertyManager::GetInstanceProperty(const CADIProduct_var& parent, const CADIProduct_var& child,
                                                         const CADUnicodeString& name) {
  names_.Check(Kind::Instance, "Get", name);
  ZRBPropertyInstance* record = InstanceFor(parent, child, false);
  return record ? record->GetProperty(name) : CADUnicodeString();
}

void ZRBPropertyManager::DeleteInstanceProperty(const CADIProduct_var& parent, const CADIProduct_var& child,
                                                const CADUnicodeString& name) {
  names_.Check(Kind::Instance, "Delete", name);
  if (ZRBPropertyInstance* record = InstanceFor(parent, child, false)) record->DeleteProperty(name);
}

int ZRBPropertyManager::IsInstancePropertySet(const CADIProduct_var& parent, const CADIProduct_var& child,
                                              const CADUnicodeString& name) {
  names_.Check(Kind::Instance, "IsSet", name);
  ZRBPropertyInstance* record = InstanceFor(parent, child, false);
  return record ? record->IsPropertySet(name) : 0;
}

void ZRBPropertyManager::GetAllInstanceProperties(const CADIProduct_var& parent, const CADIProduct_var& child,
                                                  CADListValCADUnicodeString& names,
                                                  CADListValCADUnicodeString& values) {
  names.RemoveAll();
  values.RemoveAll();
  if (ZRBPropertyInstance* record = InstanceFor(parent, child, false)) record->GetAllProperties(names, values);
}

void ZRBPropertyManager::DeleteAllInstancePropsForInstance(const CADIProduct_var& parent,
                                                           const CADIProduct_var& child) {
  store_.RemoveInstance(InstanceFor(parent, child, false));
}

int ZRBPropertyManager::UpdateChildId(const CADIProduct_var& parent, const CADIProduct_var& child) {
  CADUnicodeString childPartNumber = GetPartNumber(child, 0);
  if (childPartNumber.IsEmpty()) return 0;
  ZRBPropertyInstance* instance = InstanceFor(parent, child, false);
  if (!instance) return 0;
  ZRBPropertyReference* childRecord = store_.FindOrCreateReference(childPartNumber);
  instance->SetChildId(childRecord->GetId());
  return 1;
}

// ---------------------------------------------------------------- path-to-root properties

CADUnicodeString ZRBPropertyManager::PathToRootOf(const CADIProduct_var& product) const {
  CADUnicodeString path;
  ZRBProductPathUtil::GetPathToRootForProduct(product, path);
  return path;
}

void ZRBPropertyManager::SetPathToRootProperty(const CADIProduct_var& product, const CADUnicodeString& name,
                                               const CADUnicodeString& value) {
  SetPathToRootProperty(PathToRootOf(product), name, value);
}

CADUnicodeString ZRBPropertyManager::GetPathToRootProperty(const CADIProduct_var& product,
                                                           const CADUnicodeString& name) {
  return GetPathToRootProperty(PathToRootOf(product), name);
}

void ZRBPropertyManager::DeletePathToRootProperty(const CADIProduct_var& product, const CADUnicodeString& name) {
  DeletePathToRootProperty(PathToRootOf(product), name);
}

int ZRBPropertyManager::IsPathToRootPropertySet(const CADIProduct_var& product, const CADUnicodeString& name) {
  return IsPathToRootPropertySet(PathToRootOf(product), name);
}

void ZRBPropertyManager::GetAllPathToRootProperties(const CADIProduct_var& product, CADListValCADUnicodeString& names,
                                                    CADListValCADUnicodeString& values) {
  GetAllPathToRootProperties(PathToRootOf(product), names, values);
}

// ---------------------------------------------------------------- part numbers

CADUnicodeString ZRBPropertyManager::GetPartNumber(const CADIProduct_var& product, int loadFlag) {
  if (!product) {
    ZRB_DEBUG("GetPartNumber: Input parameter check failed");
    return {};
  }
  CADUnicodeString host = product->GetPartNumber();
  if (!IsCacheActivationOn() || !host.IsEmpty()) return host;
  if (ZRBPropertyReference* kept = GetReferenceObjectByInstance(product, 0, 0))
    if (!kept->GetPartNumber().IsEmpty()) return kept->GetPartNumber();
  if (!loadFlag) return {};
  CADAutoProduct_var automation(product);
  if (automation) automation->ApplyWorkMode(CADAutoProduct::kDesignMode);
  return product->GetPartNumber();
}

int ZRBPropertyManager::SetPartNumber(const CADIProduct_var& product, const CADUnicodeString& partNumber,
                                      const int& markDirty, const int& skipConflictCheck) {
  ZRB_TRACE("ZRBPropertyManager::SetPartNumber");
  CADIProduct_var reference = product ? product->GetReferenceProduct() : CADIProduct_var();
  if (!reference) {
    ZRB_DEBUG("ZRB: referenceProduct not found!");
    return 0;
  }
  CADUnicodeString oldPartNumber = reference->GetPartNumber();
  CADUnicodeString newPartNumber = partNumber.Strip();
  if (newPartNumber.IsEmpty()) return 0;

  // The conflict is settled before any record changes, so a refusal leaves
  // everything as it was.
  if (!skipConflictCheck && !(newPartNumber == oldPartNumber)) {
    CADIProduct_var other = FindOtherProduct(newPartNumber, reference);
    if (other) {
      if (ZRBPSNTreeUtil::WasLoadedFromPdm(other)) {
        ZRB_DEBUG("ZRB: part number %s is used by a product from the PDM", newPartNumber.c_str());
        return 0;
      }
      CADUnicodeString renamed = newPartNumber + "_RENAMED";
      CADUnicodeString parameters[2] = {newPartNumber, renamed};
      ZRBAfxBase::MsgBox(ZRBAfxBase::BuildMessage("ZRBCommand", "PartNumberConflictRename", parameters, 2), 0x8100200);
      if (!SetPartNumber(other, renamed, markDirty, 0)) {
        ZRB_DEBUG("ZRB: could not rename the other product to %s, part number not changed", renamed.c_str());
        return 0;
      }
    }
  }
  if (!skipConflictCheck && IsCacheActivationOn() && oldPartNumber.IsEmpty()) {
    // A product the host has not loaded: its kept record takes the number
    // (the host has nothing to rename yet).
    ZRBPropertyReference* kept = GetReferenceObjectByInstance(product, 1, 0);
    if (!kept) return 0;
    ZRBPropertyReference* existing = store_.FindReference(newPartNumber);
    if (existing && existing->GetId() != kept->GetId()) {
      if (!MergeReferences(*existing, *kept)) return 0;
    } else {
      kept->SetPartNumber(newPartNumber);
    }
    ZRB_TRACE_OK();
    return 1;
  }
  if (!(newPartNumber == oldPartNumber)) {
    if (FAILED(reference->SetPartNumber(newPartNumber))) {
      ZRB_DEBUG("ZRB: the host refused part number %s", newPartNumber.c_str());
      return 0;
    }
    if (!SetReferencePartNumber(oldPartNumber, newPartNumber)) {
      reference->SetPartNumber(oldPartNumber);
      return 0;
    }
  }
  // Only a real change makes the document modified: a read sets every part number it delivers, and an
  // unchanged one marked modified would have its geometry uploaded again at the next update.
  if (markDirty && !(newPartNumber == oldPartNumber)) MarkModified(reference);
  ZRB_TRACE_OK();
  return 1;
}

CADUnicodeString ZRBPropertyManager::GetPartNumberByFullPath(const CADUnicodeString& fullPath) const {
  ZRBPropertyReference* record = store_.FindReferenceByFullPath(fullPath);
  return record ? record->GetPartNumber() : CADUnicodeString();
}

CADUnicodeString ZRBPropertyManager::GetFullPathForPartNumber(const CADUnicodeString& partNumber) const {
  ZRBPropertyReference* record = store_.FindReference(partNumber);
  return record ? record->GetFullPath() : CADUnicodeString();
}

// ---------------------------------------------------------------- standard attributes

int ZRBPropertyManager::SetStandardAttribute(const CADIProduct_var& product, Field field,
                                             const CADUnicodeString& value) {
  if (!product) return 0;
  if (IsUnloadedUnderCache(product)) {
    ZRBPropertyReference* record = GetReferenceObjectByInstance(product, 1, 0);
    if (!record) return 0;
    record->Set(field, value);
    record->SetPropertySetFlag(false);  // applied once the product is loaded
    return 1;
  }
  CADIProduct_var reference = product->GetReferenceProduct();
  CADIPrdProperties_var properties(reference);
  if (!properties) {
    ZRB_DEBUG("QueryInterface(IID_CADIPrdProperties,...) failed!");
    return 0;
  }
  using Getter = HRESULT (CADIPrdProperties::*)(CADUnicodeString&) const;
  using Setter = HRESULT (CADIPrdProperties::*)(const CADUnicodeString&);
  Getter get = &CADIPrdProperties::GetNomenclature;
  Setter set = &CADIPrdProperties::SetNomenclature;
  switch (field) {
    case Field::Revision:
      get = &CADIPrdProperties::GetRevision, set = &CADIPrdProperties::SetRevision;
      break;
    case Field::Definition:
      get = &CADIPrdProperties::GetDefinition, set = &CADIPrdProperties::SetDefinition;
      break;
    case Field::Description:
      get = &CADIPrdProperties::GetDescription, set = &CADIPrdProperties::SetDescription;
      break;
    default:
      break;
  }
  CADUnicodeString stripped = value.Strip();
  CADUnicodeString current;
  if (FAILED(((*properties).*get)(current))) return 0;
  if (current == stripped) return 1;
  CADDocument* document = DocumentOf(reference);
  unsigned int wasDirty = document ? document->IsDirty() : 0;
  if (FAILED(((*properties).*set)(stripped))) return 0;
  // A document the designer may not change must not look modified.
  if (GetReferenceProperty(product, "ZRB_CHANGEABLE") == "0") {
    if (document) document->SetDirty(wasDirty ? 1 : 0);
  } else {
    MarkModified(reference);
  }
  return 1;
}

int ZRBPropertyManager::SetNomenclature(const CADIProduct_var& product, const CADUnicodeString& value) {
  return SetStandardAttribute(product, Field::Nomenclature, value);
}
int ZRBPropertyManager::SetRevision(const CADIProduct_var& product, const CADUnicodeString& value) {
  return SetStandardAttribute(product, Field::Revision, value);
}
int ZRBPropertyManager::SetDefinition(const CADIProduct_var& product, const CADUnicodeString& value) {
  return SetStandardAttribute(product, Field::Definition, value);
}
int ZRBPropertyManager::SetDescription(const CADIProduct_var& product, const CADUnicodeString& value) {
  return SetStandardAttribute(product, Field::Description, value);
}

int ZRBPropertyManager::SetInstanceName(const CADIProduct_var& product, const CADUnicodeString& name) {
  if (!product) return 0;
  CADUnicodeString oldName = InstanceName(product);
  CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  ZRBPropertyInstance* instance = father ? InstanceFor(father, product, false) : nullptr;
  if (FAILED(product->SetPrdInstanceName(name))) return 0;
  // The instance's properties stay with it under its new name, unless a
  // record of that name exists already.
  if (instance && father && !InstanceFor(father, product, false)) instance->SetChildInstanceName(name);
  return 1;
}

// ---------------------------------------------------------------- files and types

int ZRBPropertyManager::SetFullPath(const CADIProduct_var& product, const CADUnicodeString& fullPath) {
  ZRBPropertyReference* record = ReferenceFor(product, true);
  if (!record) return 0;
  record->SetFullPath(fullPath);
  return 1;
}

CADUnicodeString ZRBPropertyManager::GetFullPath(const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(product, false);
  return record ? record->GetFullPath() : CADUnicodeString();
}

CADUnicodeString ZRBPropertyManager::GetProductFullPath(const CADIProduct_var& product) {
  if (!product) return {};
  if (IsCachedPart(product)) {
    CADUnicodeString stored = GetFullPath(product);
    if (!stored.IsEmpty()) return stored;
  }
  return ProductFile(product);
}

CADUnicodeString ZRBPropertyManager::GetProductType(const CADIProduct_var& product) {
  if (!product) return {};
  if (CADDocument* document = DocumentOf(product)) return document->GetType();
  CADUnicodeString path, format;
  if (SUCCEEDED(product->GetShapeRepresentation("Default", path, format))) return format;
  return {};
}

int ZRBPropertyManager::IsCachedPart(const CADIProduct_var& product) {
  if (!product) {
    ZRB_DEBUG("ZRB: IsCachedPart: Input parameter check failed");
    return 0;
  }
  if (!IsCacheActivationOn() || !product->GetPartNumber().IsEmpty()) return 0;
  CADUnicodeString type;
  if (CADDocument* document = product->GetShapeRepresentationDocument("Default")) {
    type = document->GetType();
  } else {
    CADUnicodeString path;
    if (FAILED(product->GetShapeRepresentation("Default", path, type))) type = CADUnicodeString();
  }
  ZRB_DEBUG("ZRB: Checking '%s'", type.c_str());
  return type == "CADPart" ? 1 : 0;
}

// ---------------------------------------------------------------- user-defined and feature data

int ZRBPropertyManager::StoreUserDefinedPropertiesData(const CADIProduct_var& product, const CADUnicodeString& displays,
                                                       const CADUnicodeString& properties,
                                                       const CADUnicodeString& values,
                                                       const CADUnicodeString& deletions) {
  ZRBPropertyReference* record = ReferenceFor(product, true);
  if (!record) return 0;
  record->Set(Field::UserDefDisplaysList, displays);
  record->Set(Field::UserDefPropertiesList, properties);
  record->Set(Field::UserDefPropValuesList, values);
  record->Set(Field::UserDefPropDelList, deletions);
  return 1;
}

CADUnicodeString ZRBPropertyManager::GetUserDefinedDisplayData(const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(product, true);
  return record ? record->Get(Field::UserDefDisplaysList) : CADUnicodeString();
}
CADUnicodeString ZRBPropertyManager::GetUserDefinedPropertyData(const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(product, true);
  return record ? record->Get(Field::UserDefPropertiesList) : CADUnicodeString();
}
CADUnicodeString ZRBPropertyManager::GetUserDefinedValueData(const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(product, true);
  return record ? record->Get(Field::UserDefPropValuesList) : CADUnicodeString();
}
CADUnicodeString ZRBPropertyManager::GetUserDefinedDelData(const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(product, true);
  return record ? record->Get(Field::UserDefPropDelList) : CADUnicodeString();
}

int ZRBPropertyManager::StoreFeatureExtensionData(const CADIProduct_var& product, const CADUnicodeString& containerIds,
                                                  const CADUnicodeString& clientIds,
                                                  const CADUnicodeString& featureTypes,
                                                  const CADUnicodeString& featureAttrs,
                                                  const CADUnicodeString& featureValues) {
  ZRBPropertyReference* record = ReferenceFor(product, true);
  if (!record) return 0;
  record->Set(Field::ContainerIdsList, containerIds);
  record->Set(Field::ClientIdsList, clientIds);
  record->Set(Field::FeatureTypesList, featureTypes);
  record->Set(Field::FeatureAttrsList, featureAttrs);
  record->Set(Field::FeatureValuesList, featureValues);
  return 1;
}

// ---------------------------------------------------------------- records of products

ZRBPropertyInstance* ZRBPropertyManager::GetInstanceObject(const CADIProduct_var& parent,
                                                           const CADIProduct_var& child) {
  return InstanceFor(parent, child, false);
}

ZRBPropertyPathToRoot* ZRBPropertyManager::GetPathToRootObject(const CADIProduct_var& product) {
  return store_.FindPathToRoot(PathToRootOf(product));
}

int ZRBPropertyManager::SetReferenceInfoToProduct(const CADIProduct_var& product, ZRBPropertyReference& reference) {
  if (!product) {
    ZRB_DEBUG("ZRB: SetReferenceInfoToProduct: input parameter check failed!");
    return 0;
  }
  CADIProduct_var hostReference = product->GetReferenceProduct();
  CADUnicodeString partNumber = HostPartNumber(product);
  if (!hostReference || partNumber.IsEmpty()) {
    ZRB_DEBUG("ZRB: SetReferenceInfoToProduct: failed to get reference product!");
    return 0;
  }
  ZRBPropertyReference* target = &reference;
  if (!(reference.GetPartNumber() == partNumber)) {
    target = store_.FindReference(partNumber);
    if (!target) {
      // The kept record becomes the product's record.
      reference.SetPartNumber(partNumber);
      target = &reference;
    } else if (target != &reference && !MergeReferences(*target, reference)) {
      return 0;
    }
  }
  CADUnicodeString nomenclature = target->Get(Field::Nomenclature);
  CADUnicodeString revision = target->Get(Field::Revision);
  CADUnicodeString definition = target->Get(Field::Definition);
  CADUnicodeString description = target->Get(Field::Description);
  if (!revision.IsEmpty()) SetRevision(product, revision);
  if (!nomenclature.IsEmpty()) SetNomenclature(product, nomenclature);
  if (!definition.IsEmpty()) SetDefinition(product, definition);
  if (!description.IsEmpty()) SetDescription(product, description);
  target->SetPropertySetFlag(true);
  return 1;
}

// ---------------------------------------------------------------- black boxes and archives

namespace {
bool ListsPath(const CADListValCADUnicodeString& list, const CADUnicodeString& path) {
  for (const auto& entry : list)
    if (ZRBPropertyManagerStore::SamePath(entry, path)) return true;
  return false;
}
}  // namespace

void ZRBPropertyManager::AddBlackBoxRoot(const CADIProduct_var& parent, const CADUnicodeString& rootFullPath) {
  if (ZRBPropertyReference* record = ReferenceFor(parent, true))
    if (!rootFullPath.IsEmpty() && !ListsPath(record->BlackBoxRoots(), rootFullPath))
      record->BlackBoxRoots().Append(rootFullPath);
}

void ZRBPropertyManager::AddBlackBoxItem(const CADIProduct_var& parent, const CADUnicodeString& itemFullPath) {
  if (ZRBPropertyReference* record = ReferenceFor(parent, true))
    if (!itemFullPath.IsEmpty() && !ListsPath(record->BlackBoxItems(), itemFullPath))
      record->BlackBoxItems().Append(itemFullPath);
}

int ZRBPropertyManager::IsBlackBoxRoot(const CADIProduct_var& father, const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(father, false);
  if (!record || record->BlackBoxRoots().Size() == 0) return 0;  // no path needed
  CADUnicodeString path = GetProductFullPath(product);
  return record && !path.IsEmpty() && ListsPath(record->BlackBoxRoots(), path) ? 1 : 0;
}

int ZRBPropertyManager::IsBlackBoxItem(const CADIProduct_var& father, const CADIProduct_var& product, int anyParent) {
  if (!ZRBPropertyReference::AnyBlackBoxItemsPossible()) return 0;  // no list anywhere: no path needed
  CADUnicodeString path = GetProductFullPath(product);
  if (path.IsEmpty()) return 0;
  if (anyParent && IsBlackBoxItem(path)) return 1;
  ZRBPropertyReference* record = ReferenceFor(father, false);
  return record && ListsPath(std::as_const(*record).BlackBoxItems(), path) ? 1 : 0;
}

int ZRBPropertyManager::HasBlackBoxAttached(const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(product, false);
  return record && (record->BlackBoxRoots().Size() > 0 || std::as_const(*record).BlackBoxItems().Size() > 0) ? 1 : 0;
}

CADListValCADUnicodeString ZRBPropertyManager::GetBlackBoxRoots(const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(product, false);
  return record ? record->BlackBoxRoots() : CADListValCADUnicodeString();
}

CADListValCADUnicodeString ZRBPropertyManager::GetBlackBoxItems(const CADIProduct_var& product) {
  ZRBPropertyReference* record = ReferenceFor(product, false);
  return record ? std::as_const(*record).BlackBoxItems() : CADListValCADUnicodeString();
}

void ZRBPropertyManager::RemoveAllBlackBoxRoots(const CADIProduct_var& product) {
  if (ZRBPropertyReference* record = ReferenceFor(product, false)) record->BlackBoxRoots().RemoveAll();
}

void ZRBPropertyManager::RemoveAllBlackBoxItems(const CADIProduct_var& product) {
  if (ZRBPropertyReference* record = ReferenceFor(product, false)) record->BlackBoxItems().RemoveAll();
}

int ZRBPropertyManager::IsArchiveRoot(const CADIProduct_var& product) {
  // Asked several times for every node of a save: without any archive the file path need not be found.
  if (!ZRBPropertyContainer::WasEverSet("ZRB_ARCHIVE_CONTENT_FILE_NAME")) return 0;
  CADUnicodeString path = GetProductFullPath(product);
  return !path.IsEmpty() && !GetFileProperty(path, "ZRB_ARCHIVE_CONTENT_FILE_NAME").IsEmpty() ? 1 : 0;
}

int ZRBPropertyManager::IsNewCatalogPartRoot(const CADIProduct_var& product) {
  if (!product || !g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_CATALOG_SUPPORT", "ON", 1)) return 0;
  const char* configured = g_ZRBConfig.GetEnvVar("ZRB_TYPE_IDENT_ATTRIBUTE_ID", 1);
  const CADUnicodeString name = configured && *configured ? configured : "ZRB_Catalog_Document";
  return GetReferenceProperty(product, name) == "Catalog" && GetReferenceProperty(product, "ZRB_OBID").IsEmpty();
}

int ZRBPropertyManager::IsArchiveContent(const CADIProduct_var& product) {
  return GetReferenceProperty(product, "ZRB_CONTENT_IN_ARC") == "1" ? 1 : 0;
}
