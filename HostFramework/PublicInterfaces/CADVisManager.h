// The host's visualisation of the windows: one viewer per window whose main
// 3D viewpoint holds a representation tree mirroring the window's product
// structure (a bag per assembly node, a bag of bodies per part). The tree is
// made when the viewer is first asked for; products added later get their
// representations only from a modification event, as on a real host.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "CAD3DRep.h"
#include "CADBaseTypes.h"
#include "CADIProduct.h"
#include "CADRender.h"

class CADFrmWindow;
class CADPathElement;

// The representations along a path element, root first.
using CADRepPath = std::vector<CAD3DRepPtr>;

enum class CADModelEvent { Modification, Redraw };

class CADViewer {
 public:
  CAD3DViewpoint* GetMain3DViewpoint() { return &viewpoint_; }

 private:
  CAD3DViewpoint viewpoint_;
};

class CADVisManager {
 public:
  static CADVisManager& Get();
  CADVisManager(const CADVisManager&) = delete;
  CADVisManager& operator=(const CADVisManager&) = delete;

  // The viewer of a window (made with its tree on first call); null for a null window.
  CADViewer* GetViewer(CADFrmWindow* window);
  // The representation of every product of `path` in the viewpoint, root first. E_FAIL and an empty
  // `reps` when a level has no representation (yet) or the viewpoint is not a viewer's.
  HRESULT GenerateRepPathFromPathElement(const CADPathElement& path, const CAD3DViewpoint* viewpoint,
                                         CADRepPath& reps) const;
  // A modification event builds what the product lacks in every viewer that shows its father and marks its
  // geometry for rebuilding; a redraw is only counted.
  void Dispatch(const CADIProduct_var& product, CADModelEvent event);
  int GetRedrawCount() const { return redraws_; }
  // Drops every viewer (tests, session unload).
  void Reset();

 private:
  struct Viewer;
  CADVisManager() = default;
  ~CADVisManager();
  std::map<const CADFrmWindow*, std::unique_ptr<Viewer>> viewers_;
  int layoutSubscription_ = -1;
  int redraws_ = 0;
};
