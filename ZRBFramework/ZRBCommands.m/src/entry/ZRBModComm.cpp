#include "ZRBModComm.h"

#include <charconv>
#include <string>
#include <variant>

#include "CADAutomationSnapshot.h"
#include "CADClassDictionary.h"
#include "ZRBCommand.h"
#include "ZRBDummyCmd.h"
#include "ZRBInfoUtil.h"
#include "ZRBTrace.h"
#include "ZRBWriteArcXMLCmd.h"

namespace {

// Shared by every instance; user-interface thread only.
CADString& Status() {
  static CADString status;
  return status;
}

void PublishStatus() { CADAutomationSnapshot::Publish(ZRBModComm::kClassName, "Status", Status().view()); }

// Every command start through the component is followed by a dummy command's construction and immediate
// destruction request, which puts the process back into the standard client's mode.
void FollowWithDummyCommand() { (new ZRBDummyCmd())->RequestDelayedDestruction(); }

// What StartCmd creates for a command name.
struct StartTarget {
  const char* className = nullptr;
  CADClassArgument argument;
  const char* debugLine = nullptr;  // null: none
};

bool ResolveStart(const CADString& command, const CADString& argument, StartTarget& target) {
  if (command == "ZRBReadCmd") {
    target = {"ZRBReadCmd", argument == "ZRB_ADD_CMD" ? 5 : 1, "ZRB: Activate Read Command"};
  } else if (command == "SZRBImportCmd") {
    target = {"ZRBReadCmd", 2, nullptr};
  } else if (command == "ZRBReadMarkedCmd") {
    target = {"ZRBReadMarkedCmd", {}, "ZRB: Activate Read Marked Command"};
  } else if (command == "ZRBHighlightCmd") {
    target = {"ZRBHighlightCmd", argument, "ZRB: Activate Highlight Command"};
  } else if (command == "ZRBSetWorkplaneCmd") {
    target = {"ZRBSetWorkplaneCmd", argument, "ZRB: Set Workplane Command"};
  } else if (command == "ZRB_ADD_CMD") {
    target = {"ZRBReadCmd", 5, "ZRB: Activate Read Command"};
  } else {
    return false;
  }
  return true;
}

// A whole decimal integer with an optional sign; anything else is refused.
bool ParseFlag(const CADUnicodeString& text, int& value) {
  std::string_view digits = text.view();
  if (digits.starts_with('+')) digits.remove_prefix(1);
  if (digits.empty() || (digits.front() != '-' && (digits.front() < '0' || digits.front() > '9'))) return false;
  if (text.view().starts_with('+') && digits.front() == '-') return false;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size();
}

}  // namespace

void ZRBModComm::ResetStatus() {
  Status() = CADString();
  PublishStatus();
}

int ZRBModComm::GetStatus(CADString& status) {
  status = Status();
  return 1;
}

int ZRBModComm::SetStatus(const CADString& status) {
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine("ZRB: changing status to: '" + status.str() + "'");
  Status() = status;
  PublishStatus();
  return 1;
}

int ZRBModComm::StartCmd(const CADString& command, const CADString& argument) {
  ZRB_TRACE("ZRBModComm::StartCmd");
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine("iCommand:" + command.str());
  StartTarget target;
  if (!ResolveStart(command, argument, target)) return 0;

  ZRBCommand* started = CADClassDictionary::CreateAs<ZRBCommand>(target.className, target.argument);
  if (!started) {
    ZRB_DEBUG("ZRB: could not create %s", target.className);
    return 0;
  }
  if (target.debugLine) ZRB_DEBUG("%s", target.debugLine);
  // The command owns itself from here: it requests its own delayed destruction when it ends.
  started->Activate(nullptr, nullptr);
  FollowWithDummyCommand();
  ZRB_TRACE_OK();
  return 1;
}

int ZRBModComm::WriteXml(const CADUnicodeString& first, const CADUnicodeString& second,
                         CADListValCADUnicodeString& messages) {
  ZRB_TRACE("ZRBModComm::WriteXml");
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine("iCommand:" + first.str() + " " + second.str());
  auto* command = new ZRBWriteArcXMLCmd(first, second);
  ZRB_DEBUG("ZRB: Activate WriteArcXML Command");
  command->Activate(nullptr, nullptr);
  const CADListValCADUnicodeString& warnings = command->GetWarnings();
  for (int i = 1; i <= warnings.Size(); ++i) messages.Append(warnings[i]);
  command->RequestDelayedDestruction();
  FollowWithDummyCommand();
  ZRB_TRACE_OK();
  return 1;
}

int ZRBModComm::SetUseDesignTables(const int flag) {
  ZRBInfoUtil::SetUseDesigTables(flag);
  return 1;
}

HRESULT ZRBModComm::Invoke(const CADString& method, const CADListValCADUnicodeString& arguments, int& result) {
  const int count = arguments.Size();
  auto text = [&](int i) { return arguments[i].ConvertToString(); };
  if (method == "GetStatus") {
    if (count != 0) return E_INVALIDARG;
    CADString status;
    result = GetStatus(status);
  } else if (method == "SetStatus") {
    if (count != 1) return E_INVALIDARG;
    result = SetStatus(text(1));
  } else if (method == "StartCmd") {
    if (count < 1 || count > 2) return E_INVALIDARG;
    result = StartCmd(text(1), count == 2 ? text(2) : CADString());
  } else if (method == "WriteXml") {
    if (count != 2) return E_INVALIDARG;
    CADListValCADUnicodeString messages;
    result = WriteXml(arguments[1], arguments[2], messages);
    // The caller is another process; what the command had to say stays in this session's trace.
    for (int i = 1; i <= messages.Size(); ++i) ZRB_DEBUG("ZRB: WriteXml: %s", messages[i].c_str());
  } else if (method == "SetUseDesignTables") {
    int flag = 0;
    if (count != 1 || !ParseFlag(arguments[1], flag)) return E_INVALIDARG;
    result = SetUseDesignTables(flag);
  } else {
    return E_FAIL;
  }
  return S_OK;
}
