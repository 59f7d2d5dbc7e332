// Whole-structure checks, finders of the session, parent information for the attribute interface and the
// workbench product.
#include <set>
#include <tuple>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "ZRBCommandStates.h"
#include "ZRBInfoUtil.h"
#include "ZRBListText.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr const char* kWorkbench = "ZRB_Workbench";

CADUnicodeString InstanceNameOf(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product) product->GetPrdInstanceName(name);
  return name;
}

bool IsPartLike(const CADUnicodeString& type) {
  return type == "CADPart" || type == "model" || type == "vis" || ZRBInfoUtil::IsRepresentation(type);
}

int ReadPositionOf(const CADIProduct_var& child, const CADIProduct_var& parent, double coefficients[12]) {
  CADIMovable_var movable(child);
  CADMathTransformation position;
  if (!movable || FAILED(movable->GetPosition(position, parent.get()))) return 0;
  position.GetCoef(coefficients);
  return 1;
}

// The three parallel lists of parent identities, or nothing when they do not run parallel.
struct ParentInfo {
  CADListValCADUnicodeString obids, dbNames, classNames;
  bool Aligned() const { return obids.Size() == dbNames.Size() && obids.Size() == classNames.Size(); }
};

ParentInfo SplitParentInfo(const CADUnicodeString& obids, const CADUnicodeString& dbNames,
                           const CADUnicodeString& classNames) {
  return ParentInfo{ZRBListText::Split(obids.view()), ZRBListText::Split(dbNames.view()),
                    ZRBListText::Split(classNames.view())};
}

int AppendParentInfo(const ParentInfo& info, CADListValCADUnicodeString& obids, CADListValCADUnicodeString& dbNames,
                     CADListValCADUnicodeString& classNames) {
  if (!info.Aligned() || info.obids.Size() < 1) return 0;
  obids.Append(info.obids);
  dbNames.Append(info.dbNames);
  classNames.Append(info.classNames);
  return 1;
}

// Appends the identity when it is complete and new; `get` and `set` reach the three stored lists.
template <class Get, class Set>
int StoreParentInfo(Get get, Set set, const CADUnicodeString& obid, const CADUnicodeString& dbName,
                    const CADUnicodeString& className) {
  if (obid.IsEmpty() || dbName.IsEmpty() || className.IsEmpty()) return 0;
  ParentInfo info = SplitParentInfo(get("ZRB_P_OBID"), get("ZRB_P_DB_NAME"), get("ZRB_P_CLASSNAME"));
  if (!info.Aligned() || info.obids.Locate(ZRBListText::RoundTrip(obid.view()))) return 0;
  info.obids.Append(obid);
  info.dbNames.Append(dbName);
  info.classNames.Append(className);
  set("ZRB_P_OBID", ZRBListText::Join(info.obids));
  set("ZRB_P_DB_NAME", ZRBListText::Join(info.dbNames));
  set("ZRB_P_CLASSNAME", ZRBListText::Join(info.classNames));
  return 1;
}

}  // namespace

// ---------------------------------------------------------------- whole-structure checks

int ZRBCommandStates::GetPartNumbersFromStructure(CADIProduct_var& product, CADListValCADUnicodeString& partNumbers,
                                                  int unused, CADListValCADBaseUnknown_var* products) {
  if (!product) {
    ZRB_DEBUG("Input parameter pProduct is NULL ");
    return 0;
  }
  for (const CADBaseUnknown_var& item : product->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    child->LoadShapeRepresentation("Default");
    const bool skip = IsWorkbenchProduct(child) || GlobPropertyManager.IsBlackBoxItem(product, child, 1) ||
                      GlobPropertyManager.IsArchiveContent(child);
    if (!skip && ZRBInfoUtil::WasLoadedFromPdm(child.get())) {
      const CADUnicodeString number = GlobPropertyManager.GetPartNumber(child, 0);
      if (!partNumbers.Locate(number)) partNumbers.Append(number);
      if (products) products->Append(item);
    }
    if (!skip) GetPartNumbersFromStructure(child, partNumbers, unused, products);
  }
  return 1;
}

