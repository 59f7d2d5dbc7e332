#include "CADProductNode.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "CADDesignTableObject.h"
#include "CADDocument.h"
#include "CADDocumentFormat.h"
#include "CADDocumentLoader.h"
#include "CADDocumentServices.h"
#include "CADDocumentSession.h"
#include "CADDocumentState.h"

namespace {
CADDocumentSession& Session() { return CADDocumentSession::Get(); }
const char* const kParameterInfix = "\\Properties\\";
}  // namespace

// Lifecycle --------------------------------------------------------------------

CADProductNode::CADProductNode(bool isReference) : isReference_(isReference) {}

CADProductNode::~CADProductNode() {
  for (const auto& child : children_) child->father_ = nullptr;
  if (ref_) {
    for (const auto& t : ref_->tables) t->Detach();
    if (!ref_->loaded) Session().ForgetUnloaded(this);
  }
}

CADVar<CADProductNode> CADProductNode::NewReference(CADDocument* document) {
  auto node = CADVar<CADProductNode>::Adopt(new CADProductNode(true));
  node->ref_ = std::make_unique<CADReferenceState>();
  node->ref_->document = document;
  return node;
}

CADVar<CADProductNode> CADProductNode::NewUnloaded(const CADUnicodeString& path) {
  auto node = CADVar<CADProductNode>::Adopt(new CADProductNode(true));
  node->ref_ = std::make_unique<CADReferenceState>();
  node->ref_->loaded = false;
  node->ref_->linkPath = path;
  node->ref_->workMode = CADAutoProduct::kVisualizationMode;
  return node;
}

void CADProductNode::Unload(const CADUnicodeString& path) {
  if (!ref_) return;
  CADReferenceState& r = *ref_;
  for (const auto& rec : r.records) rec->removed = true;
  for (const auto& t : r.tables) t->Detach();
  const bool embedded = r.embedded;
  const unsigned long revision = r.recordsRevision + 1;
  r = CADReferenceState();
  r.recordsRevision = revision;
  r.loaded = false;
  r.linkPath = path;
  r.embedded = embedded;
  r.workMode = CADAutoProduct::kVisualizationMode;
  SyncChildren();
}

// Internals --------------------------------------------------------------------

CADProductNode* CADProductNode::Reference() const {
  if (isReference_) return const_cast<CADProductNode*>(this);
  return record_->reference.get();
}

void CADProductNode::MarkModified() const {
  if (CADDocument* doc = RefState().document) doc->SetDirty(1);
}

bool CADProductNode::Uses(const CADProductNode* target) const {
  std::set<const CADProductNode*> seen;
  std::vector<const CADProductNode*> todo{Reference()};
  while (!todo.empty()) {
    const CADProductNode* ref = todo.back();
    todo.pop_back();
    if (ref == target) return true;
    if (!seen.insert(ref).second) continue;
    for (const auto& rec : ref->ref_->records) todo.push_back(rec->reference.get());
  }
  return false;
}

CADUnicodeString CADProductNode::FilePath() const {
  const CADReferenceState& r = RefState();
  if (!r.loaded) return r.linkPath;
  if (r.document && !r.embedded && r.document->GetRootProduct().get() == static_cast<const CADIProduct*>(Reference()))
    return r.document->StorageName();
  return CADUnicodeString();
}

void CADProductNode::SyncChildren() const {
  const CADReferenceState& r = RefState();
  const bool alive = Alive();
  if (synced_ && alive && syncedReference_ == Reference() && syncedRevision_ == r.recordsRevision) return;
  synced_ = alive;
  syncedReference_ = Reference();
  syncedRevision_ = r.recordsRevision;
  std::unordered_map<const CADInstanceRecord*, CADVar<CADProductNode>> old;
  for (auto& child : children_) old.emplace(child->record_.get(), std::move(child));
  children_.clear();
  if (alive) {
    for (const auto& rec : r.records) {
      auto it = old.find(rec.get());
      if (it != old.end()) {
        children_.push_back(std::move(it->second));
        old.erase(it);
        continue;
      }
      auto node = CADVar<CADProductNode>::Adopt(new CADProductNode(false));
      node->record_ = rec;
      node->father_ = const_cast<CADProductNode*>(this);
      children_.push_back(std::move(node));
    }
  }
  for (auto& [rec, node] : old) node->father_ = nullptr;
}

