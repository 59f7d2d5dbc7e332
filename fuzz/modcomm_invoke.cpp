// Fuzzes what the PDM side hands the module-communication component through the automation dispatch: a method
// name and text arguments (TAB-separated here). Whatever arrives, the call answers with a known code, a status
// that was set reads back unchanged, and every command it starts has ended by the next loop turn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CADCommand.h"
#include "CADEventLoop.h"
#include "CADIAutomation.h"
#include "CADInstantiateComponent.h"
#include "ZRBAfx.h"
#include "ZRBIModComm.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// No command line reaches a shell while fuzzing.
const bool g_quietShell = [] {
  ZRBAfx::SetShellCall([](const char*) { return 0; });
  return true;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)g_quietShell;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  CADListValCADUnicodeString arguments;
  std::string method;
  bool first = true;
  while (true) {
    const size_t tab = input.find('\t');
    std::string field(input.substr(0, tab));
    if (first)
      method = field;
    else
      arguments.Append(field);
    first = false;
    if (tab == std::string_view::npos) break;
    input.remove_prefix(tab + 1);
  }

  void* raw = nullptr;
  Check(CADInstantiateComponent("ZRBModComm", CADIAutomation::ClassId(), &raw) == S_OK);
  auto* automation = static_cast<CADIAutomation*>(raw);
  int result = -1;
  const HRESULT hr = automation->Invoke(method.c_str(), arguments, result);
  Check(hr == S_OK || hr == E_INVALIDARG || hr == E_FAIL);
  if (hr == S_OK) Check(result == 0 || result == 1);

  if (hr == S_OK && method == "SetStatus") {
    void* again = nullptr;
    Check(CADInstantiateComponent("ZRBModComm", ZRBIModComm::ClassId(), &again) == S_OK);
    auto* component = static_cast<ZRBIModComm*>(again);
    CADString status;
    component->GetStatus(status);
    Check(status.str() == arguments[1].str());
    component->Release();
  }
  automation->Release();

  CADEventLoop::Instance().RunPending();
  Check(CADCommand::LiveCount() == 0);
  Check(CADEventLoop::Instance().PendingTimeOuts() == 0);
  return 0;
}
