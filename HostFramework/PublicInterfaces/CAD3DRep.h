// The graphic representations the host builds for display: bags that group
// other representations and bodies made of tessellated faces. Coordinates are
// those of the part; positions are applied by whoever draws.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

class CADRender;

// One tessellated face: a coordinate array (x, y, z per vertex) and the index
// lists of its triangles, strips and fans (offsets into the vertex array).
struct CAD3DFace {
  std::vector<float> coordinates;
  std::vector<int> triangles;    // three indices per triangle
  std::vector<int> stripCounts;  // vertices per strip
  std::vector<int> strips;       // the strips' indices, one strip after the other
  std::vector<int> fanCounts;    // vertices per fan
  std::vector<int> fans;
  bool planar = false;

  int GetVertexCount() const { return static_cast<int>(coordinates.size() / 3); }
};

class CAD3DRep {
 public:
  virtual ~CAD3DRep() = default;
  // The host kind: "CAD3DBagRep" or "CAD3DBodyRep".
  virtual std::string_view GetKind() const = 0;
  bool IsAKindOf(std::string_view kind) const { return GetKind() == kind; }

  bool IsHidden() const { return hidden_; }
  void SetHidden(bool hidden) { hidden_ = hidden; }

  // A representation built from a model knows when the model changed since;
  // Update brings it up to date.
  virtual bool NeedsUpdate() const { return false; }
  virtual void Update() {}

  // Draws the representation's own faces with the render (a bag has none).
  virtual void DrawPath(CADRender& render) const;

 private:
  bool hidden_ = false;
};

using CAD3DRepPtr = std::shared_ptr<CAD3DRep>;

// A container of other representations; it has no geometry of its own.
class CAD3DBagRep : public CAD3DRep {
 public:
  std::string_view GetKind() const override { return "CAD3DBagRep"; }
  // Null while the bag never had a child.
  const std::vector<CAD3DRepPtr>* GetChildren() const { return children_ ? children_.get() : nullptr; }
  void AddChild(CAD3DRepPtr child);
  void ClearChildren() { children_.reset(); }
  // Draws the children in order.
  void DrawPath(CADRender& render) const override;

 private:
  std::unique_ptr<std::vector<CAD3DRepPtr>> children_;
};

// A body: a list of faces.
class CAD3DBodyRep : public CAD3DRep {
 public:
  std::string_view GetKind() const override { return "CAD3DBodyRep"; }
  void AddFace(CAD3DFace face) { faces_.push_back(std::move(face)); }
  const std::vector<CAD3DFace>& GetFaces() const { return faces_; }
  void DrawPath(CADRender& render) const override;

 private:
  std::vector<CAD3DFace> faces_;
};
