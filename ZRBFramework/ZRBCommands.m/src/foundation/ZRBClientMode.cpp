#include "ZRBClientMode.h"

#include "ZRBConfigTopicManager.h"
#include "ZRBGlobalProperties.h"

namespace {
constexpr const char* kStandardConnection = "pdmcl -b --";
constexpr const char* kSamConnection = "samcl";
}  // namespace

ZRBClientMode ZRBClientMode::Standard() { return ZRBClientMode("", kStandardConnection, ""); }

ZRBClientMode ZRBClientMode::Sam() { return ZRBClientMode("SAM_", kSamConnection, "SAM"); }

ZRBClientMode ZRBClientMode::ForConnectionCommand(const CADUnicodeString& connectionCommand) {
  if (connectionCommand == kSamConnection) return Sam();
  if (connectionCommand.IsEmpty()) return Standard();
  return ZRBClientMode("", connectionCommand, "");
}

ZRBClientMode ZRBClientMode::Current() {
  ZRBGlobalProperties& globals = ZRBGlobalProperties::Process();
  return ZRBClientMode(g_ZRBConfig.GetModulePrefix(), globals.GetGlobalProperty("ZRB_CONNECTION_CMD"),
                       globals.GetGlobalProperty("ZRB_MESSAGE_PREFIX"));
}

void ZRBClientMode::Apply() const {
  g_ZRBConfig.SetModulePrefix(modulePrefix_);
  ZRBGlobalProperties& globals = ZRBGlobalProperties::Process();
  globals.SetGlobalProperty("ZRB_CONNECTION_CMD", connectionCommand_);
  globals.SetGlobalProperty("ZRB_MESSAGE_PREFIX", messagePrefix_);
}
