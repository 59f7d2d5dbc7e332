// The state of one node: its bits, their printed form, and whether its document is modified.
#include "ZRBCommandStates.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>

#include "CADAutoProduct.h"
#include "CADDocument.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "CADRawCollPV.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBListText.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

ZRBCommandStates::Hooks& InstalledHooks() {
  static ZRBCommandStates::Hooks hooks;
  return hooks;
}

// The host's own document types are never a site's representation format: the formats are read only for others.
bool IsHostType(const CADUnicodeString& type) {
  return type == "CADPart" || type == "CADProduct" || type == "CADDrawing" || type == "model" || type == "vis";
}

bool IsPartLike(const CADUnicodeString& type) {
  return type == "CADPart" || type == "model" || type == "vis" ||
         (!IsHostType(type) && ZRBInfoUtil::IsRepresentation(type));
}

bool IsRepresentationLike(const CADUnicodeString& type) {
  return type == "model" || type == "vis" || (!IsHostType(type) && ZRBInfoUtil::IsRepresentation(type));
}

// Stored positions parsed once: the same texts come back for every instance of a shared reference.
int ParsedPosition(const CADUnicodeString& text, double coefficients[12]) {
  static std::unordered_map<std::string, std::array<double, 12>> parsed;
  auto found = parsed.find(text.str());
  if (found == parsed.end()) {
    std::array<double, 12> values;
    if (FAILED(ZRBPosMatrixUtil::ConvertToMatrix(text, values.data()))) return 0;
    if (parsed.size() > 100000) parsed.clear();
    found = parsed.emplace(text.str(), values).first;
  }
  std::copy(found->second.begin(), found->second.end(), coefficients);
  return 1;
}

CADDocument* DocumentInSession(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document)) || !document) return nullptr;
  return document->IsInSession() ? document : nullptr;
}

CADUnicodeString Ref(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(product, name);
}

void TraceState(const CADIProduct_var& product, const CADUnicodeString& instanceName, int state) {
  if (!ZRBTrace::IsOn()) return;
  CADString text;
  ZRBCommandStates::StringifyProductState(state, text);
  ZRB_DEBUG("ZRB: PartNumber   - %s", product->GetPartNumber().c_str());
  ZRB_DEBUG("     Instance     - %s", instanceName.c_str());
  ZRB_DEBUG("     ProductState - %s", text.c_str());
}

}  // namespace

void ZRBCommandStates::InstallHooks(const Hooks& hooks) { InstalledHooks() = hooks; }

// ---------------------------------------------------------------- printed form

int ZRBCommandStates::StringifyProductState(int state, CADString& text) {
  if (state == 0) {
    text = "PS_NO_CHANGE";
    return 1;
  }
  static constexpr std::array<const char*, 8> kNames = {
      "PS_ZRB",         "PS_NEW",   "PS_CADPART_DOC_NEEDED", "PS_CHILD_REMOVED",
      "PS_CHILD_ADDED", "PS_DIRTY", "PS_STD_PART",           "PS_CHILD_MATRIX_CHANGED"};
  std::string out = text.str();
  for (std::size_t bit = 0; bit < kNames.size(); ++bit) {
    if (!(state & (1 << bit))) continue;
    if (!out.empty()) out += '|';
    out += kNames[bit];
  }
  text = CADString(std::move(out));
  return 1;
}

// ---------------------------------------------------------------- state of a node