CADProductNode* CADProductNode::ChildFor(const CADInstanceRecord* record) const {
  SyncChildren();
  for (const auto& child : children_)
    if (child->record_.get() == record) return child.get();
  return nullptr;
}

CADUnicodeString CADProductNode::FreeInstanceName(const CADUnicodeString& partNumber) const {
  const auto& records = RefState().records;
  for (int n = 1;; ++n) {
    CADUnicodeString name = partNumber + CADUnicodeString::BuildFromNum(".%d", n);
    bool used = std::any_of(records.begin(), records.end(), [&](const auto& rec) { return rec->name == name; });
    if (!used) return name;
  }
}

HRESULT CADProductNode::AddChildReference(const CADVar<CADProductNode>& reference, CADIProduct_var& newChild) {
  newChild = nullptr;
  CADReferenceState& r = RefState();
  if (!Alive() || !r.loaded) return Session().Fail("cannot add a child below a product that is not loaded");
  if (!reference || !reference->RefState().loaded) return Session().Fail("the added product is not loaded");
  if (reference->Uses(Reference())) return Session().Fail("adding the product would make it contain itself");
  auto rec = std::make_shared<CADInstanceRecord>();
  rec->name = FreeInstanceName(reference->GetPartNumber());
  rec->reference = reference;
  rec->owner = Reference();
  r.records.push_back(rec);
  ++r.recordsRevision;
  MarkModified();
  newChild = CADIProduct_var(ChildFor(rec.get()));
  Session().Succeed();
  return S_OK;
}

// Identity ---------------------------------------------------------------------

CADUnicodeString CADProductNode::GetPartNumber() const {
  const CADReferenceState& r = RefState();
  return r.loaded ? r.partNumber : CADUnicodeString();
}

HRESULT CADProductNode::SetPartNumber(const CADUnicodeString& partNumber) {
  CADReferenceState& r = RefState();
  if (partNumber.IsEmpty()) return Session().Fail("empty part number");
  if (!r.loaded) return Session().Fail("the product is not loaded");
  if (r.partNumber == partNumber) return S_OK;
  if (Session().IsPartNumberUsed(partNumber, Reference()))
    return Session().Fail("part number '" + partNumber.str() + "' is used by another product");
  r.partNumber = partNumber;
  MarkModified();
  Session().Succeed();
  return S_OK;
}

HRESULT CADProductNode::GetPrdInstanceName(CADUnicodeString& name) const {
  if (!isReference_) {
    name = record_->name;
    return S_OK;
  }
  const CADReferenceState& r = *ref_;
  if (!r.loaded) return E_FAIL;
  name = r.name.IsEmpty() ? r.partNumber : r.name;
  return S_OK;
}

HRESULT CADProductNode::SetPrdInstanceName(const CADUnicodeString& name) {
  if (name.IsEmpty()) return Session().Fail("empty instance name");
  if (isReference_) {
    if (!ref_->loaded) return Session().Fail("the product is not loaded");
    if (ref_->name == name) return S_OK;
    ref_->name = name;
    MarkModified();
    return S_OK;
  }
  if (!Alive()) return Session().Fail("the instance was removed");
  if (record_->name == name) return S_OK;
  for (const auto& sibling : record_->owner->RefState().records)
    if (sibling != record_ && sibling->name == name)
      return Session().Fail("instance name '" + name.str() + "' is used by a sibling");
  record_->name = name;
  record_->owner->MarkModified();
  Session().Succeed();
  return S_OK;
}

