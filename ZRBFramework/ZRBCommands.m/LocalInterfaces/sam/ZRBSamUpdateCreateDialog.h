// The SAM client's update/create job list: the same dialog under its own identifier and resource file
// ("ZRBSamUpdateCreateDialog", then "ZRBUpdateCreateDialog"); its rows run through the SAM synchronise command
// that opened it, so they reach "samcl".
#pragma once

#include "ZRBUpdateCreateDialog.h"

class ZRBSamUpdateCreateDialog : public ZRBUpdateCreateDialog {
 public:
  ZRBSamUpdateCreateDialog(ZRBSyncJobList& jobs, ZRBSyncRunner& runner, std::function<void()> closed)
      : ZRBUpdateCreateDialog(jobs, runner, std::move(closed), "ZRBSamUpdateCreateDialog") {}
  CADListValCADString GetResourceFilename() const override {
    return CADListValCADString{"ZRBSamUpdateCreateDialog", "ZRBUpdateCreateDialog"};
  }
};