void ZRBCommandStates::GetProductState(const CADIProduct_var& product, int& state) {
  ZRB_TRACE("ZRBCommand::GetProductState");
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return;
  }
  CADUnicodeString instanceName;
  product->GetPrdInstanceName(instanceName);
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(product);
  const int archiveRoot = GlobPropertyManager.IsArchiveRoot(product);
  const CADUnicodeString type =
      archiveRoot ? CADUnicodeString("ZRBArchive") : GlobPropertyManager.GetProductType(product);
  const bool fatherIsWorkbench = father && IsWorkbenchProduct(father);

  // A catalog part not yet in the PDM is new as a whole; its children are the catalog's business.
  if (GlobPropertyManager.IsNewCatalogPartRoot(product)) {
    state = PS_NEW;
    ZRB_DEBUG("Found Catalog Root");
    ZRB_TRACE_OK();
    return;
  }

  // A load-time child that came from the file system, not from the PDM: nothing to save for it.
  if (father && isChildOrigLoadChild(father.get(), product.get()) && !ZRBInfoUtil::WasLoadedFromPdm(product.get())) {
    state = PS_NO_CHANGE;
    TraceState(product, instanceName, state);
    ZRB_TRACE_OK();
    return;
  }
  const int fromPdm = ZRBInfoUtil::IsRefProductFromZRB(product.get());
  const bool blackBox = father && (GlobPropertyManager.IsBlackBoxRoot(father, product) ||
                                   GlobPropertyManager.IsBlackBoxItem(father, product, 1));
  if (!fromPdm && !blackBox && (type == "model" || type == "CADPart") && GlobPropertyManager.IsCachedPart(product)) {
    ZRB_DEBUG("ZRB: Forcing load of CADPart geometry for %s", instanceName.c_str());
    CADIProduct_var(product)->LoadShapeRepresentation("Default");
  }

  const CADUnicodeString inPdm =
      father ? GlobPropertyManager.GetInstanceProperty(father, product, "ZRB_INSTANCE_IN_ZRB") : CADUnicodeString();
  if (!fromPdm && !blackBox && !archiveRoot) {
    if (product->GetPartNumber().IsEmpty()) return;  // no verdict: the caller's value stays
    state = PS_NEW;
    if (product->GetChildrenCount() > 0) state |= PS_CHILD_ADDED;
    if (Ref(product, "ZRB_IS_STD_PART") == "1") state |= PS_STD_PART;
  } else {
    state |= PS_ZRB;
    if (!blackBox) {
      if (father && inPdm != "1") state |= PS_NEW;
      if (!archiveRoot) {
        int count = 0;
        CheckForDeletedProductsAtNode(product.get(), count, nullptr, nullptr);
        if (count > 0) state |= PS_CHILD_REMOVED;
        int added = 0;
        if (!CheckForAddedProductsAtNode(product, added, nullptr, nullptr)) {
          ZRB_DEBUG(" end   ");
          return;
        }
        if (added) state |= PS_CHILD_ADDED;
      }
      // The data-model question may reach the PDM: it is asked last, only when everything else holds.
      if (father && !fatherIsWorkbench && inPdm != "1") {
        if (fromPdm && IsPartLike(type) && Ref(product, "ZRB_ISCOMPONENT") != "1" &&
            !ZRBInfoUtil::IsCmponentDataModelMode())
          state |= PS_CADPART_DOC_NEEDED;
        if (archiveRoot && type == "ZRBArchive") state |= PS_CADPART_DOC_NEEDED;
      }
      if (!(state & PS_NEW) && !fromPdm && !archiveRoot) state |= PS_NEW;
    }
    unsigned char dirty = 0;
    if (!archiveRoot) {
      GetDirtyFlagForProduct(dirty, product.get(), 0, 0);
    } else if (InstalledHooks().isArchiveDirty) {
      const CADUnicodeString contentFile = GlobPropertyManager.GetFileProperty(
          GlobPropertyManager.GetProductFullPath(product), "ZRB_ARCHIVE_CONTENT_FILE_NAME");
      dirty = InstalledHooks().isArchiveDirty(product, contentFile) ? 1 : 0;
    }
    int isComponent = 0;
    const bool componentKnown = SUCCEEDED(ZRBInfoUtil::IsCadComponent(product, &isComponent));
    if (Ref(product, "ZRB_USE_EMBEDDED_PRODUCT") == "1") isComponent = 1;
    if (dirty && !isComponent) state |= PS_DIRTY;
    if (componentKnown && isComponent) {
      CADListValCADBaseUnknown_var moved;
      GetChildNodesWithChangedTrafo(product, &moved, 1);
      if (moved.Size() > 0) state |= PS_CHILD_MATRIX_CHANGED;
    }
    if (Ref(product, "ZRB_IS_STD_PART") == "1") state |= PS_STD_PART;
  }

  if ((state & PS_NEW) && InstalledHooks().resolveMultiQuantityForNewInstance)
    InstalledHooks().resolveMultiQuantityForNewInstance(product);
  if (type != "ZRBArchive") AddDesignTableBits(product, type, state);

  if (IsRepresentationLike(type) && g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_CHECKREPRULE", "ON", 1)) {
    CADListValCADUnicodeString shapes;
    product->GetAllShapesNames(shapes, 0);
    const CADUnicodeString repPath = Ref(product, "ZRB_REPRESENTATIONPATH");
    int samePath = 0;
    if (!repPath.IsEmpty())
      ZRBAfxBase::CompareFullPath(repPath, GlobPropertyManager.GetProductFullPath(product), samePath);
    bool consistent = shapes.Size() == 1 && samePath && ZRBFileUtil::HasExtension(repPath, type);
    if (product->GetChildrenCount() > 0) {
      state = PS_NO_CHANGE;
      consistent = false;
    }
    if (state != PS_NEW && !consistent) state |= PS_REPRESENTATION_INCONSISTENT | PS_DIRTY;
  }
  TraceState(product, instanceName, state);
  ZRB_TRACE_OK();
}

