// A stand-in for the module's automation component, registered under its own
// class name so that it never meets the real one: it keeps the status word,
// publishes it for GetStatus, and journals every call in order.
#pragma once

#include <string>
#include <vector>

#include "CADIAutomation.h"

class FakeModComm : public CADIAutomation {
 public:
  static constexpr const char* kClassName = "TestFakeModComm";

  HRESULT Invoke(const CADString& method, const CADListValCADUnicodeString& arguments, int& result) override;
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIAutomation, CADBaseUnknown>(this, iid, out);
  }

  // Process-wide, like the real component's status.
  static std::string& Status();
  // "Verb arg1 arg2" per call, in the order performed.
  static std::vector<std::string>& Journal();
  static void Reset();
};
