// The archive of an update, installed into the update at load: a dirty archive root's node carries the archive
// packed again (members, structure file, non-CAD files) as its archive object, and the answered archive goes
// back onto the session, so that the PDM checks and keeps every version the designer stores.
#include "ZRBAfx.h"
#include "ZRBArchiveCadValidation.h"
#include "ZRBArchiveMembers.h"
#include "ZRBArchivePacker.h"
#include "ZRBArchiveSlots.h"
#include "ZRBArchiveStructureWriter.h"
#include "ZRBCommand.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBUpdateArchiveCheck.h"

namespace {
CADUnicodeString FileNameOr(const CADUnicodeString& path, const CADUnicodeString& fallback) {
  const CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(path);
  return name.IsEmpty() || name == "." || name == ".." ? fallback : name;
}

int WriteArchive(ZRBCommand& command, ZRBObjectManager& request, const CADIProduct_var& root, ZRBObject* object) {
  ZRB_TRACE("ZRBCommand::WriteArchiveForUpdate");
  const CADUnicodeString rootPath = GlobPropertyManager.GetProductFullPath(root);
  const CADUnicodeString contentFile = GlobPropertyManager.GetFileProperty(rootPath, "ZRB_ARCHIVE_CONTENT_FILE_NAME");
  if (!object || !ZRBArchiveCadValidation::IsArchiveDirty(command, root, contentFile)) return 1;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(root, 1);
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  const CADUnicodeString structure = xmap + FileNameOr(contentFile, partNumber + CADUnicodeString(".xml"));
  const CADUnicodeString archive = xmap + FileNameOr(GlobPropertyManager.GetFileProperty(rootPath, "ZRB_ARCHIVE_FILE"),
                                                     partNumber + CADUnicodeString(".ZRBArchive"));
  CADListValCADUnicodeString files;
  CADString key;
  if (!ZRBArchiveMembers::CopyArchiveFilesToXmap(command, root, xmap, files) ||
      !ZRBArchiveStructureWriter(command).WriteStructureFile(root, structure, xmap) ||
      !ZRBArchivePacker(command).PackFilesToArchive(archive, structure, files) ||
      !ZRBArchiveSlots::SetArchivePropertiesToZRBObject(request, archive, structure, root, object, key, 1)) {
    ZRB_DEBUG("ZRB: the archive %s could not be written for the update", partNumber.c_str());
    return 0;
  }
  // The packed archive stands for the whole product: no product document of its own goes with it.
  object->SetSlotValue("PRODUCT", "");
  object->SetSlotValue("UPD_PRODUCT", "");
  ZRB_TRACE_OK();
  return 1;
}

void ReadArchiveAnswers(const CADIProduct_var& root, ZRBObjectManager& answer) {
  if (!root) return;
  std::vector<CADIProduct_var> nodes = ZRBArchiveCadValidation::Members(root);
  nodes.insert(nodes.begin(), root);
  for (ZRBObject* object = answer.GetFirstObject(); object; object = answer.GetNextObject(object)) {
    if (object->GetSlotValue("CLASSNAME") != "x0CadArc" || object->GetSlotValue("MODEL_UPD_SUCCESS") != "1") continue;
    for (const CADIProduct_var& node : nodes) {
      const CADUnicodeString obid =
          GlobPropertyManager.GetFileProperty(GlobPropertyManager.GetProductFullPath(node), "ZRB_ARCHIVE_OBID");
      if (!obid.IsEmpty() && obid.str() == object->GetSlotValue("OBID").str()) {
        ZRBArchiveSlots::SetArchivePropertiesFromZRBObject(node, *object);
        break;
      }
    }
  }
}

struct Installer {
  Installer() { ZRBUpdateArchiveCheck::InstallArchiveSlots(&WriteArchive, &ReadArchiveAnswers); }
  ~Installer() { ZRBUpdateArchiveCheck::InstallArchiveSlots(nullptr, nullptr); }
} g_installer;
}  // namespace
