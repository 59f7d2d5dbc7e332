#include "ZRBExternalDocCmd.h"

#include "CADClassDictionary.h"
#include "CADDocumentServices.h"
#include "ZRBAfx.h"
#include "ZRBObject.h"
#include "ZRBTrace.h"

ZRBExternalDocCmd* fctCreateZRBExternalDocCmd() { return new ZRBExternalDocCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBExternalDocCmd", &fctCreateZRBExternalDocCmd);
}  // namespace

int ZRBExternalDocCmd::SetTcCommand(ZRBObject* command) {
  return command ? command->SetSlotValue("COMMAND", "REQUEST_QUERY_DEPENDENT") : 0;
}

void ZRBExternalDocCmd::CompareWithSession(const CADIProduct_var&, const ZRBDependencyLists& lists) {
  // The session's externals are the documents it holds; a file of the PDM's list it does not hold is reported
  // before the get brings it.
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  for (int i = 1; i <= lists.files.Size(); ++i) {
    const CADUnicodeString path = ZRBAfx::MakePath(xmap, lists.files[i]);
    if (CADDocumentServices::GetDocumentInSession(path)) continue;
    ZRB_DEBUG("ZRB: Actual Externals for %s: not loaded", lists.files[i].c_str());
    CADUnicodeString parameter = lists.files[i];
    GetInformations().Append(BuildMessage("ZRBExternalDocCmd", "NotLoaded", &parameter, 1));
  }
}