int ZRBCommandStates::CheckForUnreconciledProduct(CADIProduct* product, CADListValCADUnicodeString& relations,
                                                  CADListValCADUnicodeString& matrices,
                                                  CADUnicodeString& usActPartNumber, CADUnicodeString& usActInstName,
                                                  int& found) {
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  CADIProduct_var node(product);
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    const CADUnicodeString relation = GlobPropertyManager.GetInstanceProperty(node, child, "ZRB_RELATION");
    if (relation.IsEmpty()) continue;
    const int at = relations.Locate(relation);
    if (!at || at > matrices.Size()) continue;
    double position[12];
    if (!ReadPositionOf(child, node, position)) {
      ZRB_DEBUG("ZRB: Could not read Product position");
      return 0;
    }
    CADUnicodeString text;
    ZRBPosMatrixUtil::ConvertToString(position, text);
    if (text == matrices[at]) continue;
    usActInstName = InstanceNameOf(child);
    usActPartNumber = GlobPropertyManager.GetPartNumber(child, 0);
    ZRBPSNTreeUtil::SelectInstanceInActWindowWOEmpty(usActInstName, 1);
    found = 1;
  }
  return 1;
}

int ZRBCommandStates::CheckForInvalidPosOfProduct(CADIProduct* product, CADListValCADUnicodeString& parentPartNumbers,
                                                  CADListValCADUnicodeString& childPartNumbers,
                                                  CADListValCADUnicodeString& instanceNames, int& found) {
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  CADIProduct_var node(product);
  const CADUnicodeString parentNumber = GlobPropertyManager.GetPartNumber(node, 0);
  static const double* identity = [] {
    static double values[12];
    ZRBPosMatrixUtil::ConvertToMatrix(ZRBPosMatrixUtil::kIdentityText, values);
    return values;
  }();
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child || !GlobPropertyManager.GetReferenceProperty(child, "ZRB_SENDING_OBJECT").IsEmpty()) continue;
    if (IsPartLike(GlobPropertyManager.GetProductType(child)) &&
        GlobPropertyManager.GetInstanceProperty(node, child, "ZRB_RELATION").IsEmpty()) {
      double position[12];
      if (!ReadPositionOf(child, node, position)) {
        ZRB_DEBUG("ZRB: Could not read Product position");
        return 0;
      }
      int equal = 0;
      ZRBPosMatrixUtil::Compare(position, identity, &equal);
      if (!equal) {
        const CADUnicodeString childNumber = GlobPropertyManager.GetPartNumber(child, 0);
        const CADUnicodeString name = InstanceNameOf(child);
        bool listed = false;
        for (int i = 1; i <= instanceNames.Size() && !listed; ++i)
          listed =
              parentPartNumbers[i] == parentNumber && childPartNumbers[i] == childNumber && instanceNames[i] == name;
        if (!listed) {
          parentPartNumbers.Append(parentNumber);
          childPartNumbers.Append(childNumber);
          instanceNames.Append(name);
        }
        found = 1;
      }
    }
  }
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child || GlobPropertyManager.IsArchiveRoot(child)) continue;
    if (!CheckForInvalidPosOfProduct(child.get(), parentPartNumbers, childPartNumbers, instanceNames, found)) return 0;
  }
  return 1;
}

int ZRBCommandStates::MarkStandardPartInStructure(CADIProduct_var& product,
                                                  CADListValCADUnicodeString& standardPartNumbers,
                                                  CADListValCADUnicodeString& classNames,
                                                  CADListValCADUnicodeString& obids) {
  if (!product) {
    ZRB_DEBUG("Input parameter pProduct is NULL ");
    return 0;
  }
  for (const CADBaseUnknown_var& item : product->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    const int at = standardPartNumbers.Locate(GlobPropertyManager.GetPartNumber(child, 0));
    if (at) {
      GlobPropertyManager.SetReferenceProperty(child, "ZRB_IS_STD_PART", "1");
      if (at <= classNames.Size()) GlobPropertyManager.SetReferenceProperty(child, "ZRB_CLASSNAME", classNames[at]);
      if (at <= obids.Size()) GlobPropertyManager.SetReferenceProperty(child, "ZRB_OBID", obids[at]);
    }
    MarkStandardPartInStructure(child, standardPartNumbers, classNames, obids);
  }
  return 1;
}

int ZRBCommandStates::GetDuplicateInstanceNames(const CADListValCADBaseUnknown_var* products,
                                                CADListValCADUnicodeString* names) {
  if (!products || !names) return 0;
  names->RemoveAll();
  std::set<std::string> seen, reported;
  for (const CADBaseUnknown_var& item : *products) {
    const CADUnicodeString name = InstanceNameOf(CADIProduct_var(item));
    if (!seen.insert(name.str()).second && reported.insert(name.str()).second) names->Append(name);
  }
  return 1;
}

