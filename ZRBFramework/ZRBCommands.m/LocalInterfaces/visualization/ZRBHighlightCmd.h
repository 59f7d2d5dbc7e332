// Selects in the session what the PDM names in a highlight file: the selections of the windows that show a
// product from the PDM are emptied, then the products and models of the file are added, found by their OBIDs
// and relation paths. The file is always taken from the exchange map, whatever directory the argument names.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADPathElement.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class CADFrmEditor;
class ZRBObject;

// User-interface thread only. Results: 1 success, 0 failure (as each step documents).
class ZRBHighlightCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  explicit ZRBHighlightCmd(const CADString& parameter = CADString());
  const CADString& GetParameter() const { return parameter_; }
  const CADUnicodeString& GetHighlightFile() const { return highlightFile_; }

  // --- the steps
  int HighlightObjectsFromFile();
  // Empties the selection of every window whose root product came from the PDM; always 1.
  static int UnHighlightZRBProducts();
  int HighlightObject(ZRBObject* object);
  int HighlightModelOnTop(const CADListValCADString& ids);
  int HighlightObjectsWithPath(const CADString& edescId, const CADListValCADString& ids,
                               const CADListValCADString& nhaIds, const CADString& hlProduct,
                               const CADString& hlModels);
  // `above`: the path down to `root`'s father when `root` is a child of the window's workbench product (the
  // selected paths start at the window's root), else null.
  int HighlightModelsForProduct(const CADIProduct_var& root, CADFrmEditor* editor, const CADString& edescId,
                                const CADListValCADString& ids, const CADListValCADString& nhaIds,
                                const CADPathElement* above = nullptr);
  int HighlightProduct(const CADIProduct_var& root, CADFrmEditor* editor, const CADString& edescId,
                       const CADListValCADString& nhaIds, const CADPathElement* above = nullptr);
  int HighlightModelUnderPart(CADFrmEditor* editor, const CADIProduct_var& part, const CADPathElement& path,
                              const CADListValCADString& ids);

 protected:
  Outcome Work() override;

 private:
  CADString parameter_;
  CADUnicodeString highlightFile_;
};

ZRBHighlightCmd* fctCreateZRBHighlightCmd(const CADString& parameter);
