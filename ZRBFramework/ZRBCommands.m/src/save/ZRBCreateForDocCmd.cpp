#include "ZRBCreateForDocCmd.h"

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "ZRBPdmAction.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBCreateForDocCmd* fctCreateZRBCreateForDocCmd() { return new ZRBCreateForDocCmd(); }

namespace {

const CADClassDictionary::Registration g_registration("ZRBCreateForDocCmd", &fctCreateZRBCreateForDocCmd);

const ZRBDocumentDialogCmd::Words kWords{"ZRBCreateForDocCmd",
                                         "REQUEST_CREATEFORDOC",
                                         ZRBPdmAction::CreateCadPrtDocFrFile,
                                         ZRBPdmAction::CreateCadDrwDocFrFile,
                                         "CreateForDoc",
                                         "CreateForDocOk",
                                         true};

}  // namespace

ZRBCreateForDocCmd::ZRBCreateForDocCmd()
    : ZRBDocumentDialogCmd("ZRBCreateForDocCmd", ZRBRunningCommandKind::CreateForDocument, kWords) {}

int ZRBCreateForDocCmd::CheckDocument(CADDocument& document, bool drawing) {
  const CADUnicodeString obid = drawing
                                    ? GlobPropertyManager.GetFileProperty(document.StorageName(), "ZRB_OBID")
                                    : GlobPropertyManager.GetReferenceProperty(document.GetRootProduct(), "ZRB_OBID");
  const bool member =
      !drawing && GlobPropertyManager.GetReferenceProperty(document.GetRootProduct(), "ZRBArchiveChildren") == "1";
  if (obid.IsEmpty() && !member) return 1;
  ZRB_DEBUG("ZRB: CreateForDoc: the document is %s", member ? "an archive member" : "already known to the PDM");
  GetWarnings().Append(BuildMessage("ZRBCreateForDocCmd", "NoPartObject"));
  return 0;
}
