// The checks in the session that a product structure must pass before it becomes an archive (attach) or is stored
// again (update): what the root and each member may be, one file per part number, no hidden member, the
// unique-parent rule. The content marks one run sets are remembered, so that a failed attach can take them back.
#pragma once

#include <vector>

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBCommand;

class ZRBArchiveCadValidation {
 public:
  explicit ZRBArchiveCadValidation(ZRBCommand& command) : command_(command) {}

  // 1 when `root` may be an archive. `attachMode`: a new archive is made of it; `checkParents`: the unique-parent
  // rule applies. 0 with the reason in `message` (also in the warnings where the refusal concerns the session's
  // state); the marks this run set are then taken back.
  int ValidateArchiveInCad(const CADIProduct_var& root, CADUnicodeString& message, int attachMode, int checkParents);
  // One member below the root: its kind, its children, and an analysis' links.
  static int ValidateSingleArchiveProductInCad(const CADIProduct_var& member, CADUnicodeString& message,
                                               int attachMode);
  // An analysis document holds parts, products and models; computations only with
  // "ZRB_ENABLE_ANALYSIS_COMPUTATION_IGNORE".
  static int ValidateArchiveAnalysisInCad(const CADIProduct_var& analysis, CADUnicodeString& message, int attachMode);
  static int CheckForConsistentPartNumbersInArchive(const std::vector<CADIProduct_var>& products,
                                                    CADUnicodeString& message, int& result);
  // Members hidden in their parent (analysis members are not looked at); result 0 when there is one.
  static int CheckForHiddenObjectsInArchive(const CADIProduct_var& root, CADListValCADUnicodeString& hiddenPaths,
                                            CADListValCADUnicodeString& partNumbers, int& result);
  // Must the archive be stored again: a member changed or was added, or its non-CAD files changed.
  static int IsArchiveDirty(ZRBCommand& command, const CADIProduct_var& root, const CADUnicodeString& contentFile);
  // The members of `root` (all levels, depth first), null products skipped.
  static std::vector<CADIProduct_var> Members(const CADIProduct_var& root);

  // Takes back the "ZRB_CONTENT_IN_ARC" marks this object set (and the first-parent marks of tables).
  void RemoveMarks();

 private:
  int CheckUniqueParent(const CADIProduct_var& member, const CADUnicodeString& rootPartNumber,
                        CADUnicodeString& message);

  ZRBCommand& command_;
  std::vector<CADIProduct_var> marked_;
  std::vector<CADUnicodeString> markedTables_;
};
