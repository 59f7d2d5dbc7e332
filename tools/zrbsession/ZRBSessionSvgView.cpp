#include "ZRBSessionSvgView.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "CADDocument.h"
#include "CADIMovable.h"
#include "ZRBSessionNodes.h"

namespace {

// The viewer looks from (1, 1, 1) at the origin; screen x to the right, screen y down.
CADMathPoint Project(const CADMathPoint& p) {
  const double r = (-p.x + p.y) / std::sqrt(2.0);
  const double u = (-p.x - p.y + 2 * p.z) / std::sqrt(6.0);
  const double depth = (p.x + p.y + p.z) / std::sqrt(3.0);
  return {r, -u, depth};
}

constexpr std::array<const char*, 10> kPalette = {"#4e79a7", "#f28e2b", "#e15759", "#76b7b2", "#59a14f",
                                                  "#edc948", "#b07aa1", "#ff9da7", "#9c755f", "#bab0ac"};

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

}  // namespace

ZRBSessionSvgView::ZRBSessionSvgView(const std::vector<CADIProduct_var>& roots) {
  for (const CADIProduct_var& root : roots) Collect(root, CADMathTransformation::Identity());
}

void ZRBSessionSvgView::Collect(const CADIProduct_var& product, const CADMathTransformation& position) {
  if (!product) return;
  if (product->GetChildrenCount() > 0) {
    for (const CADBaseUnknown_var& node : product->GetChildren()) {
      CADIProduct_var child(node);
      if (child) Collect(child, position * ZRBSessionNodes::Position(child));
    }
    return;
  }
  CADDocument* document = product->GetShapeRepresentationDocument("Default");
  if (!document) document = ZRBSessionNodes::DocumentOf(product);
  if (!document || document->GetBodies().empty()) return;
  const std::string part = ZRBSessionNodes::PartNumber(product);
  auto found = std::find(parts_.begin(), parts_.end(), part);
  const int colour = static_cast<int>(found - parts_.begin());
  if (found == parts_.end()) parts_.push_back(part);
  for (const CADGeometryBody& body : document->GetBodies()) {
    for (const auto& t : body.triangles) {
      if (std::any_of(t.begin(), t.end(), [&](int v) { return v < 0 || v >= static_cast<int>(body.vertices.size()); }))
        continue;
      Triangle placed{};
      placed.colour = colour;
      for (int k = 0; k < 3; ++k) {
        placed.corners[k] = position * body.vertices[static_cast<size_t>(t[static_cast<size_t>(k)])];
        box_.AddInPlace(placed.corners[k]);
      }
      triangles_.push_back(placed);
    }
  }
}

std::string ZRBSessionSvgView::Render() const {
  struct Drawn {
    CADMathPoint screen[3];
    double depth;
    int colour;
  };
  std::vector<Drawn> drawn;
  drawn.reserve(triangles_.size());
  double minX = 0, maxX = 1, minY = 0, maxY = 1;
  bool first = true;
  auto widen = [&](const CADMathPoint& s) {
    if (first) minX = maxX = s.x, minY = maxY = s.y, first = false;
    minX = std::min(minX, s.x), maxX = std::max(maxX, s.x), minY = std::min(minY, s.y), maxY = std::max(maxY, s.y);
  };
  for (const Triangle& t : triangles_) {
    Drawn d{};
    d.colour = t.colour;
    for (int k = 0; k < 3; ++k) {
      d.screen[k] = Project(t.corners[k]);
      d.depth += d.screen[k].z / 3;
      widen(d.screen[k]);
    }
    drawn.push_back(d);
  }
  // The box's eight corners and twelve edges.
  std::vector<CADMathPoint> corners;
  if (!box_.IsEmpty()) {
    const CADMathPoint l = box_.GetLow(), h = box_.GetHigh();
    for (int i = 0; i < 8; ++i) {
      corners.push_back(Project({(i & 1) ? h.x : l.x, (i & 2) ? h.y : l.y, (i & 4) ? h.z : l.z}));
      widen(corners.back());
    }
  }
  // Painter's order: the farthest first.
  std::sort(drawn.begin(), drawn.end(), [](const Drawn& a, const Drawn& b) { return a.depth < b.depth; });
  const double size = std::max({maxX - minX, maxY - minY, 1e-9});
  const double scale = 760.0 / size, margin = 20;
  auto x = [&](const CADMathPoint& s) { return Number(margin + (s.x - minX) * scale); };
  auto y = [&](const CADMathPoint& s) { return Number(margin + (s.y - minY) * scale); };
  const double width = (maxX - minX) * scale + 2 * margin,
               height = (maxY - minY) * scale + 2 * margin + 20.0 * parts_.size();

  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width) + "\" height=\"" +
                    Number(height) + "\" viewBox=\"0 0 " + Number(width) + " " + Number(height) + "\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  for (const Drawn& d : drawn) {
    svg += "<polygon points=\"";
    for (int k = 0; k < 3; ++k) svg += x(d.screen[k]) + "," + y(d.screen[k]) + (k < 2 ? " " : "");
    svg += "\" fill=\"" + std::string(kPalette[static_cast<size_t>(d.colour) % kPalette.size()]) +
           "\" stroke=\"#333\" stroke-width=\"0.3\" stroke-opacity=\"0.4\"/>\n";
  }
  if (!corners.empty()) {
    svg += "<g id=\"box\" stroke=\"#000\" stroke-width=\"1\" stroke-dasharray=\"4 3\" fill=\"none\">\n";
    for (int i = 0; i < 8; ++i)
      for (int bit : {1, 2, 4})
        if (!(i & bit))
          svg += "<line x1=\"" + x(corners[static_cast<size_t>(i)]) + "\" y1=\"" + y(corners[static_cast<size_t>(i)]) +
                 "\" x2=\"" + x(corners[static_cast<size_t>(i | bit)]) + "\" y2=\"" +
                 y(corners[static_cast<size_t>(i | bit)]) + "\"/>\n";
    svg += "</g>\n";
  }
  const double legend = (maxY - minY) * scale + 2 * margin;
  if (triangles_.empty()) svg += "<text x=\"" + Number(margin) + "\" y=\"" + Number(margin) + "\">no geometry</text>\n";
  for (size_t i = 0; i < parts_.size(); ++i)
    svg += "<text x=\"" + Number(margin) + "\" y=\"" + Number(legend + 15.0 * static_cast<double>(i)) +
           "\" font-size=\"12\" fill=\"" + kPalette[i % kPalette.size()] + "\">" + Escape(parts_[i]) + "</text>\n";
  svg += "</svg>\n";
  return svg;
}

bool ZRBSessionSvgView::Write(const std::string& path, std::string& error) const {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!(out << Render()) || !out.flush()) {
      error = "cannot write " + temporary;
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code failed;
  std::filesystem::rename(temporary, path, failed);
  if (failed) {
    error = "cannot write " + path + ": " + failed.message();
    std::filesystem::remove(temporary, failed);
    return false;
  }
  return true;
}