// Structure --------------------------------------------------------------------

CADIProduct_var CADProductNode::GetFatherProduct() const {
  if (isReference_) return nullptr;
  return CADIProduct_var(Father());
}

CADIProduct_var CADProductNode::GetReferenceProduct() const { return CADIProduct_var(Reference()); }

int CADProductNode::GetChildrenCount() const {
  SyncChildren();
  return static_cast<int>(children_.size());
}

CADListValCADBaseUnknown_var CADProductNode::GetChildren() const {
  SyncChildren();
  CADListValCADBaseUnknown_var list;
  for (const auto& child : children_) list.Append(CADBaseUnknown_var(child.get()));
  return list;
}

HRESULT CADProductNode::AddExternalComponent(CADDocument* document, CADIProduct_var& newChild) {
  newChild = nullptr;
  if (!document || !document->IsInSession()) return Session().Fail("no document in the session to add");
  CADVar<CADProductNode> root = document->State().root;
  if (!root) return Session().Fail("the document '" + document->StorageName().str() + "' has no root product");
  return AddChildReference(root, newChild);
}

HRESULT CADProductNode::AddNewComponent(const CADUnicodeString& partNumber, CADIProduct_var& newChild) {
  newChild = nullptr;
  CADReferenceState& r = RefState();
  if (!Alive() || !r.loaded || !r.document)
    return Session().Fail("cannot add a child below a product that is not loaded");
  if (partNumber.IsEmpty()) return Session().Fail("empty part number");
  if (Session().IsPartNumberUsed(partNumber, nullptr))
    return Session().Fail("part number '" + partNumber.str() + "' is used by another product");
  CADVar<CADProductNode> component = NewReference(r.document);
  component->ref_->embedded = true;
  component->ref_->partNumber = partNumber;
  r.document->State().components.push_back(component);
  return AddChildReference(component, newChild);
}

HRESULT CADProductNode::AddNewProduct(const CADUnicodeString& partNumber, CADIProduct_var& newChild) {
  newChild = nullptr;
  if (!Alive() || !RefState().loaded) return Session().Fail("cannot add a child below a product that is not loaded");
  if (partNumber.IsEmpty()) return Session().Fail("empty part number");
  if (Session().IsPartNumberUsed(partNumber, nullptr))
    return Session().Fail("part number '" + partNumber.str() + "' is used by another product");
  CADDocument* document = nullptr;
  HRESULT hr = CADDocumentLoader::CreateNew("CADProduct", partNumber, document);
  if (FAILED(hr)) return hr;
  return AddExternalComponent(document, newChild);
}

HRESULT CADProductNode::RemoveProduct(const CADIProduct_var& child) {
  auto* node = dynamic_cast<CADProductNode*>(child.get());
  if (!node || node->isReference_ || node->Father() != this) return Session().Fail("not a child of this product");
  auto& records = RefState().records;
  auto it = std::find(records.begin(), records.end(), node->record_);
  if (it == records.end()) return Session().Fail("not a child of this product");
  (*it)->removed = true;
  records.erase(it);
  ++RefState().recordsRevision;
  MarkModified();
  SyncChildren();
  Session().Succeed();
  return S_OK;
}

HRESULT CADProductNode::ReplaceComponent(const CADIProduct_var& child, CADDocument* document,
                                         CADIProduct_var& newChild) {
  newChild = nullptr;
  auto* node = dynamic_cast<CADProductNode*>(child.get());
  if (!node || node->isReference_ || node->Father() != this) return Session().Fail("not a child of this product");
  if (!document || !document->IsInSession() || !document->State().root)
    return Session().Fail("no document with a root product to put in");
  CADVar<CADProductNode> reference = document->State().root;
  if (reference->Uses(Reference())) return Session().Fail("replacing would make the product contain itself");
  auto& records = RefState().records;
  auto it = std::find(records.begin(), records.end(), node->record_);
  if (it == records.end()) return Session().Fail("not a child of this product");
  auto rec = std::make_shared<CADInstanceRecord>(**it);
  rec->reference = reference;
  (*it)->removed = true;
  *it = rec;
  ++RefState().recordsRevision;
  MarkModified();
  newChild = CADIProduct_var(ChildFor(rec.get()));
  Session().Succeed();
  return S_OK;
}

