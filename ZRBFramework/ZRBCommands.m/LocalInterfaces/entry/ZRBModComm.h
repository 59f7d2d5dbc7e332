// The module-communication component: the PDM side starts module commands through it and sets the status word
// that waiting two-step commands poll. Each instance is stateless; the status is one text for the process.
#pragma once

#include "ZRBIModComm.h"

// User-interface thread only (the automation bridge posts every call there). The status is also published to
// the host's automation snapshot, which the bridge's I/O thread reads for GetStatus.
class ZRBModComm : public ZRBIModComm {
 public:
  static constexpr const char* kClassName = "ZRBModComm";

  // --- ZRBIModComm
  int GetStatus(CADString& status) override;
  int SetStatus(const CADString& status) override;
  int StartCmd(const CADString& command, const CADString& argument) override;
  int WriteXml(const CADUnicodeString& first, const CADUnicodeString& second,
               CADListValCADUnicodeString& messages) override;
  int SetUseDesignTables(const int flag) override;

  // --- CADIAutomation: the operations above by name, arguments as texts
  HRESULT Invoke(const CADString& method, const CADListValCADUnicodeString& arguments, int& result) override;

  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<ZRBIModComm, CADIAutomation, CADBaseUnknown>(this, iid, out);
  }

  // --- process-wide status: back to "" (tests; module unload)
  static void ResetStatus();
};
