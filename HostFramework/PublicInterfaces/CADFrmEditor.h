// The editor of a window: the document it edits, its title, its current
// selection and the active root path.
#pragma once

#include "CADBaseUnknown.h"
#include "CADCSO.h"
#include "CADPathElement.h"
#include "CADUnicodeString.h"

class CADDocument;
class CADFrmWindow;

class CADFrmEditor : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADFrmEditor)

 public:
  // The editor of the current window of the current layout; null when no
  // window is open.
  static CADFrmEditor* GetCurrentEditor();

  CADDocument* GetDocument() const;
  CADCSO* GetCSO() { return &cso_; }
  // Title shown on the window frame (the document's file name by default).
  const CADUnicodeString& GetTitle() const { return title_; }
  void SetTitle(const CADUnicodeString& title) { title_ = title; }
  // The active (work) object's path: the one set last while it still starts at the document's root product,
  // otherwise the path holding just that root (empty without one).
  CADPathElement GetActivePath() const;
  // Makes `path` the active path. It must start at the document's root product and be non-empty (E_FAIL
  // otherwise, nothing changes). `update` non-zero counts as a change the display shows.
  HRESULT SetActivePath(const CADPathElement& path, int update);
  CADFrmWindow* GetWindow() const { return window_; }

 private:
  friend class CADFrmLayout;
  friend class CADFrmWindow;
  explicit CADFrmEditor(CADDocument* document);
  ~CADFrmEditor() override;

  CADDocument* document_;           // one reference held
  CADFrmWindow* window_ = nullptr;  // the window showing this editor (not owned)
  CADUnicodeString title_;
  CADCSO cso_;
  CADPathElement activePath_;  // empty: the root is active
};