int CADProductNode::IsEmbeddedComponent() const { return RefState().embedded ? 1 : 0; }

// Shape representations --------------------------------------------------------

bool CADProductNode::HasImplicitDefaultShape() const {
  CADUnicodeString path = FilePath();
  if (path.IsEmpty()) return false;
  CADUnicodeString type = CADDocumentServices::GetTypeFromPath(path);
  return type == "CADPart" || type == "vis" || type == "model" || Session().IsRepresentationFormat(type);
}

HRESULT CADProductNode::GetAllShapesNames(CADListValCADUnicodeString& names, int recursive) const {
  names.RemoveAll();
  std::set<const CADProductNode*> seen;
  std::vector<const CADProductNode*> todo{Reference()};
  while (!todo.empty()) {
    const CADProductNode* ref = todo.front();
    todo.erase(todo.begin());
    if (!seen.insert(ref).second) continue;
    const CADReferenceState& r = *ref->ref_;
    bool explicitDefault =
        std::any_of(r.shapes.begin(), r.shapes.end(), [](const auto& s) { return s.name == "Default"; });
    if (!explicitDefault && ref->HasImplicitDefaultShape() && !names.Locate("Default")) names.Append("Default");
    for (const CADShapeImage& s : r.shapes)
      if (!names.Locate(s.name)) names.Append(s.name);
    if (!recursive) break;
    for (const auto& rec : r.records) todo.push_back(rec->reference.get());
  }
  return S_OK;
}

HRESULT CADProductNode::GetShapeRepresentation(const CADUnicodeString& name, CADUnicodeString& path,
                                               CADUnicodeString& format) const {
  const CADReferenceState& r = RefState();
  for (const CADShapeImage& s : r.shapes)
    if (s.name == name) {
      path = s.path;
      format = s.format;
      return S_OK;
    }
  if (name == "Default" && HasImplicitDefaultShape()) {
    path = FilePath();
    format = CADDocumentServices::GetTypeFromPath(path);
    return S_OK;
  }
  return E_FAIL;
}

HRESULT CADProductNode::LoadShapeRepresentation(const CADUnicodeString& name) {
  CADUnicodeString path, format;
  if (FAILED(GetShapeRepresentation(name, path, format)))
    return Session().Fail("no shape representation '" + name.str() + "'");
  const CADReferenceState& r = RefState();
  if (!r.loaded && path == r.linkPath) return CADDocumentLoader::BindUnloaded(Reference());
  CADDocument* document = nullptr;
  return CADDocumentLoader::Open(path, 0, document);
}

CADDocument* CADProductNode::GetShapeRepresentationDocument(const CADUnicodeString& name) const {
  CADUnicodeString path, format;
  if (FAILED(GetShapeRepresentation(name, path, format))) return nullptr;
  return Session().Find(path);
}

