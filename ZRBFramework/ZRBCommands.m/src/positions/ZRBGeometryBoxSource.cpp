#include "ZRBGeometryBoxSource.h"

#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "ZRBModelBoxSource.h"
#include "ZRBProductBox.h"

namespace {

bool Compute(const CADIProduct_var& product, const CADUnicodeString& type, CADFrmWindow* window, CADMathBox& box) {
  if (!product || !window) return false;
  if (type == "CADPart" || type == "vis" || type == "model")
    return ZRBProductBox::GetPartBoundingBox(nullptr, product.get(), &box, window) == 1;
  return ZRBProductBox::GetProductBoundingBox(nullptr, product, box, CADMathTransformation::Identity(), window) == 1;
}

class GeometrySource final : public ZRBModelBoxSource {
 public:
  bool GetBox(const CADIProduct_var& product, CADDocument* document, CADFrmWindow* window, double low[3],
              double high[3]) override {
    if (!product || !document) return false;
    CADFrmLayout& layout = CADFrmLayout::GetCurrentLayout();
    CADMathBox box;
    bool done = Compute(product, document->GetType(), window ? window : layout.GetCurrentWindow(), box);
    // Not shown where it was asked for: a window on the document itself.
    if (!done) {
      const std::vector<CADFrmWindow*> own = layout.GetWindowsOf(document);
      done = !own.empty() && Compute(document->GetRootProduct(), document->GetType(), own.front(), box);
    }
    if (!done) return false;
    // A box without any point reports zeros.
    const CADMathPoint& l = box.GetLow();
    const CADMathPoint& h = box.GetHigh();
    low[0] = l.x, low[1] = l.y, low[2] = l.z;
    high[0] = h.x, high[1] = h.y, high[2] = h.z;
    return true;
  }
};

GeometrySource g_source;
[[maybe_unused]] const bool kInstalled = (ZRBModelBoxSource::Install(&g_source), true);

}  // namespace

void ZRBGeometryBoxSource::Install() { ZRBModelBoxSource::Install(&g_source); }
