// Children compared with the record of those a product had at load time, and the record itself.
#include <string>
#include <unordered_map>

#include "CADDocument.h"
#include "ZRBCommandStates.h"
#include "ZRBInfoUtil.h"
#include "ZRBListText.h"
#include "ZRBOrigChildRecord.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

using Record = ZRBOrigChildRecord;

CADUnicodeString InstanceNameOf(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product) product->GetPrdInstanceName(name);
  return name;
}

CADUnicodeString ObidOf(const CADIProduct_var& child) {
  if (GlobPropertyManager.IsArchiveRoot(child))
    return GlobPropertyManager.GetFileProperty(GlobPropertyManager.GetProductFullPath(child), "ZRB_ARCHIVE_OBID");
  return GlobPropertyManager.GetReferenceProperty(child, "ZRB_OBID");
}

std::string Key(const CADUnicodeString& a, const CADUnicodeString& b, const CADUnicodeString& c) {
  std::string key = a.str();
  key += '\0';
  key += b.str();
  key += '\0';
  key += c.str();
  return key;
}

bool SameFileName(const CADUnicodeString& a, const CADUnicodeString& b) {
  auto name = [](const CADUnicodeString& path) {
    const int slash = path.FindLast("/");
    return slash < 0 ? path : path.SubString(slash + 1);
  };
  return name(a) == name(b);
}

// Any index where both the instance name and the part number match (after the list round trip) makes the
// child a load-time child, not only the first one bearing the name.
int MatchesRecord(const Record& record, const CADIProduct_var& child, const CADUnicodeString& partNumber,
                  const CADUnicodeString& instanceName) {
  const std::vector<int>& indexes = record.IndexesOfInstance(instanceName);
  if (indexes.empty()) return 0;
  if (GlobPropertyManager.IsArchiveRoot(child)) return 1;
  const CADUnicodeString number = ZRBListText::RoundTrip(partNumber.view());
  for (int i : indexes) {
    if (record.Get(Record::PartNumbers, i) != number) continue;
    if (GlobPropertyManager.IsCachedPart(child) &&
        !SameFileName(GlobPropertyManager.GetProductFullPath(child), GlobPropertyManager.GetFullPath(child)))
      continue;
    return 1;
  }
  return 0;
}

}  // namespace

int ZRBCommandStates::isChildOrigLoadChild(CADIProduct* parent, CADIProduct* child) {
  if (!parent || !child) {
    ZRB_DEBUG("Child Product or Parent Product is NULL");
    return 0;
  }
  CADIProduct_var node(child);
  return isChildOrigLoadChild(parent, child, GlobPropertyManager.GetPartNumber(node, 0), InstanceNameOf(node));
}

int ZRBCommandStates::isChildOrigLoadChild(CADIProduct* parent, CADIProduct* child, const CADUnicodeString& partNumber,
                                           const CADUnicodeString& instanceName) {
  if (!parent || !child) {
    ZRB_DEBUG("Child Product or Parent Product is NULL");
    return 0;
  }
  auto record = Record::Read(CADIProduct_var(parent));
  return record->IsEmpty() ? 0 : MatchesRecord(*record, CADIProduct_var(child), partNumber, instanceName);
}