HRESULT CADProductNode::ReplaceDefaultShape(const CADUnicodeString& format, const CADUnicodeString& path) {
  CADReferenceState& r = RefState();
  if (path.IsEmpty() || format.IsEmpty()) return Session().Fail("a representation needs a path and a format");
  if (!r.loaded) return Session().Fail("the product is not loaded");
  auto& shapes = r.shapes;
  shapes.erase(std::remove_if(shapes.begin(), shapes.end(), [](const auto& s) { return s.name == "Default"; }),
               shapes.end());
  CADDocument* own = r.document;
  const bool ownFileIsTheShape = own && HasImplicitDefaultShape() && own->GetType() != "CADPart";
  if (!ownFileIsTheShape) {
    shapes.push_back({"Default", path, format});
    MarkModified();
    return S_OK;
  }
  // A vis, model or representation document is its own shape: it now lives
  // in the new file, and every product using it links there on its next save.
  CADUnicodeString absolute = CADDocumentLoader::Absolute(path);
  CADDocument* other = Session().Find(absolute);
  if (other && other != own) return Session().Fail("another document is open as '" + absolute.str() + "'");
  own->State().storageName = absolute;
  for (const CADVar<CADDocument>& doc : Session().Documents()) {
    auto uses = [&](const CADVar<CADProductNode>& ref) {
      if (!ref) return false;
      for (const auto& rec : ref->ref_->records)
        if (rec->reference.get() == Reference()) return true;
      return false;
    };
    bool user = uses(doc->State().root);
    for (const auto& c : doc->State().components) user = user || uses(c);
    if (user) doc->SetDirty(1);
  }
  return S_OK;
}

HRESULT CADProductNode::AddShapeRepresentation(const CADUnicodeString& name, const CADUnicodeString& path,
                                               const CADUnicodeString& format) {
  CADReferenceState& r = RefState();
  if (!r.loaded || name.IsEmpty() || path.IsEmpty()) return Session().Fail("cannot add that representation");
  for (const CADShapeImage& s : r.shapes)
    if (s.name == name) return Session().Fail("representation '" + name.str() + "' exists already");
  r.shapes.push_back({name, path, format});
  MarkModified();
  return S_OK;
}

HRESULT CADProductNode::RemoveShapeRepresentation(const CADUnicodeString& name) {
  auto& shapes = RefState().shapes;
  auto it = std::find_if(shapes.begin(), shapes.end(), [&](const auto& s) { return s.name == name; });
  if (it == shapes.end()) return Session().Fail("no representation '" + name.str() + "'");
  shapes.erase(it);
  MarkModified();
  return S_OK;
}

// Instance parameters ------------------------------------------------------------

HRESULT CADProductNode::GetActivationState(CADBoolean& active) const {
  if (isReference_ || !Alive()) return E_FAIL;
  active = record_->active ? CADTRUE : CADFALSE;
  return S_OK;
}

HRESULT CADProductNode::SetActivationState(CADBoolean active) {
  if (isReference_ || !Alive()) return E_FAIL;
  const bool on = active != CADFALSE;
  if (record_->active == on) return S_OK;
  record_->active = on;
  record_->owner->MarkModified();
  return S_OK;
}

HRESULT CADProductNode::GetShowAttr(CADShowAttr& show) const {
  if (isReference_ || !Alive()) return E_FAIL;
  show = record_->shown ? CADShowAttr::Show : CADShowAttr::NoShow;
  return S_OK;
}

HRESULT CADProductNode::SetShowAttr(CADShowAttr show) {
  if (isReference_ || !Alive()) return E_FAIL;
  record_->shown = show == CADShowAttr::Show;
  return S_OK;
}

// Properties ---------------------------------------------------------------------

HRESULT CADProductNode::GetAttribute(CADUnicodeString CADReferenceState::*field, CADUnicodeString& value) const {
  const CADReferenceState& r = RefState();
  if (!r.loaded) return E_FAIL;
  value = r.*field;
  return S_OK;
}

HRESULT CADProductNode::SetAttribute(CADUnicodeString CADReferenceState::*field, const CADUnicodeString& value) {
  CADReferenceState& r = RefState();
  if (!r.loaded) return E_FAIL;
  if (r.*field == value) return S_OK;
  r.*field = value;
  MarkModified();
  return S_OK;
}

