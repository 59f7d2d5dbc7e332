#include "ZRBPdmRequest.h"

#include <cerrno>
#include <cstdio>

#include "ZRBAfx.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBObjectReadObserver.h"
#include "ZRBTrace.h"

ZRBObject* ZRBPdmRequest::AddRoot(ZRBObjectManager& request) {
  ZRBObject* root = request.CreateObject("ROOT");
  if (root) root->SetSlotValue("ACTION_SUCCESS", "0");
  return root;
}

ZRBObject* ZRBPdmRequest::AddCommand(ZRBObjectManager& request, std::string_view requestWord,
                                     const CADUnicodeString& xmap) {
  ZRBObject* command = request.CreateObject("COMMAND");
  if (!command) return nullptr;
  if (!requestWord.empty()) command->SetSlotValue("COMMAND", CADString(requestWord));
  if (!xmap.IsEmpty()) command->SetSlotValue("EXMAP", xmap.ConvertToString());
  return command;
}

namespace {

int RunAndTrace(std::string_view word, const CADUnicodeString& argument, int keepDisplayAlive) {
  const int result = ZRBAfx::ConnectPdm(argument, keepDisplayAlive);
  if (result < 0) {
    const int error = errno;
    ZRB_DEBUG("SYSTEM ConnectPdm %.*s failed with %d errno: %d", static_cast<int>(word.size()), word.data(), result,
              error);
  }
  return result;
}

}  // namespace

bool ZRBPdmRequest::ReadAnswer(const CADUnicodeString& path, ZRBObjectManager& answer) {
  if (answer.Read(path)) return true;
  ZRB_DEBUG("ZRB: ZRB exchangefile not found");
  ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBAfx", "ZRBAfx.ConnectFailed"), 0x8000200);
  ZRBAfx::SetShowMsg(0);
  return false;
}

namespace {

class StopObserver : public ZRBObjectReadObserver {
 public:
  bool WantsSlots() const override { return false; }
  void OnStop(long line, std::string_view) override { stoppedAt = line; }
  long stoppedAt = 0;
};

bool EndsWithLineEnd(const CADUnicodeString& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  int last = EOF;
  if (std::fseek(file, -1, SEEK_END) == 0) last = std::fgetc(file);
  std::fclose(file);
  return last == '\n';
}

}  // namespace

bool ZRBPdmRequest::ReadWholeAnswer(const CADUnicodeString& path, ZRBObjectManager& answer) {
  StopObserver observer;
  if (!answer.Read(path, observer)) return false;
  if (observer.stoppedAt || (answer.GetObjectCount() > 0 && !EndsWithLineEnd(path))) {
    // Half an answer passed for the whole one would confirm what the PDM never said.
    ZRB_DEBUG("ZRB: the answer %s is incomplete (line %ld)", path.c_str(), observer.stoppedAt);
    answer.ClearData();
    return false;
  }
  return true;
}

int ZRBPdmRequest::Run(std::string_view word, const CADUnicodeString& argument, int keepDisplayAlive) {
  const int result = RunAndTrace(word, argument, keepDisplayAlive);
  if (result < 0) ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBAfx", "ZRBAfx.ConnectFailed"), 0x8000200);
  return result;
}

int ZRBPdmRequest::RunQuietly(std::string_view word, const CADUnicodeString& argument) {
  return RunAndTrace(word, argument, 0);
}

ZRBPdmResult ZRBPdmRequest::ReadResult(const ZRBObject* object, ZRBPdmStep step) {
  if (!object) return ZRBPdmResult::Failed;
  const CADString value = object->GetSlotValue("ACTION_SUCCESS");
  if (step == ZRBPdmStep::FirstOfTwo) return value == "2" ? ZRBPdmResult::FirstStepDone : ZRBPdmResult::Failed;
  if (value == "1") return ZRBPdmResult::Succeeded;
  if (value == "3") return ZRBPdmResult::SucceededWithRemarks;
  if (value == "2" && step == ZRBPdmStep::OneStep) return ZRBPdmResult::CancelledByUser;
  return ZRBPdmResult::Failed;
}

void ZRBPdmRequest::AddStats(const ZRBObject& root, CADListValCADUnicodeString& messages) {
  for (const CADString& line : root.GetSlotValueList("STATS")) messages.Append(CADUnicodeString(line));
}
