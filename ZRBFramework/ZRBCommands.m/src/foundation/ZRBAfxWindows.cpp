#include <string>

#include "CADApplication.h"
#include "CADWindowRaiser.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"

namespace {

void Debug(std::string_view line) { ZRB_DEBUG("ZRB: %.*s", static_cast<int>(line.size()), line.data()); }

bool WindowManagementDisabled() {
  if (!g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_WM_SUPPORT", "ON", 1)) return false;
  ZRB_DEBUG("ZRB: window management disabled");
  return true;
}

}  // namespace

int ZRBAfxBase::SetWorkBenchWindowTop() {
  ZRB_TRACE("ZRBAfx::SetWorkBenchWindowTop");
  if (WindowManagementDisabled()) return 1;
  // The PDM workbench's window title starts with a blank.
  auto result = CADWindowRaiser::RaiseByNamePrefix(" CAD-Workbench", Debug);
  if (result == CADWindowRaiser::Result::NoDisplay) return 0;
  ZRB_TRACE_OK();
  return 1;
}

int ZRBAfxBase::SetCadWindowTop() {
  ZRB_TRACE("ZRBAfx::SetCadWindowTop");
  if (WindowManagementDisabled()) return 1;
  // The session's own main window, which a headless host keeps without a display.
  if (CADApplication* application = CADApplication::MainApplication()) application->GetMainWindow().Raise();
  auto result = CADWindowRaiser::RaiseByClassName("CADHOST", Debug);
  if (result == CADWindowRaiser::Result::NoDisplay) return 0;
  ZRB_TRACE_OK();
  return 1;
}