HRESULT CADProductNode::GetNomenclature(CADUnicodeString& v) const {
  return GetAttribute(&CADReferenceState::nomenclature, v);
}
HRESULT CADProductNode::SetNomenclature(const CADUnicodeString& v) {
  return SetAttribute(&CADReferenceState::nomenclature, v);
}
HRESULT CADProductNode::GetRevision(CADUnicodeString& v) const { return GetAttribute(&CADReferenceState::revision, v); }
HRESULT CADProductNode::SetRevision(const CADUnicodeString& v) { return SetAttribute(&CADReferenceState::revision, v); }
HRESULT CADProductNode::GetDefinition(CADUnicodeString& v) const {
  return GetAttribute(&CADReferenceState::definition, v);
}
HRESULT CADProductNode::SetDefinition(const CADUnicodeString& v) {
  return SetAttribute(&CADReferenceState::definition, v);
}
HRESULT CADProductNode::GetDescription(CADUnicodeString& v) const {
  return GetAttribute(&CADReferenceState::description, v);
}
HRESULT CADProductNode::SetDescription(const CADUnicodeString& v) {
  return SetAttribute(&CADReferenceState::description, v);
}

// Positions ----------------------------------------------------------------------

HRESULT CADProductNode::GetPosition(CADMathTransformation& position, CADIProduct* context) const {
  const CADProductNode* ctx = context ? dynamic_cast<const CADProductNode*>(context) : nullptr;
  if (context && !ctx) return E_FAIL;
  if (ctx == this || (isReference_ && !context)) {
    position = CADMathTransformation();
    return S_OK;
  }
  if (isReference_ || !Alive()) return E_FAIL;
  CADMathTransformation t = record_->position;
  const CADProductNode* node = Father();
  if (!context || ctx == node) {
    position = t;
    return S_OK;
  }
  while (node && node != ctx) {
    if (node->isReference_ || !node->Alive()) return E_FAIL;
    t = node->record_->position * t;
    node = node->Father();
  }
  if (node != ctx) return E_FAIL;
  position = t;
  return S_OK;
}

HRESULT CADProductNode::SetPosition(const CADMathTransformation& position, CADIProduct* context) {
  if (isReference_ || !Alive() || !Father()) return E_FAIL;
  CADMathTransformation local = position;
  const CADProductNode* ctx = context ? dynamic_cast<const CADProductNode*>(context) : nullptr;
  if (context && !ctx) return E_FAIL;
  if (context && ctx != Father()) {
    CADMathTransformation fatherInContext, inverse;
    if (FAILED(Father()->GetPosition(fatherInContext, context))) return E_FAIL;
    if (FAILED(fatherInContext.GetInverse(inverse))) return E_FAIL;
    local = inverse * position;
  }
  if (record_->position == local) return S_OK;
  record_->position = local;
  record_->owner->MarkModified();
  return S_OK;
}

// Automation ---------------------------------------------------------------------

HRESULT CADProductNode::get_Count(int& count) const {
  count = GetChildrenCount();
  return S_OK;
}

HRESULT CADProductNode::Item(int index, CADIProduct_var& child) const {
  SyncChildren();
  if (index < 1 || index > static_cast<int>(children_.size())) return E_FAIL;
  child = CADIProduct_var(children_[static_cast<size_t>(index - 1)].get());
  return S_OK;
}

HRESULT CADProductNode::ApplyWorkMode(int mode) {
  CADReferenceState& r = RefState();
  if (mode == kVisualizationMode) {
    r.workMode = mode;
    return S_OK;
  }
  if (mode != kDesignMode) return E_FAIL;
  if (!r.loaded) {
    HRESULT hr = CADDocumentLoader::BindUnloaded(Reference());
    if (FAILED(hr)) return hr;
  }
  RefState().workMode = mode;
  return S_OK;
}

HRESULT CADProductNode::GetWorkMode(int& mode) const {
  mode = RefState().workMode;
  return S_OK;
}

CADParameterImage* CADProductNode::FindParameter(const CADUnicodeString& shortName) const {
  for (CADParameterImage& p : RefState().parameters)
    if (p.name == shortName) return &p;
  return nullptr;
}

HRESULT CADProductNode::GetUserRefPropertyCount(int& count) const {
  const CADReferenceState& r = RefState();
  if (!r.loaded) return E_FAIL;
  count = static_cast<int>(r.parameters.size());
  return S_OK;
}

