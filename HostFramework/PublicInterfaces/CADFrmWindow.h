// A window of the layout: shows one editor on one document under a name.
#pragma once

#include "CADBaseUnknown.h"
#include "CADIProduct.h"
#include "CADUnicodeString.h"

class CADDocument;
class CADFrmEditor;

class CADFrmWindow : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADFrmWindow)

 public:
  CADFrmEditor* GetEditor() const { return editor_; }
  CADDocument* GetDocument() const;
  // The document's root product; E_FAIL when it has none.
  HRESULT GetRootProduct(CADIProduct_var& root) const;
  // Window name: the document's file name, with ":n" for a second window on it.
  const CADUnicodeString& GetName() const { return name_; }
  void SetName(const CADUnicodeString& name) { name_ = name; }
  // Closes the window (see CADFrmLayout::CloseWindow).
  HRESULT Close();

 private:
  friend class CADFrmLayout;
  CADFrmWindow(CADFrmEditor* editor, CADUnicodeString name);
  ~CADFrmWindow() override;

  CADFrmEditor* editor_;  // one reference held
  CADUnicodeString name_;
};
