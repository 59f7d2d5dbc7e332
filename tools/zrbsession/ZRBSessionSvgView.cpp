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

bool IsValid(const std::array<int, 3>& triangle, size_t vertices) {
  return std::all_of(triangle.begin(), triangle.end(),
                     [&](int v) { return v >= 0 && static_cast<size_t>(v) < vertices; });
}

// Screen extent (pixels) below which a triangle cannot be seen.
constexpr double kFinestDetail = 0.5;

// What is drawn: a triangle in pixels, or a part too small to show its triangles as one dot (corners 0 and 1).
struct Drawn {
  CADMathPoint screen[3];
  double depth;  // larger is nearer the viewer
  int colour;
  bool dot;
};

// The pixels a drawing covers: the pixel centres inside it, or else the pixel under its middle.
template <typename Visit>
void ForEachPixel(const Drawn& d, int width, int height, Visit visit) {
  auto clampX = [&](double v) { return std::clamp(static_cast<int>(v), 0, width - 1); };
  auto clampY = [&](double v) { return std::clamp(static_cast<int>(v), 0, height - 1); };
  const int corners = d.dot ? 2 : 3;
  double lowX = d.screen[0].x, highX = lowX, lowY = d.screen[0].y, highY = lowY;
  for (int k = 1; k < corners; ++k)
    lowX = std::min(lowX, d.screen[k].x), highX = std::max(highX, d.screen[k].x), lowY = std::min(lowY, d.screen[k].y),
    highY = std::max(highY, d.screen[k].y);
  auto edge = [&](int a, int b, double x, double y) {
    return (d.screen[b].x - d.screen[a].x) * (y - d.screen[a].y) -
           (d.screen[b].y - d.screen[a].y) * (x - d.screen[a].x);
  };
  bool any = false;
  for (int py = clampY(lowY); py <= clampY(highY); ++py)
    for (int px = clampX(lowX); px <= clampX(highX); ++px) {
      const double x = px + 0.5, y = py + 0.5;
      bool inside = d.dot ? (x >= lowX && x <= highX && y >= lowY && y <= highY) : false;
      if (!d.dot) {
        const double e0 = edge(0, 1, x, y), e1 = edge(1, 2, x, y), e2 = edge(2, 0, x, y);
        inside = (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
      }
      if (inside) visit(py * width + px), any = true;
    }
  if (!any) visit(clampY((lowY + highY) / 2) * width + clampX((lowX + highX) / 2));
}

// Keeps what some pixel shows, farthest first: nearer drawings claim their pixels first, and one whose pixels
// are all claimed is hidden. Bounds a picture of a dense structure by its pixels, not its triangles.
void KeepVisible(std::vector<Drawn>& drawn, int width, int height) {
  std::sort(drawn.begin(), drawn.end(), [](const Drawn& a, const Drawn& b) { return a.depth > b.depth; });
  std::vector<bool> claimed(static_cast<size_t>(width) * static_cast<size_t>(height));
  std::vector<size_t> pixels;
  size_t kept = 0;
  for (const Drawn& d : drawn) {
    pixels.clear();
    ForEachPixel(d, width, height, [&](int pixel) { pixels.push_back(static_cast<size_t>(pixel)); });
    bool seen = false;
    for (size_t pixel : pixels)
      if (!claimed[pixel]) claimed[pixel] = true, seen = true;
    if (seen) drawn[kept++] = d;
  }
  drawn.resize(kept);
  std::reverse(drawn.begin(), drawn.end());
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
  placed_.push_back({document, position, colour});
  for (const CADGeometryBody& body : document->GetBodies()) {
    for (const auto& t : body.triangles) {
      if (!IsValid(t, body.vertices.size())) continue;
      ++triangleCount_;
      for (int k : t) box_.AddInPlace(position * body.vertices[static_cast<size_t>(k)]);
    }
  }
}

std::string ZRBSessionSvgView::Render() const {
  // The box's eight corners bound every projected point, so they fix the picture's frame.
  std::vector<CADMathPoint> corners;
  double minX = 0, maxX = 1, minY = 0, maxY = 1;
  if (!box_.IsEmpty()) {
    const CADMathPoint l = box_.GetLow(), h = box_.GetHigh();
    for (int i = 0; i < 8; ++i)
      corners.push_back(Project({(i & 1) ? h.x : l.x, (i & 2) ? h.y : l.y, (i & 4) ? h.z : l.z}));
    minX = maxX = corners[0].x, minY = maxY = corners[0].y;
    for (const CADMathPoint& c : corners)
      minX = std::min(minX, c.x), maxX = std::max(maxX, c.x), minY = std::min(minY, c.y), maxY = std::max(maxY, c.y);
  }
  const double size = std::max({maxX - minX, maxY - minY, 1e-9});
  const double scale = 760.0 / size, margin = 20;
  auto toPixels = [&](const CADMathPoint& s) -> CADMathPoint {
    return {margin + (s.x - minX) * scale, margin + (s.y - minY) * scale, s.z};
  };

  std::vector<Drawn> drawn;
  for (const Placed& placed : placed_) {
    CADMathBox onScreen;
    double depth = 0;
    bool anyDrawn = false;
    for (const CADGeometryBody& body : placed.document->GetBodies()) {
      for (const auto& t : body.triangles) {
        if (!IsValid(t, body.vertices.size())) continue;
        Drawn d{};
        d.colour = placed.colour;
        CADMathBox extent;
        for (int k = 0; k < 3; ++k) {
          d.screen[k] =
              toPixels(Project(placed.position * body.vertices[static_cast<size_t>(t[static_cast<size_t>(k)])]));
          d.depth += d.screen[k].z / 3;
          extent.AddInPlace({d.screen[k].x, d.screen[k].y, 0});
        }
        onScreen.AddInPlace(extent);
        depth = d.depth;
        if (extent.GetHigh().x - extent.GetLow().x < kFinestDetail &&
            extent.GetHigh().y - extent.GetLow().y < kFinestDetail)
          continue;
        drawn.push_back(d);
        anyDrawn = true;
      }
    }
    if (!anyDrawn && !onScreen.IsEmpty()) {
      Drawn dot{};
      dot.screen[0] = onScreen.GetLow(), dot.screen[1] = onScreen.GetHigh();
      dot.depth = depth, dot.colour = placed.colour, dot.dot = true;
      drawn.push_back(dot);
    }
  }
  const double width = (maxX - minX) * scale + 2 * margin,
               height = (maxY - minY) * scale + 2 * margin + 20.0 * static_cast<double>(parts_.size());
  KeepVisible(drawn, static_cast<int>(std::ceil(width)),
              static_cast<int>(std::ceil((maxY - minY) * scale + 2 * margin)));
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width) + "\" height=\"" +
                    Number(height) + "\" viewBox=\"0 0 " + Number(width) + " " + Number(height) + "\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  for (const Drawn& d : drawn) {
    const std::string colour = kPalette[static_cast<size_t>(d.colour) % kPalette.size()];
    if (d.dot) {
      const double w = std::max(1.0, d.screen[1].x - d.screen[0].x), h = std::max(1.0, d.screen[1].y - d.screen[0].y);
      svg += "<rect x=\"" + Number(d.screen[0].x) + "\" y=\"" + Number(d.screen[0].y) + "\" width=\"" + Number(w) +
             "\" height=\"" + Number(h) + "\" fill=\"" + colour + "\"/>\n";
      continue;
    }
    svg += "<polygon points=\"";
    for (int k = 0; k < 3; ++k) svg += Number(d.screen[k].x) + "," + Number(d.screen[k].y) + (k < 2 ? " " : "");
    svg += "\" fill=\"" + colour + "\" stroke=\"#333\" stroke-width=\"0.3\" stroke-opacity=\"0.4\"/>\n";
  }
  if (!corners.empty()) {
    svg += "<g id=\"box\" stroke=\"#000\" stroke-width=\"1\" stroke-dasharray=\"4 3\" fill=\"none\">\n";
    for (int i = 0; i < 8; ++i)
      for (int bit : {1, 2, 4})
        if (!(i & bit)) {
          const CADMathPoint a = toPixels(corners[static_cast<size_t>(i)]),
                             b = toPixels(corners[static_cast<size_t>(i | bit)]);
          svg += "<line x1=\"" + Number(a.x) + "\" y1=\"" + Number(a.y) + "\" x2=\"" + Number(b.x) + "\" y2=\"" +
                 Number(b.y) + "\"/>\n";
        }
    svg += "</g>\n";
  }
  const double legend = (maxY - minY) * scale + 2 * margin;
  if (triangleCount_ == 0)
    svg += "<text x=\"" + Number(margin) + "\" y=\"" + Number(margin) + "\">no geometry</text>\n";
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
