#include "CADVisManager.h"

#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADILinkableObject.h"
#include "CADPathElement.h"

namespace {

template <class T>
const CADBaseUnknown* Key(const CADVar<T>& object) {
  return dynamic_cast<const CADBaseUnknown*>(object.get());
}

// The document whose bodies a leaf shows: its loaded "Default" shape, else its reference's own document.
CADDocument* GeometryDocument(const CADIProduct_var& product) {
  if (CADDocument* shape = product->GetShapeRepresentationDocument("Default")) return shape;
  CADIProduct_var reference = product->GetReferenceProduct();
  CADILinkableObject_var linkable = reference ? reference : product;
  return linkable ? linkable->GetDocument() : nullptr;
}

// A part's bag of bodies, built from the document's bodies when first drawn and again after they changed.
class CADPartRep final : public CAD3DBagRep {
 public:
  explicit CADPartRep(CADDocument* document) : document_(document) {}
  bool NeedsUpdate() const override { return document_ && (!built_ || version_ != document_->GetGeometryVersion()); }
  void Update() override {
    ClearChildren();
    built_ = true;
    if (!document_) return;
    version_ = document_->GetGeometryVersion();
    for (const CADGeometryBody& body : document_->GetBodies()) {
      CAD3DFace face;
      face.coordinates.reserve(body.vertices.size() * 3);
      for (const CADMathPoint& p : body.vertices) {
        face.coordinates.push_back(static_cast<float>(p.x));
        face.coordinates.push_back(static_cast<float>(p.y));
        face.coordinates.push_back(static_cast<float>(p.z));
      }
      face.triangles.reserve(body.triangles.size() * 3);
      for (const auto& t : body.triangles) face.triangles.insert(face.triangles.end(), t.begin(), t.end());
      auto rep = std::make_shared<CAD3DBodyRep>();
      rep->SetHidden(body.hidden);
      rep->AddFace(std::move(face));
      AddChild(std::move(rep));
    }
  }
  void Invalidate() { built_ = false; }

 private:
  CADDocument_var document_;
  unsigned long version_ = 0;
  bool built_ = false;
};

}  // namespace

struct CADVisManager::Viewer {
  struct Node {
    CADBaseUnknown_var product;  // keeps the key alive
    std::shared_ptr<CAD3DBagRep> rep;
  };
  CADViewer viewer;
  std::map<const CADBaseUnknown*, Node> nodes;

  std::shared_ptr<CAD3DBagRep> Build(const CADIProduct_var& product) {
    std::shared_ptr<CAD3DBagRep> rep;
    if (product->GetChildrenCount() > 0) {
      rep = std::make_shared<CAD3DBagRep>();
      for (const CADBaseUnknown_var& child : product->GetChildren()) {
        CADIProduct_var childProduct(child);
        if (childProduct) rep->AddChild(Build(childProduct));
      }
    } else {
      rep = std::make_shared<CADPartRep>(GeometryDocument(product));
    }
    nodes[Key(product)] = Node{CADBaseUnknown_var(product), rep};
    return rep;
  }

  // The node's representation, built below its father's when missing.
  std::shared_ptr<CAD3DBagRep> Ensure(const CADIProduct_var& product) {
    if (auto found = nodes.find(Key(product)); found != nodes.end()) return found->second.rep;
    CADIProduct_var father = product->GetFatherProduct();
    if (!father) return nullptr;
    std::shared_ptr<CAD3DBagRep> fatherRep = Ensure(father);
    if (!fatherRep || dynamic_cast<CADPartRep*>(fatherRep.get())) return nullptr;
    std::shared_ptr<CAD3DBagRep> rep = Build(product);
    fatherRep->AddChild(rep);
    return rep;
  }
};

CADVisManager& CADVisManager::Get() {
  static CADVisManager manager;
  return manager;
}

CADVisManager::~CADVisManager() = default;

CADViewer* CADVisManager::GetViewer(CADFrmWindow* window) {
  if (!window) return nullptr;
  if (auto found = viewers_.find(window); found != viewers_.end()) return &found->second->viewer;
  if (layoutSubscription_ < 0)
    layoutSubscription_ = CADFrmLayout::GetCurrentLayout().Subscribe([this](CADFrmLayoutEvent event, CADFrmWindow* w) {
      if (event == CADFrmLayoutEvent::WindowClosing) viewers_.erase(w);
    });
  auto viewer = std::make_unique<Viewer>();
  CADIProduct_var root;
  if (SUCCEEDED(window->GetRootProduct(root)) && root) viewer->viewer.GetMain3DViewpoint()->AddRep(viewer->Build(root));
  return &viewers_.emplace(window, std::move(viewer)).first->second->viewer;
}

HRESULT CADVisManager::GenerateRepPathFromPathElement(const CADPathElement& path, const CAD3DViewpoint* viewpoint,
                                                      CADRepPath& reps) const {
  reps.clear();
  const Viewer* owner = nullptr;
  for (const auto& [window, viewer] : viewers_)
    if (viewer->viewer.GetMain3DViewpoint() == viewpoint) owner = viewer.get();
  if (!owner || path.IsEmpty()) return E_FAIL;
  for (int i = 1; i <= path.GetSize(); ++i) {
    auto found = owner->nodes.find(Key(path.GetElement(i)));
    if (found == owner->nodes.end()) {
      reps.clear();
      return E_FAIL;
    }
    reps.push_back(found->second.rep);
  }
  return S_OK;
}

void CADVisManager::Dispatch(const CADIProduct_var& product, CADModelEvent event) {
  if (!product) return;
  if (event == CADModelEvent::Redraw) {
    ++redraws_;
    return;
  }
  for (auto& [window, viewer] : viewers_)
    if (auto* part = dynamic_cast<CADPartRep*>(viewer->Ensure(product).get())) part->Invalidate();
}

void CADVisManager::Reset() {
  viewers_.clear();
  redraws_ = 0;
}
