// The render visitor that collects the extreme coordinates of every face vertex of a representation tree
// (bags walked to any depth, hidden bodies left out when "ZRB_BOUNDING_BOX_EXCLUDE_HIDDEN" is "ON").
#pragma once

#include <vector>

#include "CADMathBox.h"
#include "CADRender.h"

class ZRBBoundingBox : public CADRender {
 public:
  ZRBBoundingBox();

  // Draws `rep` (null: every representation of the viewpoint) in the viewpoint and sets `box` from the
  // result. A box without any point is empty (its corners are the origin). A null viewpoint or box does nothing.
  void GetBoundingBox(CAD3DRep* rep, CADViewpoint* viewpoint, CADMathBox* box);

  void Draw(const std::vector<CADViewpoint*>& viewpoints, int mode, float ratio) override;
  void DrawRep(CAD3DRep* rep);
  void DrawRepresentation(const CAD3DRep& rep) override;
  void Draw3DFace(const CAD3DFace& face) override;
  void Draw3DPlanarFace(const CAD3DFace& face) override;
  void EndDraw(CADViewpoint& viewpoint) override;
  void StorePointData(float x, float y, float z);

 private:
  void ResetRunning();

  float low_[3] = {0, 0, 0};
  float high_[3] = {0, 0, 0};
  bool found_ = false;  // the last end of a viewpoint had points
  CAD3DRep* rep_ = nullptr;
  float max_[3];
  float min_[3];
  bool excludeHidden_ = false;
};
