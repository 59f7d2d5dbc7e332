// Makes the part instance the PDM names (by its OBID and the relation path from the root) the active object of
// the current window, and brings the host's window to the front. Started by the PDM through the automation
// component with the path of its command file, which the command deletes when it goes.
#pragma once

#include <string>

#include "CADIProduct.h"
#include "CADPathElement.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class CADFrmEditor;
class ZRBObject;

// User-interface thread only. Results: 1 success, 0 failure.
class ZRBSetWorkplaneCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  explicit ZRBSetWorkplaneCmd(const CADString& parameter = CADString())
      : ZRBOneStepCommand("ZRBSetWorkplaneCmd"), parameter_(parameter), commandFile_(parameter) {}
  // Deletes the command file when it is a regular file; a directory or a link named there is left alone.
  ~ZRBSetWorkplaneCmd() override;
  const CADString& GetParameter() const { return parameter_; }

  // --- the steps
  int SetWorkplane();
  int SetWorkplaneFromObject(ZRBObject* root);
  static int SetWorkplaneToPart(CADFrmEditor* editor, const CADIProduct_var& product, const CADPathElement& path);

 protected:
  Outcome Work() override;

 private:
  CADString parameter_;
  CADUnicodeString commandFile_;
};

ZRBSetWorkplaneCmd* fctCreateZRBSetWorkplaneCmd(const CADString& parameter);