int ZRBCommandStates::CheckForDeletedProductsAtNode(CADIProduct* product, int& count,
                                                    CADListValCADUnicodeString* partNumbers,
                                                    CADListValCADUnicodeString* instanceNames) {
  ZRB_TRACE("ZRBCommand::CheckForDeletedProductsAtNode");
  count = 0;
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  CADIProduct_var node(product);
  auto record = Record::Read(node);
  if (record->IsEmpty()) {
    ZRB_TRACE_OK();
    return 1;
  }
  // The current children in the record's form: the same list round trip as the stored items.
  std::unordered_map<std::string, int> present;
  std::unordered_map<std::string, int> presentObids;
  std::unordered_map<std::string, int> presentRelations;
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    const CADUnicodeString obid = ZRBListText::RoundTrip(ObidOf(child).view());
    ++present[Key(obid, ZRBListText::RoundTrip(InstanceNameOf(child).view()),
                  ZRBListText::RoundTrip(GlobPropertyManager.GetPartNumber(child, 0).view()))];
    ++presentObids[obid.str()];
    const CADUnicodeString relation = GlobPropertyManager.GetInstanceProperty(node, child, "ZRB_RELATION");
    if (!relation.IsEmpty()) ++presentRelations[ZRBListText::RoundTrip(relation.view()).str()];
  }
  const bool configurable = ConfigurableNodeBehaviorForStates() != 0;
  std::unordered_map<std::string, int> recordedObids;
  if (configurable)
    for (int i = 1; i <= record->Size(); ++i) ++recordedObids[record->Get(Record::Obids, i).str()];

  for (int i = 1; i <= record->Size(); ++i) {
    const CADUnicodeString& obid = record->Get(Record::Obids, i);
    if (obid.IsEmpty()) continue;
    bool found;
    if (record->Get(Record::ProdTypes, i) == "ZRBArchive") {
      found = true;
    } else if (configurable && recordedObids[obid.str()] > 1) {
      found = presentObids[obid.str()] >= recordedObids[obid.str()];
    } else {
      found = present.count(Key(obid, record->Get(Record::Instances, i), record->Get(Record::PartNumbers, i))) != 0;
    }
    // A renamed instance still holds its relation: the save renames it in the PDM, it does not remove it.
    const CADUnicodeString& relation = record->Get(Record::Rels, i);
    if (!found && !relation.IsEmpty()) found = presentRelations.count(relation.str()) != 0;
    if (found || record->Get(Record::InZrb, i) != "1") continue;
    ++count;
    ZRB_DEBUG("ZRB: Found deleted product: %s", record->Get(Record::Instances, i).c_str());
    if (partNumbers) partNumbers->Append(record->Get(Record::PartNumbers, i));
    if (instanceNames) instanceNames->Append(record->Get(Record::Instances, i));
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBCommandStates::CheckForDeletedProducts(CADIProduct* root, int stopAtFirst,
                                              CADListValCADBaseUnknown_var& products) {
  if (!root) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  CADIProduct_var node(root);
  if (!ZRBInfoUtil::WasLoadedFromPdm(root)) return 1;
  if (GlobPropertyManager.GetReferenceProperty(node, "ZRB_MULTI_EMBEDDED") != "1" &&
      !GlobPropertyManager.IsArchiveRoot(node)) {
    int count = 0;
    if (!CheckForDeletedProductsAtNode(root, count, nullptr, nullptr)) return 0;
    if (count > 0) {
      products.Append(CADBaseUnknown_var(node));
      if (stopAtFirst) return 1;
    }
  }
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child || !ZRBInfoUtil::WasLoadedFromPdm(child.get())) continue;
    if (!CheckForDeletedProducts(child.get(), stopAtFirst, products)) return 0;
    if (stopAtFirst && products.Size() > 0) return 1;
  }
  return 1;
}

int ZRBCommandStates::CheckForAddedProductsAtNode(const CADIProduct_var& product, int& added,
                                                  CADListValCADUnicodeString* instanceNames,
                                                  CADListValCADUnicodeString* partNumbers) {
  added = 0;
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  auto record = Record::Read(product);
  if (record->IsUnusable()) return 1;
  for (const CADBaseUnknown_var& item : product->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    int component = 0;
    ZRBInfoUtil::IsCadComponent(child, &component);
    if (!component && GlobPropertyManager.GetProductType(child).IsEmpty()) continue;
    CADUnicodeString name;
    if (FAILED(child->GetPrdInstanceName(name))) continue;
    const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(child, 0);
    if (GlobPropertyManager.IsBlackBoxItem(product, child, 0)) continue;
    if (!record->IsEmpty() && MatchesRecord(*record, child, partNumber, name)) continue;
    if (GlobPropertyManager.IsArchiveRoot(child) &&
        GlobPropertyManager.GetInstanceProperty(product, child, "ZRB_INSTANCE_IN_ZRB") == "1")
      continue;
    added = 1;
    ZRB_DEBUG("ZRB: Found added product: %s", name.c_str());
    if (instanceNames) instanceNames->Append(name);
    if (partNumbers) partNumbers->Append(partNumber);
  }
  return 1;
}

int ZRBCommandStates::GetNewChildNodes(const CADIProduct_var& product, CADListValCADBaseUnknown_var* children,
                                       int stopAtFirst) {
  if (!product || !children) return 0;
  auto record = Record::Read(product);
  if (record->IsUnusable()) return 1;
  for (const CADBaseUnknown_var& item : product->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    bool known = false;
    if (!record->IsEmpty()) {
      const CADUnicodeString number = ZRBListText::RoundTrip(GlobPropertyManager.GetPartNumber(child, 0).view());
      const CADUnicodeString obid = ZRBListText::RoundTrip(ObidOf(child).view());
      for (int i : record->IndexesOfInstance(InstanceNameOf(child)))
        known = known || (record->Get(Record::PartNumbers, i) == number && record->Get(Record::Obids, i) == obid);
    }
    // Nothing recorded: an instance the PDM has is not new.
    if (!known && record->IsEmpty())
      known = GlobPropertyManager.GetInstanceProperty(product, child, "ZRB_INSTANCE_IN_ZRB") == "1";
    if (known) continue;
    children->Append(item);
    if (stopAtFirst) break;
  }
  return 1;
}

