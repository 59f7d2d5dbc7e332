// Compares a product structure with what the PDM knows and lists one job per node that needs work: product
// states, structure rules (a failure marks the node and its ancestors), the row decision, the operation, the
// added and removed children, part category and part type of new parts. Children come before their parent.
#pragma once

#include "CADIProduct.h"
#include "CADUnicodeString.h"
#include "ZRBSyncJob.h"

#include <vector>

class ZRBCommand;
class ZRBCommandStates;
class ZRBSyncJobList;

// User-interface thread only; one filling per object.
class ZRBSyncFiller {
 public:
  ZRBSyncFiller(ZRBCommandStates& states, ZRBSyncJobList& jobs, bool useFlag = false)
      : states_(states), jobs_(jobs), use_(useFlag) {}
  // The command whose archive check judges archive roots (none: archives pass).
  void SetCommand(ZRBCommand* command) { command_ = command; }
  // Fills the list from root; the nodes not from the PDM that were left out are counted.
  void Fill(const CADIProduct_var& root);
  int IgnoredNotFromPdm() const { return ignored_; }

 private:
  // true when the node (or a node below it) failed a rule.
  bool FillNode(const CADIProduct_var& node, const CADIProduct_var& father, bool parentFailed);
  void AddRow(const CADIProduct_var& node, const CADIProduct_var& father, int state, const CADUnicodeString& failure);
  // One row per design table of the node that is new, changed or gone; true when one failed a rule.
  bool TableRows(const CADIProduct_var& node, bool parentFailed, std::vector<ZRBSyncJob>& rows);
  bool NeedsRow(const CADIProduct_var& node, const CADUnicodeString& type, int state) const;

  ZRBCommandStates& states_;
  ZRBSyncJobList& jobs_;
  bool use_;
  ZRBCommand* command_ = nullptr;
  int ignored_ = 0;
  bool tables_ = false;                           // the PDM keeps design tables
  std::vector<CADIProduct_var> tableReferences_;  // parts whose tables have rows
};
