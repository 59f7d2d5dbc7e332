// The dependent-documents round trips shared by ZRBGetDepByCmd and ZRBExternalDocCmd: a query ("rfile.zrb",
// "x3GetDependencyInfo") that lists the related files of the selected PDM document, then a get ("gfile.zrb",
// "x3GetDependentFiles") that delivers them into the exchange map, where the read's part reader opens them.
#pragma once

#include <memory>

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class ZRBObject;
class ZRBObjectManager;

// The related files, position by position in four lists of equal length.
struct ZRBDependencyLists {
  CADListValCADUnicodeString obids;
  CADListValCADUnicodeString classNames;
  CADListValCADUnicodeString dbNames;
  CADListValCADUnicodeString files;
  void Clear();
  void RemovePosition(int i);
};

// One command object per run, user-interface thread only.
class ZRBGetDepBase : public ZRBOneStepCommand {
 public:
  // --- the selection: a product (with its identity) or, with a drawing window, the drawing's file
  // 1 found, 0 none. `drawingPath` is the drawing document's storage name when no product was selected.
  int GetSelectedObject(CADIProduct_var& product, CADUnicodeString& drawingPath);

  // --- the query round trip
  HRESULT BuildQueryObjMgr(const CADIProduct_var& product, const CADUnicodeString& drawingPath,
                           ZRBObjectManager& query);
  // Writes X/"rfile.zrb", runs the PDM and reads its answer back; `itemKey` is the one item the answer names.
  HRESULT GetInfoFromPdm(ZRBObjectManager& query, CADString& itemKey);
  // The "SOURCE_n" lists of the item's info object, duplicates dropped (with a warning each).
  HRESULT GetListOfDependendFiles(ZRBObjectManager& answer, const CADString& itemKey, ZRBDependencyLists& lists);
  // Removes every file name that occurs more than once (all its positions, one warning per name); the order of
  // the rest is kept. E_FAIL (all four lists emptied) when the lists differ in length.
  HRESULT CheckVersionOfFilesToBeRequested(ZRBDependencyLists& lists);

  // --- the get round trip
  HRESULT BuildGetObjMgr(ZRBObjectManager& get, const ZRBDependencyLists& lists);
  // Writes X/"gfile.zrb", runs the PDM, loads what it delivered. The stale files are back on every way out.
  HRESULT GetDependentFromPdm(ZRBObjectManager& get);

  int GetSuccessVariant() const { return successVariant_; }

  // "SOURCE_NUMBER" as a count: a plain non-negative decimal, anything else 0.
  static int ParseSourceNumber(const CADString& text);

 protected:
  explicit ZRBGetDepBase(const char* name);

  // --- what a command varies
  // Writes the query's request word into "COMMAND"; 1 success.
  virtual int SetTcCommand(ZRBObject* command) = 0;
  // The command's message catalog ("ZRBGetDepByCmd", "ZRBExternalDocCmd").
  virtual const char* Catalog() const = 0;
  // A step run after the list is known and before the get; the default does nothing.
  virtual void CompareWithSession(const CADIProduct_var& product, const ZRBDependencyLists& lists);

  Outcome Work() override;
  void ShowOutcome(int success) override;

 private:
  // Loads the delivered files of the answer; 1 when every delivered file was opened.
  int LoadDelivered(ZRBObjectManager& answer, const CADUnicodeString& xmap);
  int successVariant_ = 0;
};
