#include "CADFrmWindow.h"

#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"

CADFrmWindow::CADFrmWindow(CADFrmEditor* editor, CADUnicodeString name) : editor_(editor), name_(std::move(name)) {
  editor_->AddRef();
  editor_->window_ = this;
}

CADFrmWindow::~CADFrmWindow() {
  editor_->window_ = nullptr;
  editor_->Release();
}

CADDocument* CADFrmWindow::GetDocument() const { return editor_->GetDocument(); }

HRESULT CADFrmWindow::GetRootProduct(CADIProduct_var& root) const {
  CADDocument* document = GetDocument();
  root = document ? document->GetRootProduct() : nullptr;
  return root ? S_OK : E_FAIL;
}

HRESULT CADFrmWindow::Close() { return CADFrmLayout::GetCurrentLayout().CloseWindow(this); }
