#include "ZRBSamStartCmd.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include "CADClassDictionary.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBPdmAction.h"
#include "ZRBTrace.h"

ZRBSamStartCmd* fctCreateZRBSamStartCmd() { return new ZRBSamStartCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamStartCmd", &fctCreateZRBSamStartCmd);
}  // namespace

std::optional<int> ZRBSamStartCmd::ReadPortFile(const CADUnicodeString& path) {
  std::ifstream file(path.str(), std::ios::binary);
  if (!file) {
    ZRB_DEBUG("ZRB: cannot open %s: the port stays as it was", path.c_str());
    return std::nullopt;
  }
  int port = 0;
  if (!file.read(reinterpret_cast<char*>(&port), sizeof port)) {
    ZRB_DEBUG("ZRB: %s holds fewer than %d bytes: the port stays as it was", path.c_str(),
              static_cast<int>(sizeof port));
    return std::nullopt;
  }
  return port;
}

int ZRBSamStartCmd::ExportPort(const char* port) {
  // setenv copies the text: the environment must not point into a buffer that goes away.
  if (::setenv("SAMCONNECTPORT", port, 1) == 0) return 1;
  ZRB_DEBUG("ZRB: SAMCONNECTPORT could not be set");
  return 0;
}

ZRBOneStepCommand::Outcome ZRBSamStartCmd::Work() {
  ZRB_TRACE("ZRBSamStartCmd::Work");
  const char* configured = g_ZRBConfig.GetEnvVar("CONNECTPORT", 1);
  const std::string before = configured ? configured : "";
  ExportPort(before.c_str());
  if (RunPdmAction(ZRBPdmAction::StartSam, CADUnicodeString(std::string(ZRBPdmAction::StartSam)), 0) < 0) {
    ZRB_DEBUG("ZRB: StartSam failed: the port settings stay as they were");
    return Outcome::Stopped;
  }
  CADUnicodeString xmap;
  if (!ZRBAfx::GetXMapWithEndingSlash(xmap)) {
    // A port file in the temporary directory would be anybody's.
    ZRB_DEBUG("ZRB: no exchange map: the port settings stay as they were");
    return Outcome::Stopped;
  }
  const std::optional<int> port = ReadPortFile(ZRBAfx::MakePath(xmap, kPortFileName));
  if (!port) return Outcome::Stopped;
  const std::string text = std::to_string(*port);
  ZRB_DEBUG("sConnectPort %s", text.c_str());
  if (text != before) {
    g_ZRBConfig.ChangeEnvVar("CONNECTPORT", text.c_str(), 1);
    ExportPort(text.c_str());
  }
  ZRB_TRACE_OK();
  return Outcome::Succeeded;
}
