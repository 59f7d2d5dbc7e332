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
  // Path holding the document's root product (empty without one).
  CADPathElement GetActivePath() const;
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
};
