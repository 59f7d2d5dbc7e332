#include "CAD3DRep.h"

#include "CADRender.h"

void CAD3DRep::DrawPath(CADRender&) const {}

void CAD3DBagRep::AddChild(CAD3DRepPtr child) {
  if (!child) return;
  if (!children_) children_ = std::make_unique<std::vector<CAD3DRepPtr>>();
  children_->push_back(std::move(child));
}

void CAD3DBagRep::DrawPath(CADRender& render) const {
  if (!children_) return;
  for (const CAD3DRepPtr& child : *children_) render.DrawRepresentation(*child);
}

void CAD3DBodyRep::DrawPath(CADRender& render) const {
  for (const CAD3DFace& face : faces_) {
    if (face.planar)
      render.Draw3DPlanarFace(face);
    else
      render.Draw3DFace(face);
  }
}

void CADRender::Draw(const std::vector<CADViewpoint*>& viewpoints, int, float) {
  for (CADViewpoint* viewpoint : viewpoints) {
    if (!viewpoint || !viewpoint->IsAKindOf("CAD3DViewpoint")) continue;
    BeginViewpoint(*viewpoint);
    for (const CAD3DRepPtr& rep : viewpoint->GetRepList())
      if (rep) DrawRepresentation(*rep);
    EndViewpoint(*viewpoint);
  }
}
