#include "ZRBSaveAsCmd.h"

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "ZRBCreateRequest.h"
#include "ZRBObject.h"
#include "ZRBPdmAction.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBSaveAsCmd* fctCreateZRBSaveAsCmd() { return new ZRBSaveAsCmd(); }

namespace {

const CADClassDictionary::Registration g_registration("ZRBSaveAsCmd", &fctCreateZRBSaveAsCmd);

const ZRBDocumentDialogCmd::Words kWords{"ZRBSaveAsCmd",
                                         "REQUEST_SAVEAS",
                                         ZRBPdmAction::SaveAsCADPartFrFile,
                                         ZRBPdmAction::SaveAsCADDrawFrFile,
                                         "SaveAs",
                                         "SaveAsOk",
                                         false};

}  // namespace

ZRBSaveAsCmd::ZRBSaveAsCmd() : ZRBSaveAsCmd("ZRBSaveAsCmd") {}

ZRBSaveAsCmd::ZRBSaveAsCmd(const char* name) : ZRBDocumentDialogCmd(name, ZRBRunningCommandKind::SaveAs, kWords) {}

int ZRBSaveAsCmd::CheckDocument(CADDocument& document, bool drawing) {
  const CADUnicodeString obid = drawing
                                    ? GlobPropertyManager.GetFileProperty(document.StorageName(), "ZRB_OBID")
                                    : GlobPropertyManager.GetReferenceProperty(document.GetRootProduct(), "ZRB_OBID");
  if (!obid.IsEmpty()) return 1;
  ZRB_DEBUG("ZRB: SaveAs: the document is not known to the PDM");
  GetWarnings().Append(BuildMessage("ZRBSaveAsCmd", "NoPartObject"));
  return 0;
}

int ZRBSaveAsCmd::CompleteRequest(ZRBCreateRequest& request, bool drawing) {
  if (drawing) return 1;
  const CADUnicodeString partType = request.AskForPartType("AskForPartTypeUse");
  if (partType.IsEmpty()) return 0;
  request.Root()->SetSlotValue("USE_BOM_FOR_SAVE_AS", partType.ConvertToString());
  return 1;
}