int ZRBCommandStates::SetIgnoreChildrenWithPartNumber(CADIProduct_var& parent, CADUnicodeString& partNumber,
                                                      int /*unused*/) {
  if (!parent) return 0;
  ZRB_DEBUG("SetIgnoreChildrenWithPartNumber %s, number of children:%d", partNumber.c_str(),
            parent->GetChildrenCount());
  CADUnicodeString text = GlobPropertyManager.GetReferenceProperty(parent, "ZRB_IGNORE_CHILD_WITH_PARTNUMBER");
  text += ZRBListText::Item(partNumber.view()).view();
  ZRB_DEBUG("NewPropertyString:%s", text.c_str());
  GlobPropertyManager.SetReferenceProperty(parent, "ZRB_IGNORE_CHILD_WITH_PARTNUMBER", text);
  return 1;
}

int ZRBCommandStates::DoIgnoreChildWithPartNumber(const CADIProduct_var& child) {
  CADIProduct_var father = child ? ZRBPSNTreeUtil::GetFatherProduct(child) : CADIProduct_var();
  if (!father) return 0;
  const CADUnicodeString old = GlobPropertyManager.GetReferenceProperty(father, "ZRB_IGNORE_CHILD_WITH_PARTNUMBER");
  const CADUnicodeString number = GlobPropertyManager.GetPartNumber(child, 0);
  ZRB_DEBUG("DoIgnoreChildWithPartNumber %s", number.c_str());
  ZRB_DEBUG("OldPropertyString:%s", old.c_str());
  CADListValCADUnicodeString items = ZRBListText::Split(old.view());
  const int at = items.Locate(ZRBListText::RoundTrip(number.view()));
  if (!at) return 0;
  items.RemovePosition(at);
  GlobPropertyManager.SetReferenceProperty(father, "ZRB_IGNORE_CHILD_WITH_PARTNUMBER", ZRBListText::Join(items));
  return 1;
}

// ---------------------------------------------------------------- finders

CADIProduct_var ZRBCommandStates::FindZRBProductInSession(const CADUnicodeString& partNumber, CADUnicodeString& obid,
                                                          int& flag) {
  flag = 0;
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(item);
    CADIProduct_var root = document ? document->GetRootProduct() : CADIProduct_var();
    if (!root || root->GetFatherProduct()) continue;
    ZRBNodeList nodes;
    nodes.Append(CADBaseUnknown_var(root));
    ZRBPSNTreeUtil::GetAllChildren(root, nodes, 0);
    for (const CADBaseUnknown_var& node : nodes) {
      CADIProduct_var product(node);
      if (!product || GlobPropertyManager.GetPartNumber(product, 0) != partNumber) continue;
      const CADUnicodeString id = GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID");
      if (id.IsEmpty() || (product != root && !ZRBInfoUtil::IsProductInstanceFromZRB(product.get()))) continue;
      obid = id;
      ZRB_DEBUG("ZRB: found ZRB Object: OBID:'%s' PartNumber: '%s'", obid.c_str(), partNumber.c_str());
      flag = GlobPropertyManager.GetPathToRootProperty(product, "ZRB_UPDATE_NEW_PART") == "1" ? 1 : 0;
      return product;
    }
  }
  return nullptr;
}

int ZRBCommandStates::PartIsUsedInPdm(CADIProduct* product, CADUnicodeString& obid, int& flag) {
  if (!product) return 0;
  return FindZRBProductInSession(GlobPropertyManager.GetPartNumber(CADIProduct_var(product), 0), obid, flag) ? 1 : 0;
}

CADIProduct_var ZRBCommandStates::FindTopLevelProduct(const CADUnicodeString& partNumber) {
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList()) {
    CADDocument* document = window ? window->GetDocument() : nullptr;
    CADIProduct_var root = document ? document->GetRootProduct() : CADIProduct_var();
    if (root && root->GetPartNumber() == partNumber) return root;
  }
  return nullptr;
}

int ZRBCommandStates::GetProductFromDocument(CADDocument* document, CADIProduct*& product) {
  product = nullptr;
  if (!document) {
    ZRB_DEBUG("The Document Pointer is NULL");
    return 0;
  }
  CADIProduct_var root = document->GetRootProduct();
  product = root.get();
  return product ? 1 : 0;
}

CADIProduct_var ZRBCommandStates::GetRealParent(const CADIProduct_var& product) {
  CADIProduct_var real = product;
  while (real && GlobPropertyManager.GetReferenceProperty(real, "ZRB_USE_EMBEDDED_PRODUCT") == "1")
    real = ZRBPSNTreeUtil::GetFatherProduct(real);
  return real;
}

// ---------------------------------------------------------------- parent information

