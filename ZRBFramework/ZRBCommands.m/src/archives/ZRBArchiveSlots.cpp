#include "ZRBArchiveSlots.h"

#include "ZRBAfx.h"
#include "ZRBArchiveCadValidation.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveMembers.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBProductPositions.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {
bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }
CADString Text(const CADUnicodeString& value) { return CADString(value.str()); }
CADUnicodeString Unicode(const CADString& value) { return CADUnicodeString(value.str()); }

void SetIfNotEmpty(ZRBObject& object, const char* slot, const CADUnicodeString& value) {
  if (!value.IsEmpty()) object.SetSlotValue(slot, Text(value));
}
}  // namespace

CADUnicodeString ZRBArchiveSlots::StructureFileOf(const ZRBObject& object) {
  std::string name = ZRBFileUtil::GetFileNameFromPath(Unicode(object.GetSlotValue("CONTENT_FILE_NAME"))).str();
  if (name.empty() || name == "." || name == "..") return CADUnicodeString();
  if (!ZRBFileUtil::HasExtension(CADUnicodeString(name), "xml")) name += ".xml";
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  return CADUnicodeString(xmap.str() + name);
}

int ZRBArchiveSlots::SetArchivePropertiesToZRBObject(ZRBObjectManager& request, const CADUnicodeString& documentPath,
                                                     const CADUnicodeString& contentFile, const CADIProduct_var& root,
                                                     ZRBObject* node, CADString& key, int mode) {
  ZRB_TRACE("ZRBCommand::SetArchivePropertiesToZRBObject");
  if (!node || !root) {
    ZRB_DEBUG("pObject = NULL");
    return 0;
  }
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(root);
  ZRBObject* archive = node;
  if (mode == 0) {
    archive = request.CreateObject(CADString());
    if (!archive) {
      ZRB_DEBUG("pArchiveObject = NULL");
      return 0;
    }
    node->SetSlotValue("CADCLASSNAME", "ZRBArchive");
    node->SlotAppend("SUBASSEMBLIES", archive->GetKey());
    const CADUnicodeString attrs = GlobPropertyManager.GetReferenceProperty(root, "ZRB_CUSTOM_ATTRS");
    const CADUnicodeString vals = GlobPropertyManager.GetReferenceProperty(root, "ZRB_CUSTOM_VALS");
    ZRB_DEBUG("CustomAttrs: %s", attrs.c_str());
    ZRB_DEBUG("CustomVals: %s", vals.c_str());
    SetIfNotEmpty(*node, "CUSTOM_ATTRS", attrs);
    SetIfNotEmpty(*node, "CUSTOM_VALS", vals);
  }
  key = archive->GetKey();
  const CADUnicodeString rootPath = GlobPropertyManager.GetProductFullPath(root);
  auto file = [&](const char* name) { return Text(GlobPropertyManager.GetFileProperty(rootPath, name)); };
  archive->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", key);
  archive->SetSlotValue("PATH", Text(documentPath));
  archive->SetSlotValue("EXTERNAL_LOCATION", Text(documentPath));
  archive->SetSlotValue("CONTENT_FILE_NAME", Text(ZRBFileUtil::GetFileNameFromPath(contentFile)));
  archive->SetSlotValue("ID", file("ZRB_ARCHIVE_OBID"));
  archive->SetSlotValue("OBID", file("ZRB_ARCHIVE_OBID"));
  archive->SetSlotValue("DB_NAME", file("ZRB_ARCHIVE_DB_NAME"));
  archive->SetSlotValue("CHANGEABLE", file("ZRB_ARCHIVE_CHANGEABLE"));
  const CADString className = file("ZRB_ARCHIVE_CLASSNAME");
  if (className.IsEmpty()) {
    archive->SetSlotValue("CREATE_ARCHIVE_IN_PDM", "1");
    archive->SetSlotValue("CLASSNAME", "x0CadArc");
  } else {
    archive->SetSlotValue("CLASSNAME", className);
  }
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(root, 1);
  archive->SetSlotValue(
      "PARTNUMBER",
      Text(partNumber.IsEmpty() ? GlobArchiveManager.GetRootAttribute(contentFile, "PARTNUMBER") : partNumber));
  archive->SetSlotValue("ORIG_PARTNUMBER", Text(partNumber));
  CADUnicodeString instance;
  root->GetPrdInstanceName(instance);
  archive->SetSlotValue("INSTANCENAME", Text(instance));
  archive->SetSlotValue("CAD_ORIG_INSTANCENAME", Text(instance));
  if (father) {
    archive->SetSlotValue("REL_DESC", Text(GlobPropertyManager.GetInstanceProperty(father, root, "ZRB_DOCREL_DESC")));
    archive->SetSlotValue("REL_OBID", Text(GlobPropertyManager.GetInstanceProperty(father, root, "ZRB_RELATION")));
    archive->SetSlotValue("REL_DB_NAME",
                          Text(GlobPropertyManager.GetInstanceProperty(father, root, "ZRB_REL_DB_NAME")));
    archive->SetSlotValue("PARENT_PARTNUMBER", Text(GlobPropertyManager.GetPartNumber(father, 1)));
    archive->SetSlotValue("PARENT_OBID", Text(GlobPropertyManager.GetReferenceProperty(father, "ZRB_OBID")));
    archive->SetSlotValue("PARENT_DB_NAME", Text(GlobPropertyManager.GetReferenceProperty(father, "ZRB_DB_NAME")));
    // The new relation is placed where the root stands in its father.
    double position[12];
    CADUnicodeString matrix;
    if (ZRBProductPositions::GetProductPosition(root, father, position)) {
      ZRBPosMatrixUtil::ConvertToString(position, matrix);
      archive->SetSlotValue("MATRIX", Text(matrix));
    }
  }
  SetIfNotEmpty(*archive, "ORIG_LOCATION", GlobPropertyManager.GetFileProperty(rootPath, "SAM_ORIG_LOCATION"));
  if (mode == 0) {
    const CADUnicodeString fatherPartNumber =
        father ? GlobPropertyManager.GetPartNumber(father, 1) : CADUnicodeString();
    const CADUnicodeString fatherObid =
        father ? GlobPropertyManager.GetReferenceProperty(father, "ZRB_OBID") : CADUnicodeString();
    node->SetSlotValue("PARTNUMBER", Text(fatherPartNumber));
    node->SetSlotValue("OBID", Text(fatherObid));
    if (!fatherPartNumber.IsEmpty() && !fatherObid.IsEmpty()) {
      archive->SetSlotValue("LINK_IN_PDM", "1");
    } else if (IsOn("ZRB_ENABLE_ZRBARCHIVE_CREATE")) {
      archive->SetSlotValue("DO_NOT_PREPARE_DOC", "1");
      if (!IsOn("ZRB_DISABLE_UPDATE_WB")) archive->SetSlotValue("DROP_ARCHIVE_IN_WB", "1");
    }
    node->SetSlotValue(
        "DB_NAME", Text(father ? GlobPropertyManager.GetReferenceProperty(father, "ZRB_DB_NAME") : CADUnicodeString()));
  }
  ZRB_DEBUG("ZRB: Archive Name is %s", documentPath.c_str());
  ZRB_TRACE_OK();
  return 1;
}

