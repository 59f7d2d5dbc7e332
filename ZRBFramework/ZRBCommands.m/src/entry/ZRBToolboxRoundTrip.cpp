#include "ZRBToolboxRoundTrip.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <charconv>
#include <fstream>

#include "ZRBAfx.h"
#include "ZRBClientMode.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBReplacingFile.h"
#include "ZRBToolboxApi.h"
#include "ZRBToolboxUtil.h"
#include "ZRBTrace.h"

namespace {

// Removes `path`; false (traced, and shown when `show`) when something is still there afterwards.
bool RemoveFile(const std::string& path, bool show) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
  ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", path.c_str());
  if (show) ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBToolboxApi", "ZRBToolboxApi.NoFileAccess"), 0x8000200);
  return false;
}

int ParseCode(const CADString& text) {
  const std::string value(ZRBToolboxUtil::Trim(text.str()));
  int code = -1;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), code);
  return (error == std::errc() && end == value.data() + value.size() && !value.empty()) ? code : -1;
}

// The whole data file, bounded: a hostile or runaway file is refused, not read into memory.
int ReadValue(const std::string& path, std::string& value) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return ZRB_TOOLBOX_NO_VALUE;
  std::string bytes(ZRBToolboxUtil::kMaxValue + 2, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (bytes.size() > ZRBToolboxUtil::kMaxValue + 1) {
    ZRB_DEBUG("ZRB: %s holds more than %zu bytes; not taken", path.c_str(), ZRBToolboxUtil::kMaxValue);
    return ZRB_TOOLBOX_BAD_VALUE;
  }
  value = ZRBToolboxUtil::Trim(bytes);
  if (value.size() > ZRBToolboxUtil::kMaxValue) return ZRB_TOOLBOX_BAD_VALUE;
  return ZRB_TOOLBOX_OK;
}

}  // namespace

int ZRBToolboxRoundTrip::Run(std::string_view word, ZRBObjectManager& request, const std::string* putValue,
                             std::string* gotValue, int* pdmCode) {
  if (pdmCode) *pdmCode = -1;
  // A toolbox may call before any command of the session set the client: then it talks to the standard one.
  if (ZRBClientMode::Current().GetConnectionCommand().IsEmpty()) ZRBClientMode::Standard().Apply();
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  const std::string requestPath = xmap.str() + "/toolbox.zrb";
  const std::string dataPath = xmap.str() + "/data.zrb";

  // A value left by an earlier call must never pass for this one's answer.
  if (!RemoveFile(dataPath, true)) return ZRB_TOOLBOX_NO_FILE_ACCESS;
  if (putValue && !ZRBReplacingFile::WriteWhole(dataPath, *putValue)) {
    ZRB_DEBUG("ZRB: Failed to write %s", dataPath.c_str());
    return ZRB_TOOLBOX_NO_FILE_ACCESS;
  }
  if (!RemoveFile(requestPath, true)) return ZRB_TOOLBOX_NO_FILE_ACCESS;
  if (!request.Write(CADUnicodeString(requestPath))) {
    ZRB_DEBUG("ZRB: Failed to write %s", requestPath.c_str());
    ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBToolboxApi", "ZRBToolboxApi.NoFileAccess"), 0x8000200);
    return ZRB_TOOLBOX_NO_FILE_ACCESS;
  }

  const int called = ZRBPdmRequest::Run(word, ZRBPdmAction::Line(word, CADUnicodeString(requestPath)));
  if (putValue) RemoveFile(dataPath, false);
  if (called < 0) return ZRB_TOOLBOX_CONNECT_FAILED;

  ZRBObjectManager answer;
  const ZRBObject* root =
      ZRBPdmRequest::ReadWholeAnswer(CADUnicodeString(requestPath), answer) ? answer.GetObject("ROOT") : nullptr;
  if (!root) {
    ZRB_DEBUG("Cannot read Root Obj from %s", requestPath.c_str());
    ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBToolboxApi", "ZRBToolboxApi.NoAnswerFromPdm"), 0x8000200);
    if (gotValue) RemoveFile(dataPath, false);
    return ZRB_TOOLBOX_NO_ANSWER;
  }
  const ZRBObject* command = answer.GetObject("COMMAND");
  const int code = command ? ParseCode(command->GetSlotValue("RETURN_CODE")) : -1;
  if (pdmCode) *pdmCode = code;
  if (root->GetSlotValue("ACTION_SUCCESS") != "1") {
    ZRB_DEBUG("ACTION_SUCCESS != 1");
    if (gotValue) RemoveFile(dataPath, false);
    return ZRB_TOOLBOX_PDM_FAILED;
  }
  if (!gotValue) return code > 0 ? ZRB_TOOLBOX_PDM_FAILED : ZRB_TOOLBOX_OK;
  const int read = ReadValue(dataPath, *gotValue);
  RemoveFile(dataPath, false);
  return read;
}
