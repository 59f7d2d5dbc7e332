// Viewpoints (what a viewer shows) and the render visitor that walks them:
// a subclass overrides the face callbacks to collect what it needs.
#pragma once

#include <string_view>
#include <vector>

#include "CAD3DRep.h"

class CADIProduct;

class CADViewpoint {
 public:
  virtual ~CADViewpoint() = default;
  // The host kind: "CAD3DViewpoint" for the 3D ones.
  virtual std::string_view GetKind() const = 0;
  bool IsAKindOf(std::string_view kind) const { return GetKind() == kind; }
  // The representations the viewpoint shows, in drawing order.
  const std::vector<CAD3DRepPtr>& GetRepList() const { return reps_; }
  void AddRep(CAD3DRepPtr rep) { reps_.push_back(std::move(rep)); }

 private:
  std::vector<CAD3DRepPtr> reps_;
};

class CAD3DViewpoint : public CADViewpoint {
 public:
  std::string_view GetKind() const override { return "CAD3DViewpoint"; }
};

class CADRender {
 public:
  virtual ~CADRender() = default;
  // Draws every 3D viewpoint of the list: begin, every representation, end.
  virtual void Draw(const std::vector<CADViewpoint*>& viewpoints, int mode, float ratio);
  // Draws one representation: the render's face callbacks get its faces.
  virtual void DrawRepresentation(const CAD3DRep& rep) { rep.DrawPath(*this); }
  virtual void Draw3DFace(const CAD3DFace& face) { (void)face; }
  virtual void Draw3DPlanarFace(const CAD3DFace& face) { Draw3DFace(face); }
  // Called by EndViewpoint.
  virtual void EndDraw(CADViewpoint& viewpoint) { (void)viewpoint; }

 protected:
  void BeginViewpoint(CADViewpoint& viewpoint) { (void)viewpoint; }
  void EndViewpoint(CADViewpoint& viewpoint) { EndDraw(viewpoint); }
};
