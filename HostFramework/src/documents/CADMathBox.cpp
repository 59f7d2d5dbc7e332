#include "CADMathBox.h"

#include <algorithm>

CADMathBox::CADMathBox(const CADMathPoint& low, const CADMathPoint& high) { SetLimits(low, high); }

void CADMathBox::SetLimits(const CADMathPoint& low, const CADMathPoint& high) {
  // Corners given in any order still describe the same box.
  low_ = {std::min(low.x, high.x), std::min(low.y, high.y), std::min(low.z, high.z)};
  high_ = {std::max(low.x, high.x), std::max(low.y, high.y), std::max(low.z, high.z)};
  empty_ = false;
}

void CADMathBox::AddInPlace(const CADMathPoint& p) {
  if (empty_) {
    low_ = high_ = p;
    empty_ = false;
    return;
  }
  low_ = {std::min(low_.x, p.x), std::min(low_.y, p.y), std::min(low_.z, p.z)};
  high_ = {std::max(high_.x, p.x), std::max(high_.y, p.y), std::max(high_.z, p.z)};
}

void CADMathBox::AddInPlace(const CADMathBox& other) {
  if (other.empty_) return;
  AddInPlace(other.low_);
  AddInPlace(other.high_);
}

CADMathBox CADMathBox::Transformed(const CADMathTransformation& position) const {
  CADMathBox out;
  if (empty_) return out;
  for (int corner = 0; corner < 8; ++corner) {
    CADMathPoint p{(corner & 1) ? high_.x : low_.x, (corner & 2) ? high_.y : low_.y, (corner & 4) ? high_.z : low_.z};
    out.AddInPlace(position * p);
  }
  return out;
}

bool CADMathBox::Contains(const CADMathPoint& p) const {
  return !empty_ && p.x >= low_.x && p.x <= high_.x && p.y >= low_.y && p.y <= high_.y && p.z >= low_.z &&
         p.z <= high_.z;
}