int ZRBCommandStates::StoreParentInfoForAttrApi(const CADIProduct_var& product, const CADUnicodeString& obid,
                                                const CADUnicodeString& dbName, const CADUnicodeString& className) {
  if (!product) return 0;
  return StoreParentInfo([&](const char* name) { return GlobPropertyManager.GetReferenceProperty(product, name); },
                         [&](const char* name, const CADUnicodeString& value) {
                           GlobPropertyManager.SetReferenceProperty(product, name, value);
                         },
                         obid, dbName, className);
}

int ZRBCommandStates::StoreParentInfoForAttrApi(const CADIProduct_var& product, const CADDocument* document,
                                                const CADUnicodeString& obid, const CADUnicodeString& dbName,
                                                const CADUnicodeString& className) {
  if (product) return StoreParentInfoForAttrApi(product, obid, dbName, className);
  if (!document) return 0;
  const CADUnicodeString file = document->StorageName();
  return StoreParentInfo(
      [&](const char* name) { return GlobPropertyManager.GetFileProperty(file, name); },
      [&](const char* name, const CADUnicodeString& value) { GlobPropertyManager.SetFileProperty(file, name, value); },
      obid, dbName, className);
}

int ZRBCommandStates::GetParentInfoForAttrApi(const CADIProduct_var& product, CADListValCADUnicodeString& obids,
                                              CADListValCADUnicodeString& dbNames,
                                              CADListValCADUnicodeString& classNames) {
  if (!product) return 0;
  auto get = [&](const char* name) { return GlobPropertyManager.GetReferenceProperty(product, name); };
  return AppendParentInfo(SplitParentInfo(get("ZRB_P_OBID"), get("ZRB_P_DB_NAME"), get("ZRB_P_CLASSNAME")), obids,
                          dbNames, classNames);
}

int ZRBCommandStates::GetParentInfoForAttrApi(const CADDocument* document, CADListValCADUnicodeString& obids,
                                              CADListValCADUnicodeString& dbNames,
                                              CADListValCADUnicodeString& classNames) {
  if (!document) return 0;
  const CADUnicodeString file = document->StorageName();
  auto get = [&](const char* name) { return GlobPropertyManager.GetFileProperty(file, name); };
  return AppendParentInfo(SplitParentInfo(get("ZRB_P_OBID"), get("ZRB_P_DB_NAME"), get("ZRB_P_CLASSNAME")), obids,
                          dbNames, classNames);
}

// ---------------------------------------------------------------- the workbench product

int ZRBCommandStates::GetWorkbenchProduct(CADIProduct_var& product) {
  product = FindTopLevelProduct(kWorkbench);
  return product ? 1 : 0;
}

int ZRBCommandStates::IsWorkbenchProduct(const CADUnicodeString& partNumber) { return partNumber == kWorkbench; }

int ZRBCommandStates::IsWorkbenchProduct(const CADIProduct_var& product) {
  return product && product->GetPartNumber() == kWorkbench ? 1 : 0;
}

CADUnicodeString ZRBCommandStates::GetWorkbenchProductPartNumber() { return kWorkbench; }

int ZRBCommandStates::SetZRBWorkbenchName(CADIProduct_var& product) {
  if (!product) return 0;
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_ORIGINAL_PN_ZRB_WB", product->GetPartNumber());
  if (!GlobPropertyManager.SetPartNumber(product, kWorkbench, 0, 1)) {
    ZRB_DEBUG("ZRB: GlobPropertyManager.SetPartNumber failed");
    return 0;
  }
  return 1;
}

int ZRBCommandStates::RenameZRBWorkbenchToNonWB() {
  static int renamed = 0;
  // Each top-level workbench once: a rename the host refuses would otherwise find the same product forever.
  CADListValCADBaseUnknown_var handled;
  while (CADIProduct_var product = FindTopLevelProduct(kWorkbench)) {
    if (handled.Locate(CADBaseUnknown_var(product))) {
      ZRB_DEBUG("ZRB: workbench product kept its name; renaming stopped");
      return 0;
    }
    handled.Append(CADBaseUnknown_var(product));
    const CADUnicodeString original = GlobPropertyManager.GetReferenceProperty(product, "ZRB_ORIGINAL_PN_ZRB_WB");
    const CADUnicodeString target =
        original.IsEmpty() ? CADUnicodeString::BuildFromNum("ZRB_RENAMED_%d", ++renamed) : original;
    if (!GlobPropertyManager.SetPartNumber(product, target, 0, 1)) {
      ZRB_DEBUG("ZRB: GlobPropertyManager.SetPartNumber failed");
      return 0;
    }
    GlobPropertyManager.DeleteReferenceProperty(product, "ZRB_ORIGINAL_PN_ZRB_WB");
    GlobPropertyManager.DeleteAllReferencePropsForReference(CADUnicodeString(kWorkbench));
  }
  return 1;
}