int ZRBCommandStates::CheckForReplacedProducts(CADIProduct* product, int& replaced) {
  replaced = 0;
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  ZRBNodeList nodes;
  ZRBPSNTreeUtil::GetAllZRBChildren(CADIProduct_var(product), nodes, 0);
  for (const CADBaseUnknown_var& item : nodes) {
    CADIProduct_var node(item);
    CADIProduct_var father = node ? ZRBPSNTreeUtil::GetFatherProduct(node) : CADIProduct_var();
    if (father && GlobPropertyManager.GetInstanceProperty(father, node, "ZRB_REPLACED_COMPONENT") == "1") {
      replaced = 1;
      break;
    }
  }
  return 1;
}

// ---------------------------------------------------------------- writing the record

int ZRBCommandStates::SetOrigChildsToProp(CADIProduct* product) {
  ZRB_TRACE("ZRBCommand::SetOrigChildsToProp");
  if (!product) {
    ZRB_DEBUG("Product is NULL");
    return 0;
  }
  CADIProduct_var node(product);
  CADListValCADUnicodeString names, values;
  GlobPropertyManager.GetAllReferenceProperties(node, names, values);
  for (const CADUnicodeString& name : names) {
    if (!name.StartsWith(Record::kPrefix)) continue;
    ZRB_DEBUG("ZRB: removing ZRB attribute: '%s'", name.c_str());
    GlobPropertyManager.DeleteReferenceProperty(node, name);
  }
  std::array<std::string, Record::kFieldCount> texts;
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    const Record::Items items = Record::ItemsOf(node, child);
    for (int f = 0; f < Record::kFieldCount; ++f) texts[f] += ZRBListText::Item(items[f].view()).str();
  }
  // Removed children to be restored stay recorded as they were.
  for (int f = 0; f < Record::kFieldCount; ++f) {
    const CADUnicodeString restore = GlobPropertyManager.GetReferenceProperty(node, Record::kRestoreNames[f]);
    if (!restore.IsEmpty()) texts[f] += ZRBListText::Join(ZRBListText::Split(restore.view())).str();
  }
  if (!texts[Record::Instances].empty())
    for (int f = 0; f < Record::kFieldCount; ++f)
      GlobPropertyManager.SetReferenceProperty(node, Record::kNames[f], CADUnicodeString(texts[f]));
  ZRB_TRACE_OK();
  return 1;
}

int ZRBCommandStates::SetOrigChildsToProp(CADDocument* document) {
  if (!document) return 0;
  // A process document's products are those it links.
  for (CADDocument* linked : document->GetPointedDocuments())
    if (CADIProduct_var root = linked ? linked->GetRootProduct() : CADIProduct_var()) SetOrigChildsToProp(root.get());
  return 1;
}

int ZRBCommandStates::SetOrigChilds(CADIProduct* root, const CADUnicodeString& unused, const int& unused2) {
  if (!root) {
    ZRB_DEBUG("ZRB: Root Product is NULL");
    return 0;
  }
  CADIProduct_var node(root);
  const bool workbench = IsWorkbenchProduct(node);
  if (workbench || ZRBInfoUtil::WasLoadedFromPdm(root)) SetOrigChildsToProp(root);
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    if (workbench && !ZRBInfoUtil::WasLoadedFromPdm(child.get())) {
      ZRB_DEBUG("ZRB: Ignoring non-ZRB tree attached to virtual root");
      continue;
    }
    SetOrigChilds(child.get(), unused, unused2);
  }
  return 1;
}

int ZRBCommandStates::AddOrigChildToProp(const CADIProduct_var& parent, const CADIProduct_var& child) {
  if (!parent) {
    ZRB_DEBUG("Product is NULL");
    return 0;
  }
  if (!child || isChildOrigLoadChild(parent.get(), child.get())) return 1;
  // The lists grow together or not at all: a record already unusable is not extended.
  auto record = Record::Read(parent);
  if (record->IsEmpty() && !GlobPropertyManager.GetReferenceProperty(parent, Record::kNames[0]).IsEmpty()) return 0;
  const Record::Items items = Record::ItemsOf(parent, child);
  for (int f = 0; f < Record::kFieldCount; ++f) {
    CADUnicodeString text = GlobPropertyManager.GetReferenceProperty(parent, Record::kNames[f]);
    text += ZRBListText::Item(items[f].view()).view();
    GlobPropertyManager.SetReferenceProperty(parent, Record::kNames[f], text);
  }
  return 1;
}
