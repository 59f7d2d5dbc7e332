#include "CADFrmEditor.h"

#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"

CADFrmEditor::CADFrmEditor(CADDocument* document) : document_(document) {
  if (document_) {
    document_->AddRef();
    title_ = document_->GetDisplayName();
  }
}

CADFrmEditor::~CADFrmEditor() {
  if (document_) document_->Release();
}

CADFrmEditor* CADFrmEditor::GetCurrentEditor() {
  CADFrmWindow* window = CADFrmLayout::GetCurrentLayout().GetCurrentWindow();
  return window ? window->GetEditor() : nullptr;
}

CADDocument* CADFrmEditor::GetDocument() const { return document_; }

CADPathElement CADFrmEditor::GetActivePath() const {
  CADPathElement path;
  if (document_) {
    CADIProduct_var root = document_->GetRootProduct();
    if (root && !activePath_.IsEmpty() && activePath_.GetElement(1).IsEqual(CADBaseUnknown_var(root)))
      return activePath_;
    if (root) path.AddChildElement(CADBaseUnknown_var(root));
  }
  return path;
}

HRESULT CADFrmEditor::SetActivePath(const CADPathElement& path, int update) {
  static_cast<void>(update);
  if (!document_ || path.IsEmpty()) return E_FAIL;
  CADIProduct_var root = document_->GetRootProduct();
  if (!root || !path.GetElement(1).IsEqual(CADBaseUnknown_var(root))) return E_FAIL;
  activePath_ = path;
  return S_OK;
}
