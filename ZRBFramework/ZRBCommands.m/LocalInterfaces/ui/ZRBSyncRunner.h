// What the job list asks of the command that filled it. The synchronise command (a higher layer) implements it
// and hands itself to the list, so the list runs rows without knowing how a row reaches the PDM.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"
#include "ZRBSyncJob.h"

class ZRBSyncRunner {
 public:
  virtual ~ZRBSyncRunner() = default;
  // Runs one row's operation; what it reported goes to `messages`. A failed row restores what it touched.
  virtual ZRBSyncResult RunJob(ZRBSyncJob& job, CADListValCADUnicodeString& messages) = 0;
  // After the last row: the workbench entries, then (unless the list is a drawing's) the whole structure's
  // update without interaction. Succeeded, Warning or Failed.
  virtual ZRBSyncResult Finish(bool drawing, CADListValCADUnicodeString& messages) = 0;
  // Validation of the rows against the PDM: negative when it could not run; else `allValid` and per row a
  // message for the rows the PDM refused (`refusals` indexed like the list, empty for accepted rows).
  virtual int Validate(const class ZRBSyncJobList& jobs, bool& allValid, CADListValCADUnicodeString& refusals) = 0;
};
