// The automation interface of the module-communication component "ZRBModComm": how the PDM side starts module
// commands in the CAD session and sets the status word that waiting commands poll. It is a dispatch interface,
// so the host's automation bridge reaches the same operations by method name.
#pragma once

#include "CADIAutomation.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBIModComm : public CADIAutomation {
  CAD_DECLARE_INTERFACE(ZRBIModComm)

 public:
  // Every operation returns 1 when done. Called on the host's user-interface thread only.
  virtual int GetStatus(CADString& status) = 0;
  virtual int SetStatus(const CADString& status) = 0;
  // 1 when the command name is known (and the command was started), 0 otherwise.
  virtual int StartCmd(const CADString& command, const CADString& argument) = 0;
  // Writes the archive XML of a product; the command's warnings are appended to `messages`.
  virtual int WriteXml(const CADUnicodeString& first, const CADUnicodeString& second,
                       CADListValCADUnicodeString& messages) = 0;
  virtual int SetUseDesignTables(const int flag) = 0;
};

using ZRBIModComm_var = CADVar<ZRBIModComm>;
