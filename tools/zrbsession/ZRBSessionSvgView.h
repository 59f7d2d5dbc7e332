// An orthographic (isometric) picture of product structures as SVG: every part's triangles placed by its
// position in its root, one colour per part, the structure's box outlined. Detail finer than half a pixel is
// left out (a part that small is a dot), so a picture of a large structure stays a picture.
#pragma once

#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADIProduct.h"
#include "CADMathBox.h"

class ZRBSessionSvgView {
 public:
  // Places every part below the roots (hidden bodies included) and measures their box.
  explicit ZRBSessionSvgView(const std::vector<CADIProduct_var>& roots);
  // The SVG text; a structure without geometry gives a picture that says so.
  std::string Render() const;
  // Writes the picture through a temporary file beside `path`; false with `error` when it cannot.
  bool Write(const std::string& path, std::string& error) const;
  const CADMathBox& GetBox() const { return box_; }
  std::size_t GetTriangleCount() const { return triangleCount_; }

 private:
  struct Placed {
    const CADDocument* document;
    CADMathTransformation position;
    int colour;
  };
  void Collect(const CADIProduct_var& product, const CADMathTransformation& position);
  std::vector<Placed> placed_;
  std::size_t triangleCount_ = 0;
  std::vector<std::string> parts_;  // part numbers in colour order
  CADMathBox box_;
};