HRESULT CADProductNode::GetUserRefProperty(int index, CADUnicodeString& fullName, CADUnicodeString& type,
                                           CADUnicodeString& value) const {
  const CADReferenceState& r = RefState();
  if (!r.loaded || index < 1 || index > static_cast<int>(r.parameters.size())) return E_FAIL;
  const CADParameterImage& p = r.parameters[static_cast<size_t>(index - 1)];
  fullName = r.partNumber + kParameterInfix + p.name;
  type = p.type;
  value = p.value;
  return S_OK;
}

HRESULT CADProductNode::CreateUserRefProperty(const CADUnicodeString& shortName, const CADUnicodeString& type,
                                              const CADUnicodeString& value) {
  CADReferenceState& r = RefState();
  if (!r.loaded || shortName.IsEmpty() || FindParameter(shortName)) return E_FAIL;
  if (!CADDocumentFormat::IsValidParameter(type, value)) return E_FAIL;
  r.parameters.push_back({shortName, type, value});
  MarkModified();
  return S_OK;
}

HRESULT CADProductNode::SetUserRefPropertyValue(const CADUnicodeString& shortName, const CADUnicodeString& value) {
  CADParameterImage* p = RefState().loaded ? FindParameter(shortName) : nullptr;
  if (!p || !CADDocumentFormat::IsValidParameter(p->type, value)) return E_FAIL;
  if (p->value == value) return S_OK;
  p->value = value;
  MarkModified();
  return S_OK;
}

HRESULT CADProductNode::RemoveUserRefProperty(const CADUnicodeString& shortName) {
  auto& params = RefState().parameters;
  auto it = std::find_if(params.begin(), params.end(), [&](const auto& p) { return p.name == shortName; });
  if (it == params.end()) return E_FAIL;
  params.erase(it);
  MarkModified();
  return S_OK;
}

// Link to the document -------------------------------------------------------------

CADDocument* CADProductNode::GetDocument() const { return RefState().document; }

// Design tables --------------------------------------------------------------------

HRESULT CADProductNode::ListDesignTables(CADListValCADBaseUnknown_var& tables) const {
  tables.RemoveAll();
  const CADReferenceState& r = RefState();
  if (!r.loaded) return E_FAIL;
  for (const auto& t : r.tables) tables.Append(CADBaseUnknown_var(t.get()));
  return S_OK;
}

HRESULT CADProductNode::AddDesignTable(const CADUnicodeString& name, const CADUnicodeString& sheetPath,
                                       CADIDesignTable_var& table) {
  table = nullptr;
  CADReferenceState& r = RefState();
  if (!r.loaded || name.IsEmpty() || sheetPath.IsEmpty()) return E_FAIL;
  for (const auto& t : r.tables)
    if (t->Image().name == name) return E_FAIL;
  auto object = CADVar<CADDesignTableObject>::Adopt(new CADDesignTableObject({name, "", true, sheetPath}, r.document));
  r.tables.push_back(object);
  MarkModified();
  table = CADIDesignTable_var(object.get());
  return S_OK;
}

HRESULT CADProductNode::RemoveDesignTable(const CADIDesignTable_var& table) {
  auto& tables = RefState().tables;
  auto it = std::find_if(tables.begin(), tables.end(),
                         [&](const auto& t) { return static_cast<CADIDesignTable*>(t.get()) == table.get(); });
  if (it == tables.end()) return E_FAIL;
  (*it)->Detach();
  tables.erase(it);
  MarkModified();
  return S_OK;
}

HRESULT CADProductNode::QueryInterface(const CADIID& iid, void** out) {
  return CADQueryInterfaceHelper<CADIProduct, CADIPrdProperties, CADIMovable, CADAutoProduct, CADILinkableObject,
                                 CADIParmPublisher, CADIVisProperties, CADBaseUnknown>(this, iid, out);
}
