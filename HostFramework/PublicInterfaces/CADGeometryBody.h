// The simple geometry a part (or a vis/model document) carries: named bodies
// of triangulated faces, enough for extents and display tests.
#pragma once

#include <array>
#include <vector>

#include "CADMathBox.h"
#include "CADUnicodeString.h"

struct CADGeometryBody {
  CADUnicodeString name;
  bool hidden = false;
  std::vector<CADMathPoint> vertices;
  // Indices into `vertices`.
  std::vector<std::array<int, 3>> triangles;

  // Box of every vertex (empty for a body without vertex).
  CADMathBox GetBoundingBox() const {
    CADMathBox box;
    for (const CADMathPoint& p : vertices) box.AddInPlace(p);
    return box;
  }
  friend bool operator==(const CADGeometryBody&, const CADGeometryBody&) = default;
};