void ZRBCommandStates::AddDesignTableBits(const CADIProduct_var& product, const CADUnicodeString& type, int& state) {
  if ((state & (PS_NEW | PS_DIRTY)) && type == "CADPart") {
    // The tables of a part are listable in design mode only.
    if (CADAutoProduct_var automation{product}) automation->ApplyWorkMode(CADAutoProduct::kDesignMode);
  }
  CADRawCollPV* tables = ZRBDesignTable::GetTables(product, 0);
  if (!tables) return;
  // Items may hold full paths (after a create): the file-name parts are compared, exactly, both ways.
  CADListValCADUnicodeString known;
  for (const CADUnicodeString& item : ZRBListText::Split(Ref(product, "ZRB_DESIGNTABLES").view()))
    known.Append(ZRBFileUtil::GetFileNameFromPath(item));
  CADListValCADUnicodeString present;
  for (int i = 1; i <= tables->Size(); ++i) {
    auto* table = static_cast<ZRBDesignTable*>((*tables)[i]);
    CADUnicodeString path;
    unsigned char exists = 0;
    if (!table || FAILED(table->GetFullPath(path))) continue;
    const CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(path);
    present.Append(name);
    if (SUCCEEDED(table->FileExists(&exists)) && exists && !known.Locate(name)) state |= PS_CHILD_ADDED;
  }
  ZRBDesignTable::DestroyList(tables);
  if (state != PS_ZRB)
    for (const CADUnicodeString& name : known)
      if (!present.Locate(name)) state |= PS_CHILD_REMOVED;
}

// ---------------------------------------------------------------- modified state

void ZRBCommandStates::GetDirtyFlagForProduct(unsigned char& dirty, CADIProduct* product, int ignoreMovedChildren,
                                              int doNotMark) {
  ZRB_TRACE("ZRBCommand::GetDirtyFlagForProduct");
  dirty = 0;
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return;
  }
  CADIProduct_var node(product);
  const CADUnicodeString type = GlobPropertyManager.GetProductType(node);
  const bool standardPart = Ref(node, "ZRB_IS_STD_PART") == "1";
  CADDocument* document = DocumentInSession(node);
  const CADUnicodeString fullPath = GlobPropertyManager.GetProductFullPath(node);

  // 1. A part or product whose file lies outside the exchange map was saved elsewhere: the PDM has not got it.
  if (!standardPart && (type == "CADPart" || type == "CADProduct") && !fullPath.IsEmpty() && document) {
    CADUnicodeString xmap;
    ZRBAfxBase::GetXMap(xmap);
    int inXmap = 0;
    ZRBAfxBase::CompareFullPath(fullPath, ZRBAfxBase::MakePath(xmap, ZRBFileUtil::GetFileNameFromPath(fullPath)),
                                inXmap);
    if (!inXmap) {
      dirty = 1;
      if (!doNotMark) SetDirtyFlagForProduct(1, node);
      ZRB_TRACE_OK();
      return;
    }
  }
  // 2. A representation changed on disk was flagged when it was noticed.
  if (!standardPart && IsRepresentationLike(type) && Ref(node, "ZRB_REPRESENTATION_DIRTY") == "1") {
    dirty = 1;
    ZRB_TRACE_OK();
    return;
  }
  // 3. The file changed outside the session.
  const CADUnicodeString storedPath = GlobPropertyManager.GetFullPath(node);
  const CADUnicodeString path = storedPath.IsEmpty() ? fullPath : storedPath;
  if (!path.IsEmpty() && g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_CHECKMODTIMESTAMP", "ON", 1)) {
    const CADUnicodeString known = GlobPropertyManager.GetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME");
    CADUnicodeString now;
    const bool readable = SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, now));
    if (known.IsEmpty() || (readable && now != known)) {
      if (!document && (type == "CADPart" || type == "model")) {
        node->LoadShapeRepresentation("Default");
        document = DocumentInSession(node);
      }
      dirty = document ? 1 : 0;
      if (dirty && !doNotMark && Ref(node, "ZRB_SENDING_OBJECT").IsEmpty()) SetDirtyFlagForProduct(1, node);
      ZRB_TRACE_OK();
      return;
    }
  }
  // 4. The document says; an unmodified one still counts when a direct child moved. 5. No document: not dirty.
  if (document) {
    dirty = static_cast<unsigned char>(document->IsDirty() & 0xFF);
    if (!dirty && !ignoreMovedChildren) {
      CADListValCADBaseUnknown_var moved;
      GetChildNodesWithChangedTrafo(node, &moved, 1);
      if (moved.Size() > 0) dirty = 1;
    }
  }
  ZRB_TRACE_OK();
}

