// Axis-aligned box in double precision with an explicit empty state; used for
// part and assembly extents.
#pragma once

#include "CADMathTransformation.h"

class CADMathBox {
 public:
  // An empty box: holds no point, IsEmpty() is true.
  CADMathBox() = default;
  CADMathBox(const CADMathPoint& low, const CADMathPoint& high);

  bool IsEmpty() const { return empty_; }
  void SetToEmpty() {
    empty_ = true;
    low_ = high_ = {};
  }
  // Corners; both are the origin for an empty box.
  void GetLimits(CADMathPoint& low, CADMathPoint& high) const {
    low = low_;
    high = high_;
  }
  const CADMathPoint& GetLow() const { return low_; }
  const CADMathPoint& GetHigh() const { return high_; }
  void SetLimits(const CADMathPoint& low, const CADMathPoint& high);

  // Widens the box to hold the point / the other box (an empty box adds nothing).
  void AddInPlace(const CADMathPoint& p);
  void AddInPlace(const CADMathBox& other);
  // The box that holds the eight transformed corners (empty stays empty).
  CADMathBox Transformed(const CADMathTransformation& position) const;

  bool Contains(const CADMathPoint& p) const;
  friend bool operator==(const CADMathBox&, const CADMathBox&) = default;

 private:
  bool empty_ = true;
  CADMathPoint low_{};
  CADMathPoint high_{};
};
