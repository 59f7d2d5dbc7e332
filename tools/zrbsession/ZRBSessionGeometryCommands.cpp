// Geometry of the session: importing a part's shape from an STL file and drawing the open structures as SVG.
#include <filesystem>

#include "CADDocument.h"
#include "CADStlReader.h"
#include "ZRBSessionCommandTable.h"
#include "ZRBSessionNodes.h"
#include "ZRBSessionOutput.h"
#include "ZRBSessionRunner.h"
#include "ZRBSessionSvgView.h"

namespace {

std::string Extent(const CADMathBox& box) {
  if (box.IsEmpty()) return "no geometry";
  const CADMathPoint l = box.GetLow(), h = box.GetHigh();
  char text[160];
  std::snprintf(text, sizeof text, "box %g %g %g .. %g %g %g", l.x, l.y, l.z, h.x, h.y, h.z);
  return text;
}

bool Geometry(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADDocument* document = ZRBSessionNodes::FindDocument(args[0]);
  if (!document) return runner.Fail("no document " + args[0]);
  const CADUnicodeString& type = document->GetType();
  if (!(type == "CADPart" || type == "vis" || type == "model"))
    return runner.Fail(args[0] + " is a " + type.str() + ": only parts, vis and model documents carry geometry");
  CADGeometryBody body;
  CADUnicodeString error;
  if (FAILED(CADStlReader::ReadFile(args[1].c_str(), body, error))) return runner.Fail(error.str());
  if (body.name.IsEmpty()) body.name = std::filesystem::path(args[1]).stem().string().c_str();
  const size_t triangles = body.triangles.size();
  document->SetBodies({std::move(body)});
  runner.Out().Line(args[0] + ": " + std::to_string(triangles) + " triangles, " +
                    Extent(document->GetBoundingBox(true)));
  return true;
}

bool View(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  std::vector<CADIProduct_var> roots;
  for (const ZRBSessionNode& node : ZRBSessionNodes::TopRoots()) roots.push_back(node.product);
  const ZRBSessionSvgView view(roots);
  std::string error;
  if (!view.Write(args[0], error)) return runner.Fail(error);
  runner.Out().Line("wrote " + args[0] + ": " + std::to_string(view.GetTriangleCount()) + " triangles, " +
                    Extent(view.GetBox()));
  return true;
}

}  // namespace

void ZRBSessionCommandTable::AddGeometryCommands(ZRBSessionCommandTable& table) {
  table.Add({"geometry", "geometry PART FILE.stl", "give a part its shape from a binary or ASCII STL file",
             "PART is a file name, a full path or a part number. The shape replaces the part's bodies and is "
             "kept when the part is saved.",
             2, 2, Geometry});
  table.Add({"view", "view FILE.svg", "draw the open structures as an orthographic picture",
             "Every part's triangles at its position, one colour per part, the bounding box dashed. Triangles hidden "
             "behind nearer ones or finer than half a pixel are left out; a part that small is a dot.",
             1, 1, View});
}
