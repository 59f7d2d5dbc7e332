#include "CADDocument.h"

#include <algorithm>

#include "CADDesignTableObject.h"
#include "CADDocumentFormat.h"
#include "CADDocumentSession.h"
#include "CADDocumentState.h"
#include "CADProductNode.h"

CADDocument::CADDocument(const CADUnicodeString& type, const CADUnicodeString& storageName)
    : state_(std::make_unique<CADDocumentState>()) {
  state_->type = type;
  state_->storageName = storageName;
}

CADDocument::~CADDocument() {
  // Whatever still points at this document's products or tables must not
  // reach a destroyed document.
  CADDocumentSession::Get().ReleaseContent(this);
}

// Identity ---------------------------------------------------------------------

const CADUnicodeString& CADDocument::StorageName() const { return state_->storageName; }

CADUnicodeString CADDocument::GetDisplayName() const {
  const CADUnicodeString& path = state_->storageName;
  int slash = path.FindLast("/");
  return slash < 0 ? path : path.SubString(slash + 1);
}

HRESULT CADDocument::GetDocId(CADDocId& id) const {
  id = CADDocId(state_->type);
  return state_->type.IsEmpty() ? E_FAIL : S_OK;
}

const CADUnicodeString& CADDocument::GetType() const { return state_->type; }

// State ------------------------------------------------------------------------

unsigned int CADDocument::IsDirty() const { return state_->dirty ? 1u : 0u; }
void CADDocument::SetDirty(int dirty) { state_->dirty = dirty != 0; }
int CADDocument::IsReadOnly() const { return state_->readOnly ? 1 : 0; }
void CADDocument::SetReadOnly(int readOnly) { state_->readOnly = readOnly != 0; }
int CADDocument::IsInSession() const { return state_->inSession ? 1 : 0; }
int CADDocument::IsUpToDate() const { return state_->upToDate ? 1 : 0; }
void CADDocument::SetUpToDate(int upToDate) { state_->upToDate = upToDate != 0; }

// Roots ------------------------------------------------------------------------

CADListValCADBaseUnknown_var CADDocument::GiveDocRoots() const {
  CADListValCADBaseUnknown_var roots;
  if (state_->root) roots.Append(CADBaseUnknown_var(state_->root.get()));
  return roots;
}

CADIProduct_var CADDocument::GetRootProduct() const { return CADIProduct_var(state_->root.get()); }

// Applicative containers ---------------------------------------------------------

CADListValCADUnicodeString CADDocument::GetApplicativeContainerNames() const {
  CADListValCADUnicodeString names;
  for (const auto& c : state_->containers) names.Append(c);
  return names;
}

HRESULT CADDocument::AddApplicativeContainer(const CADUnicodeString& name) {
  auto& c = state_->containers;
  if (!state_->root || name.IsEmpty() || std::find(c.begin(), c.end(), name) != c.end()) return E_FAIL;
  c.push_back(name);
  SetDirty(1);
  return S_OK;
}

HRESULT CADDocument::RemoveApplicativeContainer(const CADUnicodeString& name) {
  auto& c = state_->containers;
  auto it = std::find(c.begin(), c.end(), name);
  if (it == c.end()) return E_FAIL;
  c.erase(it);
  std::erase_if(state_->features, [&](const CADAppFeatureEntry& f) { return f.container == name; });
  SetDirty(1);
  return S_OK;
}

HRESULT CADDocument::GetApplicativeFeatures(const CADUnicodeString& container, const CADUnicodeString& client,
                                            std::vector<CADAppFeature*>& features) const {
  features.clear();
  const auto& c = state_->containers;
  if (std::find(c.begin(), c.end(), container) == c.end()) return E_FAIL;
  for (const CADAppFeatureEntry& f : state_->features)
    if (f.container == container && f.client == client) features.push_back(f.feature.get());
  return S_OK;
}

CADAppFeature* CADDocument::AddApplicativeFeature(const CADUnicodeString& container, const CADUnicodeString& client,
                                                  const CADUnicodeString& specType) {
  const auto& c = state_->containers;
  if (std::find(c.begin(), c.end(), container) == c.end()) return nullptr;
  state_->features.push_back(CADAppFeatureEntry{container, client, std::make_unique<CADAppFeature>(specType)});
  return state_->features.back().feature.get();
}

// Geometry ---------------------------------------------------------------------

const std::vector<CADGeometryBody>& CADDocument::GetBodies() const { return state_->bodies; }

void CADDocument::SetBodies(std::vector<CADGeometryBody> bodies) {
  state_->bodies = std::move(bodies);
  ++state_->geometryVersion;
  SetDirty(1);
}

unsigned long CADDocument::GetGeometryVersion() const { return state_->geometryVersion; }

CADMathBox CADDocument::GetBoundingBox(bool includeHidden) const {
  CADMathBox box;
  for (const CADGeometryBody& b : state_->bodies)
    if (includeHidden || !b.hidden) box.AddInPlace(b.GetBoundingBox());
  return box;
}

// Linked documents -----------------------------------------------------------------

std::vector<CADDocument*> CADDocument::GetPointedDocuments() const {
  std::vector<CADDocument*> out;
  auto add = [&](CADDocument* d) {
    if (d && d != this && std::find(out.begin(), out.end(), d) == out.end()) out.push_back(d);
  };
  auto fromReference = [&](const CADVar<CADProductNode>& ref) {
    if (!ref) return;
    for (const auto& rec : ref->RefState().records) add(rec->reference->RefState().document);
  };
  fromReference(state_->root);
  for (const auto& c : state_->components) fromReference(c);
  CADDocumentSession& session = CADDocumentSession::Get();
  for (const auto& sheet : state_->sheets)
    for (const auto& view : sheet.views) add(session.FindBySerial(view.shown.serial));
  for (const auto& link : state_->links) add(session.FindBySerial(link.serial));
  return out;
}

HRESULT CADDocument::AddLink(CADDocument* target) {
  if (CADDocumentFormat::KindOf(state_->type) != CADDocumentFormat::Kind::kLinks) return E_FAIL;
  if (!target || !target->IsInSession() || target == this) return E_FAIL;
  state_->links.push_back({target->StorageName(), target->StorageName(), target->State().serial});
  SetDirty(1);
  return S_OK;
}

HRESULT CADDocument::GetProperty(const CADUnicodeString& key, CADUnicodeString& value) const {
  for (const auto& [k, v] : state_->properties)
    if (k == key) {
      value = v;
      return S_OK;
    }
  return E_FAIL;
}

HRESULT CADDocument::SetProperty(const CADUnicodeString& key, const CADUnicodeString& value) {
  if (CADDocumentFormat::KindOf(state_->type) != CADDocumentFormat::Kind::kLinks || key.IsEmpty()) return E_FAIL;
  for (auto& [k, v] : state_->properties)
    if (k == key) {
      if (v != value) {
        v = value;
        SetDirty(1);
      }
      return S_OK;
    }
  state_->properties.emplace_back(key, value);
  SetDirty(1);
  return S_OK;
}

HRESULT CADDocument::QueryInterface(const CADIID& iid, void** out) {
  return CADQueryInterfaceHelper<CADDocument, CADIPersistent, CADIDocRoots, CADBaseUnknown>(this, iid, out);
}