void ZRBCommandStates::SetDirtyFlagForProduct(const unsigned char& dirty, CADIProduct_var& product) {
  ZRB_TRACE("ZRBCommand::SetDirtyFlagForProduct");
  CADIProduct_var real = product;
  while (real && Ref(real, "ZRB_USE_EMBEDDED_PRODUCT") == "1") real = real->GetFatherProduct();
  if (!real) return;
  CADDocument* document = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(real, &document)) || !document) return;
  document->SetDirty(dirty ? 1 : 0);
  ZRB_TRACE_OK();
}

int ZRBCommandStates::IsRepresentationDirty(CADIProduct_var& product) {
  if (!product) return 0;
  const CADUnicodeString type = GlobPropertyManager.GetProductType(product);
  if (type != "model" && !ZRBInfoUtil::IsRepresentation(type)) return 0;
  const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(product);
  CADUnicodeString now;
  if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, now)) &&
      now != GlobPropertyManager.GetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME"))
    return 1;
  const CADUnicodeString repPath = Ref(product, "ZRB_REPRESENTATIONPATH");
  int same = 0;
  ZRBAfxBase::CompareFullPath(repPath, path, same);
  return !ZRBFileUtil::HasExtension(repPath, type) || !same ? 1 : 0;
}

int ZRBCommandStates::GetChangeableStateOfRealProduct(CADIProduct_var product, int& templateFlag) {
  CADIProduct_var real = product;
  while (real && Ref(real, "ZRB_USE_EMBEDDED_PRODUCT") == "1") real = ZRBPSNTreeUtil::GetFatherProduct(real);
  if (!real) return 0;
  templateFlag = Ref(real, "ZRB_TEMPL_PRODUCT") == "1" ? 1 : 0;
  if (Ref(real, "ZRB_CREATE_PRD_REL") == "0") return 0;
  return Ref(real, "ZRB_PRODUCT_CHANGEABLE") == "0" ? 0 : 1;
}

// ---------------------------------------------------------------- positions

int ZRBCommandStates::ReadPosition(const CADIProduct_var& child, const CADIProduct_var& parent,
                                   double coefficients[12]) {
  CADIMovable_var movable(child);
  CADMathTransformation position;
  if (!movable || !parent || FAILED(movable->GetPosition(position, parent.get()))) return 0;
  position.GetCoef(coefficients);
  return 1;
}

int ZRBCommandStates::IsMoved(const CADUnicodeString& original, const double current[12]) {
  // Equal texts are equal positions: comparing the numbers alone gives the same answer without printing them.
  double stored[12];
  if (!ParsedPosition(original, stored)) {
    ZRB_DEBUG("ZRB: Could not convert Product position to matrix");
    return 0;
  }
  int equal = 0;
  if (FAILED(ZRBPosMatrixUtil::Compare(stored, current, &equal))) {
    ZRB_DEBUG("ZRB: ZRBPosMatrixUtil::Compare failed");
    return 0;
  }
  return equal ? 0 : 1;
}

int ZRBCommandStates::GetChildNodesWithChangedTrafo(const CADIProduct_var& product,
                                                    CADListValCADBaseUnknown_var* children, int stopAtFirst) {
  if (!product || !children) return 0;
  children->RemoveAll();
  for (const CADBaseUnknown_var& item : product->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    const CADUnicodeString original = GlobPropertyManager.GetInstanceProperty(product, child, "ZRB_ORIG_MATRIX");
    if (original.IsEmpty()) continue;
    double current[12];
    if (!ReadPosition(child, product, current)) {
      // Inside the state checks an unreadable position must not stop the save's overview: it counts as still.
      ZRB_DEBUG("ZRB: Could not read Product position");
      continue;
    }
    if (!IsMoved(original, current)) continue;
    children->Append(item);
    if (stopAtFirst) break;
  }
  return 1;
}

bool ZRBCommandStates::IsPartLikeType(const CADUnicodeString& type) { return IsPartLike(type); }
