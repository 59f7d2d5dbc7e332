// An orthographic (isometric) picture of product structures as SVG: every part's triangles placed by its
// position in its root, one colour per part, the structure's box outlined.
#pragma once

#include <string>
#include <vector>

#include "CADIProduct.h"
#include "CADMathBox.h"

class ZRBSessionSvgView {
 public:
  // Collects the triangles of every part below the roots (hidden bodies included).
  explicit ZRBSessionSvgView(const std::vector<CADIProduct_var>& roots);
  // The SVG text; a structure without geometry gives a picture that says so.
  std::string Render() const;
  // Writes the picture through a temporary file beside `path`; false with `error` when it cannot.
  bool Write(const std::string& path, std::string& error) const;
  const CADMathBox& GetBox() const { return box_; }
  std::size_t GetTriangleCount() const { return triangles_.size(); }

 private:
  struct Triangle {
    CADMathPoint corners[3];
    int colour;
  };
  void Collect(const CADIProduct_var& product, const CADMathTransformation& position);
  std::vector<Triangle> triangles_;
  std::vector<std::string> parts_;  // part numbers in colour order
  CADMathBox box_;
};
