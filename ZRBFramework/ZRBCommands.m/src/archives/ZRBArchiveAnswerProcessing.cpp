// Unpacks the archives a read answer delivers, installed into the read at load. An answer names an archive by an
// object of class "ZRBArchive" with its packed file ("ARCHIVE_FILE") and structure file ("CONTENT_FILE_NAME",
// ".xml" added when missing), both in the exchange map; "ADDTEMP_PREFIX" gives an add-temporary read's prefix.
#include "ZRBAfx.h"
#include "ZRBAnswerArchives.h"
#include "ZRBArchiveMembers.h"
#include "ZRBArchivePacker.h"
#include "ZRBArchiveSlots.h"
#include "ZRBCommandContext.h"
#include "ZRBCommandStates.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"

namespace {
int ProcessAllArchives(ZRBCommandContext& command, ZRBObjectManager& answer, int addTemp,
                       const CADUnicodeString& prefix) {
  ZRB_TRACE("ZRBCommand::ProcessAllArchives");
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  ZRBArchivePacker packer(command);
  int all = 1;
  for (ZRBObject* object = answer.GetFirstObject(); object; object = answer.GetNextObject(object)) {
    if (object->GetSlotValue("CADCLASSNAME") != "ZRBArchive") continue;
    const std::string archiveName =
        ZRBFileUtil::GetFileNameFromPath(CADUnicodeString(object->GetSlotValue("ARCHIVE_FILE"))).str();
    std::string structureName =
        ZRBFileUtil::GetFileNameFromPath(CADUnicodeString(object->GetSlotValue("CONTENT_FILE_NAME"))).str();
    if (archiveName.empty() || archiveName == "." || archiveName == ".." || structureName.empty() ||
        structureName == "." || structureName == "..") {
      ZRB_DEBUG("ZRB: archive object %s names no archive file", object->GetKey().c_str());
      continue;
    }
    if (!ZRBFileUtil::HasExtension(CADUnicodeString(structureName), "xml")) structureName += ".xml";
    const CADUnicodeString archive(xmap.str() + archiveName), structure(xmap.str() + structureName);
    const CADString slotPrefix = object->GetSlotValue("ADDTEMP_PREFIX");
    const CADUnicodeString usedPrefix = slotPrefix.IsEmpty() ? prefix : CADUnicodeString(slotPrefix);
    if (!packer.ProcessArchiveForRead(archive, xmap, structure, xmap, CADUnicodeString(addTemp ? "1" : "0"), structure,
                                      usedPrefix)) {
      all = 0;
    } else if (!addTemp) {
      // The delivered non-CAD files are as the PDM keeps them: only later changes make the archive dirty.
      ZRBArchiveMembers::SetTimeStampToNonCad(structure, 0);
    }
  }
  if (all) ZRB_TRACE_OK();
  return all;
}

// The read loads an archive's root document like any product; only the archive's identity makes it an archive
// root, without which a later update would neither see it dirty nor store it again.
int MarkArchiveRoots(ZRBCommandContext& command, ZRBObjectManager& answer) {
  ZRB_TRACE("ZRBCommand::MarkArchiveRoots");
  int marked = 0;
  for (ZRBObject* object = answer.GetFirstObject(); object; object = answer.GetNextObject(object)) {
    if (object->GetSlotValue("CADCLASSNAME") != "ZRBArchive") continue;
    const CADUnicodeString partNumber(object->GetSlotValue("PARTNUMBER").str());
    const CADIProduct_var root = ZRBCommandStates::FindProductInSession(partNumber, nullptr);
    if (!root) {
      ZRB_DEBUG("ZRB: the root of archive '%s' is not in the session", partNumber.c_str());
      continue;
    }
    marked += ZRBArchiveSlots::SetArchivePropertiesFromZRBObject(root, *object, &command.GetWarnings());
  }
  ZRB_TRACE_OK();
  return marked;
}

struct Installer {
  Installer() {
    ZRBAnswerArchives::Install(&ProcessAllArchives);
    ZRBAnswerArchives::InstallRootMarker(&MarkArchiveRoots);
  }
  ~Installer() {
    ZRBAnswerArchives::Install(nullptr);
    ZRBAnswerArchives::InstallRootMarker(nullptr);
  }
} g_installer;
}  // namespace
