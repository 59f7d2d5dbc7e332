#include "ZRBBoundingBox.h"

#include <limits>

#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"

namespace {
constexpr float kFloatMax = std::numeric_limits<float>::max();
}  // namespace

ZRBBoundingBox::ZRBBoundingBox()
    : excludeHidden_(g_ZRBConfig.CompareEnvVar("ZRB_BOUNDING_BOX_EXCLUDE_HIDDEN", "ON", 1) == 1) {
  ResetRunning();
}

void ZRBBoundingBox::ResetRunning() {
  for (int k = 0; k < 3; ++k) {
    max_[k] = -kFloatMax;
    min_[k] = kFloatMax;
  }
}

void ZRBBoundingBox::GetBoundingBox(CAD3DRep* rep, CADViewpoint* viewpoint, CADMathBox* box) {
  if (!viewpoint || !box) return;
  rep_ = rep;
  found_ = false;
  Draw({viewpoint}, 1, 0.0f);
  if (!found_) {
    box->SetToEmpty();
    return;
  }
  box->SetLimits({low_[0], low_[1], low_[2]}, {high_[0], high_[1], high_[2]});
}

void ZRBBoundingBox::Draw(const std::vector<CADViewpoint*>& viewpoints, int, float) {
  for (CADViewpoint* viewpoint : viewpoints) {
    if (!viewpoint || !viewpoint->IsAKindOf("CAD3DViewpoint")) continue;
    BeginViewpoint(*viewpoint);
    if (rep_) {
      DrawRep(rep_);
    } else {
      for (const CAD3DRepPtr& rep : viewpoint->GetRepList()) DrawRep(rep.get());
    }
    EndViewpoint(*viewpoint);
  }
}

void ZRBBoundingBox::DrawRep(CAD3DRep* rep) {
  if (!rep) return;
  if (rep->NeedsUpdate()) rep->Update();
  if (excludeHidden_ && rep->IsHidden()) return;
  if (rep->IsAKindOf("CAD3DBagRep") || rep->IsAKindOf("CAD2DBagRep")) {
    const auto* children = static_cast<CAD3DBagRep*>(rep)->GetChildren();
    if (!children) return;
    for (const CAD3DRepPtr& child : *children) DrawRep(child.get());
    return;
  }
  rep->DrawPath(*this);
}

void ZRBBoundingBox::DrawRepresentation(const CAD3DRep& rep) {
  ZRB_DEBUG("ZRBBoundingBox::DrawRepresentation");
  CADRender::DrawRepresentation(rep);
}

void ZRBBoundingBox::Draw3DFace(const CAD3DFace& face) {
  const std::vector<float>& c = face.coordinates;
  const int vertices = face.GetVertexCount();
  for (int i = 0; i < vertices; ++i) StorePointData(c[3 * i], c[3 * i + 1], c[3 * i + 2]);
  // Referenced vertices were stored above already; the lists are walked only for indices that hold,
  // so that a damaged index list cannot read outside the coordinates.
  auto store = [&](const std::vector<int>& indices) {
    for (int index : indices)
      if (index >= 0 && index < vertices) StorePointData(c[3 * index], c[3 * index + 1], c[3 * index + 2]);
  };
  store(face.triangles);
  store(face.strips);
  store(face.fans);
}

void ZRBBoundingBox::Draw3DPlanarFace(const CAD3DFace& face) { Draw3DFace(face); }

void ZRBBoundingBox::StorePointData(float x, float y, float z) {
  const float p[3] = {x, y, z};
  for (int k = 0; k < 3; ++k) {
    if (p[k] > max_[k]) max_[k] = p[k];
    if (p[k] < min_[k]) min_[k] = p[k];
  }
}

void ZRBBoundingBox::EndDraw(CADViewpoint&) {
  bool complete = true;
  for (int k = 0; k < 3; ++k)
    if (max_[k] == -kFloatMax || min_[k] == kFloatMax) complete = false;
  if (complete) {
    for (int k = 0; k < 3; ++k) {
      low_[k] = min_[k];
      high_[k] = max_[k];
    }
    found_ = true;
  } else {
    ZRB_DEBUG("ZRB Warning: Bounding box is infinite -> zeroing all values");
  }
  ResetRunning();
}
