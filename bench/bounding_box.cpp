// Speed of the bounding box of a product structure from the parts' visualisation: a flat structure of many
// instances over a hundred part documents, each part a tessellated grid of the given number of triangles.
// The time should grow linearly with instances x triangles. The session runner's SVG picture of the same
// structure is measured beside it (collecting the placed triangles, and rendering them).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADIMovable.h"
#include "CADVisManager.h"
#include "ZRBProductBox.h"
#include "ZRBSessionSvgView.h"

namespace {

CADGeometryBody Grid(int triangles) {
  CADGeometryBody body;
  const int side = std::max(1, static_cast<int>(std::sqrt(triangles / 2)));
  for (int y = 0; y <= side; ++y)
    for (int x = 0; x <= side; ++x) body.vertices.push_back({double(x), double(y), double((x * y) % 7)});
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int a = y * (side + 1) + x, b = a + 1, c = a + side + 1, d = c + 1;
      body.triangles.push_back({a, b, d});
      body.triangles.push_back({a, d, c});
    }
  return body;
}

// A flat structure of `instances` over a hundred part documents, open in a window.
struct GridStructure {
  GridStructure(int instances, int triangles) {
    CADDocumentServices::ResetSession();
    CADDocumentServices::SetNewDocumentDirectory("/tmp");

    CADDocumentServices::New("CADProduct", assembly);
    std::vector<CADDocument*> parts(100);
    for (CADDocument*& part : parts) {
      CADDocumentServices::New("CADPart", part);
      part->SetBodies({Grid(triangles)});
    }
    root = assembly->GetRootProduct();
    for (int i = 0; i < instances; ++i) {
      CADIProduct_var child;
      root->AddExternalComponent(parts[static_cast<size_t>(i) % parts.size()], child);
      CADIMovable_var(child)->SetPosition(CADMathTransformation::Translation(i * 3.0, i % 17, 0) *
                                          CADMathTransformation::Rotation(2, i * 7.0));
    }

    CADFrmLayout::GetCurrentLayout().OpenWindow(assembly, window);
  }
  ~GridStructure() {
    root = nullptr;
    CADFrmLayout::GetCurrentLayout().Reset();
    CADVisManager::Get().Reset();
    CADDocumentServices::ResetSession();
  }
  CADDocument* assembly = nullptr;
  CADIProduct_var root;
  CADFrmWindow* window = nullptr;
};

void BM_ProductBox(benchmark::State& state) {
  const int instances = static_cast<int>(state.range(0)), triangles = static_cast<int>(state.range(1));
  GridStructure grid(instances, triangles);
  for (auto _ : state) {
    CADMathBox box;
    benchmark::DoNotOptimize(
        ZRBProductBox::GetProductBoundingBox(nullptr, grid.root, box, CADMathTransformation::Identity(), grid.window));
  }
  state.SetItemsProcessed(state.iterations() * instances * triangles);
}
BENCHMARK(BM_ProductBox)->Args({1000, 100})->Args({1000, 1000})->Args({10000, 1000})->Unit(benchmark::kMillisecond);

void BM_SvgView(benchmark::State& state) {
  const int instances = static_cast<int>(state.range(0)), triangles = static_cast<int>(state.range(1));
  GridStructure grid(instances, triangles);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const ZRBSessionSvgView view({grid.root});
    const std::string svg = view.Render();
    bytes = svg.size();
    benchmark::DoNotOptimize(svg.data());
  }
  state.SetItemsProcessed(state.iterations() * instances * triangles);
  state.counters["svg_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SvgView)->Args({1000, 100})->Args({1000, 1000})->Args({10000, 1000})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
