#include "ZRBSetWorkplaneCmd.h"

#include <sys/stat.h>
#include <unistd.h>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBSetWorkplaneCmd* fctCreateZRBSetWorkplaneCmd(const CADString& parameter) {
  return new ZRBSetWorkplaneCmd(parameter);
}

namespace {
const CADClassDictionary::Registration g_registration("ZRBSetWorkplaneCmd", &fctCreateZRBSetWorkplaneCmd);
}  // namespace

ZRBSetWorkplaneCmd::~ZRBSetWorkplaneCmd() {
  if (commandFile_.IsEmpty()) return;
  // The PDM names the file; what sits under that name may be anything, and only its own command file is ours.
  struct stat status {};
  if (::lstat(commandFile_.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return;
  if (::access(commandFile_.c_str(), R_OK | W_OK) != 0) return;
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine("ZRB: Deleting file: '" + commandFile_.str() + "'");
  if (::unlink(commandFile_.c_str()) != 0 && ZRBTrace::IsOn())
    ZRBTrace::WriteLine("ZRB: CADDeleteFile(" + commandFile_.str() + ") failed");
}

ZRBOneStepCommand::Outcome ZRBSetWorkplaneCmd::Work() {
  ZRBAfx::SetShowMsg(1);
  if (!SetWorkplane()) {
    ZRB_DEBUG("ZRBSetWorkplaneCmd failed!");
    if (ZRBAfx::MustShowMsg()) ShowMessage("ZRBSetWorkplaneCmd", "SetWorkplaneFailed", kFailureStyle);
  } else {
    ZRBAfx::SetCadWindowTop();
  }
  return Outcome::Stopped;
}

int ZRBSetWorkplaneCmd::SetWorkplane() {
  ZRB_TRACE("ZRBSetWorkplaneCmd::SetWorkplane");
  ZRBObjectManager objects;
  if (commandFile_.IsEmpty() || !objects.Read(commandFile_)) {
    ZRB_DEBUG("ZRB: ZRB exchangefile not found");
    ZRBAfx::SetShowMsg(0);
    CADUnicodeString parameters[1] = {commandFile_};
    ShowMessage("ZRBSetWorkplaneCmd", "NoFileAccess", kFailureStyle, parameters, 1);
    return 0;
  }
  objects.Dump();
  const int result = SetWorkplaneFromObject(objects.GetObject("ROOT"));
  if (result) ZRB_TRACE_OK();
  return result;
}

int ZRBSetWorkplaneCmd::SetWorkplaneFromObject(ZRBObject* root) {
  if (!root) {
    ZRB_DEBUG("ZRB: the ZRBObject is NULL");
    return 0;
  }
  const CADString obid = root->GetSlotValue("EDESC_ID");
  const CADListValCADString relations = root->GetSlotValueList("NHA_ID_LIST");
  CADFrmEditor* editor = GetEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  if (!document) {
    ZRB_DEBUG("ZRB: the Editor is NULL");
    return 0;
  }
  ZRB_DEBUG("ZRB: Searching Document: '%s'", document->StorageName().c_str());
  CADIProduct_var top;
  if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &top)) || !top) return 0;
  CADPathElement path{CADBaseUnknown_var(top)};
  if (relations.Size() > 0) {
    CADIProduct_var found;
    if (!GetPartWithPath(top, obid, relations, found, path, 0)) return 0;
    if (!SetWorkplaneToPart(editor, found, path)) {
      ZRB_DEBUG("ZRB: SetWorkplaneToPart failed");
      return 0;
    }
    return 1;
  }
  const CADUnicodeString rootObid = GlobPropertyManager.GetReferenceProperty(top, "ZRB_OBID");
  if (rootObid.IsEmpty() || !(rootObid == CADUnicodeString(obid))) return 0;
  return SetWorkplaneToPart(editor, top, path);
}

int ZRBSetWorkplaneCmd::SetWorkplaneToPart(CADFrmEditor* editor, const CADIProduct_var& product,
                                           const CADPathElement& path) {
  if (!editor) {
    ZRB_DEBUG("ZRB: the Editor is NULL");
    return 0;
  }
  if (!product || FAILED(editor->SetActivePath(path, 1))) {
    ZRB_DEBUG("ZRB: SetActivePath failed");
    return 0;
  }
  return 1;
}