int ZRBArchiveSlots::SetArchivePropertiesFromZRBObject(const CADIProduct_var& root, const ZRBObject& object,
                                                       CADListValCADUnicodeString* warnings) {
  ZRB_TRACE("ZRBCommand::SetArchivePropertiesFromZRBObject");
  const CADString obid = object.GetSlotValue("OBID");
  const CADUnicodeString structure = StructureFileOf(object);
  if (!root || obid.IsEmpty() || structure.IsEmpty()) {
    ZRB_DEBUG("ZRB: the answer names no archive identity");
    return 0;
  }
  ZRB_DEBUG("ZRB: Structure File name is %s", structure.c_str());
  CADUnicodeString archiveFile = Unicode(object.GetSlotValue("EXTERNAL_LOCATION"));
  if (archiveFile.IsEmpty()) archiveFile = Unicode(object.GetSlotValue("RELATIVE_PATH"));
  const CADUnicodeString rootPath = GlobPropertyManager.GetProductFullPath(root);
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(root, 1);
  auto setFile = [&](const char* name, const CADString& value) {
    GlobPropertyManager.SetFileProperty(rootPath, name, Unicode(value));
  };
  if (const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(root)) {
    auto setInstance = [&](const char* name, const CADUnicodeString& value) {
      GlobPropertyManager.SetInstanceProperty(father, root, name, value);
    };
    CADString relation = object.GetSlotValue("REL_OBID");
    if (relation.IsEmpty()) relation = object.GetSlotValue("DOCREL_ID");
    setInstance("ZRB_RELATION", Unicode(relation));
    setInstance("ZRB_REL_DB_NAME", Unicode(object.GetSlotValue("REL_DB_NAME")));
    setInstance("ZRB_DOCREL_DESC", Unicode(object.GetSlotValue("DOCREL_DESC")));
    double position[12];
    CADUnicodeString matrix;
    if (ZRBProductPositions::GetProductPosition(root, father, position))
      ZRBPosMatrixUtil::ConvertToString(position, matrix);
    setInstance("ZRB_ORIG_MATRIX", matrix);
    setInstance("ZRB_INSTANCE_IN_ZRB", "1");
    setInstance("ZRB_FROMWB", ZRBPSNTreeUtil::IsWorkbenchProduct(father) ? "1" : "0");
  }
  setFile("ZRB_ARCHIVE_OBID", obid);
  setFile("ZRB_ARCHIVE_FILE", Text(archiveFile));
  setFile("ZRB_ARCHIVE_CHANGEABLE", object.GetSlotValue("CHANGEABLE"));
  setFile("ZRB_ARCHIVE_CLASSNAME", object.GetSlotValue("CLASSNAME"));
  setFile("ZRB_ARCHIVE_CONTENT", object.GetSlotValue("CONTENT"));
  setFile("ZRB_ARCHIVE_CONTENT_FILE_NAME", Text(structure));
  CADString rootPartNumber = object.GetSlotValue("ROOT_PART_NUMBER");
  if (rootPartNumber.IsEmpty()) rootPartNumber = Text(partNumber);
  setFile("ZRB_ARCHIVE_ROOT_PN", rootPartNumber);
  setFile("ZRB_ARCHIVE_ROOT_FN", Text(ZRBFileUtil::GetFileNameFromPath(rootPath)));
  setFile("ZRB_ARCHIVE_DESCRIPTION", object.GetSlotValue("DESCRIPTION"));
  setFile("ZRB_ARCHIVE_DB_NAME", object.GetSlotValue("DB_NAME"));
  if (!object.GetSlotValue("ORIG_LOCATION").IsEmpty())
    setFile("SAM_ORIG_LOCATION", object.GetSlotValue("ORIG_LOCATION"));
  setFile("ZRB_ARCHIVE_ORIG_PART_NUMBER", object.GetSlotValue("ORIG_PART_NUMBER"));
  setFile("ZRB_ARCHIVE_IS_STAND_ALONE", object.GetSlotValue("IS_STAND_ALONE"));
  const CADListValCADString names = object.GetSlotValueList("STANDARD_ATTRS");
  const CADListValCADString values = object.GetSlotValueList("STANDARD_VALS");
  // Parallel lists of unequal length would pair a name with another attribute's value.
  if (names.Size() == values.Size()) {
    static const struct {
      const char* attribute;
      const char* property;
    } standard[] = {{"CADRevision", "ZRB_ARCHIVE_REVISION"},
                    {"CADNomenclature", "ZRB_ARCHIVE_NOMENCLATURE"},
                    {"CADDefinition", "ZRB_ARCHIVE_DEFINITION"}};
    for (int i = 1; i <= names.Size(); ++i)
      for (const auto& entry : standard)
        if (names[i] == entry.attribute) setFile(entry.property, values[i]);
  } else {
    ZRB_DEBUG("ZRB: STANDARD_ATTRS and STANDARD_VALS differ in size; standard attributes ignored");
    if (warnings) warnings->Append(ZRBAfx::BuildMessage("ZRBAfx", "WrongListSize"));
  }
  CADUnicodeString time;
  if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(rootPath, time)))
    GlobPropertyManager.SetFileProperty(rootPath, "ZRB_LAST_KNOWN_MOD_TIME", time);
  // The root's reference now stands for the archive item: later saves know it as the PDM's.
  GlobPropertyManager.SetReferenceProperty(root, "ZRB_OBID", Unicode(obid));
  GlobPropertyManager.SetReferenceProperty(root, "ZRB_CLASSNAME", Unicode(object.GetSlotValue("CLASSNAME")));
  GlobPropertyManager.SetReferenceProperty(root, "ZRB_DB_NAME", Unicode(object.GetSlotValue("DB_NAME")));
  for (const CADIProduct_var& member : ZRBArchiveCadValidation::Members(root)) {
    GlobPropertyManager.SetReferenceProperty(member, "ZRB_CONTENT_IN_ARC", "1");
    GlobPropertyManager.SetReferenceProperty(member, "ZRB_FIRST_PARENT_PARTNUMBER", partNumber);
  }
  if (ZRBAfx::FileExist(structure) && GlobArchiveManager.Read(structure)) {
    ZRBArchiveMembers::SetTimeStampToNonCad(structure, 1);
    GlobArchiveManager.SetNonCadChanged(structure, 0);
  }
  ZRB_TRACE_OK();
  return 1;
}
