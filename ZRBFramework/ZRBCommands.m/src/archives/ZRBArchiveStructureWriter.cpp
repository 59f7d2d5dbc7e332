#include "ZRBArchiveStructureWriter.h"

#include <algorithm>
#include <memory>

#include "CADSystemServices.h"

#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveMembers.h"
#include "ZRBArchiveXml.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBNodeListUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBReplacingFile.h"
#include "ZRBTrace.h"

namespace {
bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

ZRBArchiveAttributes AllSlots(const ZRBObject& object) {
  CADListValCADString names, values;
  object.GetAllSlots(names, values);
  ZRBArchiveAttributes slots;
  for (int i = 1; i <= names.Size() && i <= values.Size(); ++i) slots.emplace_back(names[i].str(), values[i].str());
  return slots;
}

std::string FileNamePart(const CADUnicodeString& path) { return ZRBFileUtil::GetFileNameFromPath(path).str(); }
}  // namespace

int ZRBArchiveStructureWriter::WritePartDataTag(ZRBArchivePartData& data, const CADIProduct_var& product) {
  ZRB_TRACE("ZRBArchiveStructureWriter::WritePartDataTag");
  if (!product) return 0;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(product, 1);
  const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(product);
  if (partNumber.IsEmpty()) {
    ZRB_DEBUG("Warning: Empty partnumber found");
    if (path.IsEmpty()) {
      command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBUpdateCmd", "EmptyPartnumberDetected"));
    } else {
      CADUnicodeString parameter = ZRBAfx::GetMessageDisplayFromPath(path);
      command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBUpdateCmd", "EmptyPartnumberDetected2", &parameter, 1));
    }
    return 0;
  }
  data.attributes = {{"PARTNUMBER", partNumber.str()}, {"FILENAME", FileNamePart(path)}};
  if (IsOn("ZRB_ENABLE_ARCHIVE_CACHE")) {
    const CADUnicodeString vis = GlobPropertyManager.GetReferenceProperty(product, "ZRB_STORE_VIS_IN_ARCHIVE");
    if (!vis.IsEmpty()) {
      data.attributes.emplace_back("VISFILENAME", vis.str());
      GlobPropertyManager.DeleteReferenceProperty(product, "ZRB_STORE_VIS_IN_ARCHIVE");
    }
  }
  ZRBObjectManager scratch;
  ZRBObject* dummy = scratch.CreateObject("Dummy");
  if (!dummy) {
    ZRB_DEBUG("pDummyObject = NULL");
    return 0;
  }
  CADDocument* document = nullptr;
  ZRBFileUtil::GetRefDocFromCADIProduct(product, &document);
  if (ZRBDocPropertyTransfer::SetModelInfoToZRBObject(scratch, product, dummy, document, nullptr)) {
    if (ZRBObject* infos = scratch.GetObject(dummy->GetSlotValue("MODEL_INFO"))) {
      data.hasModelInfos = true;
      data.modelInfos = AllSlots(*infos);
    }
  }
  if (document && ZRBDocPropertyTransfer::SetFeatureExtentionsToZRBObject(scratch, document, dummy)) {
    if (ZRBObject* features = scratch.GetObject(dummy->GetSlotValue("FEATURE_EXTENTIONS"))) {
      static const char* const kNames[] = {"FEATURE_TYPE", "CLIENT_ID", "CONTAINER_ID", "FEATURE_ATTR",
                                           "FEATURE_VALUE"};
      CADListValCADString lists[5];
      for (int i = 0; i < 5; ++i) lists[i] = features->GetSlotValueList(kNames[i]);
      const bool equal =
          std::all_of(lists, lists + 5, [&](const auto& list) { return list.Size() == lists[0].Size(); });
      if (equal) {
        data.hasFeatureList = true;
        for (int entry = 1; entry <= lists[0].Size(); ++entry) {
          ZRBArchiveFeature feature;
          for (int i = 0; i < 5; ++i) feature.attributes.emplace_back(kNames[i], lists[i][entry].str());
          data.features.push_back(std::move(feature));
        }
      } else {
        ZRB_DEBUG("ZRB: feature lists of %s differ in size, no FeatureList written", partNumber.c_str());
      }
    }
  }
  ZRB_TRACE_OK();
  return 1;
}

void ZRBArchiveStructureWriter::WriteProductChildrenTag(std::vector<ZRBArchiveChild>& children,
                                                        const CADIProduct_var& parent, const CADIProduct_var& child) {
  if (!child) return;
  ZRBArchiveChild line;
  line.childId = GlobPropertyManager.GetPartNumber(child, 1).str();
  CADUnicodeString instanceName;
  child->GetPrdInstanceName(instanceName);
  line.instanceName = instanceName.str();
  double coefficients[12];
  CADUnicodeString matrix;
  if (command_.GetProductPosition(child, parent, coefficients) &&
      SUCCEEDED(ZRBPosMatrixUtil::ConvertToString(coefficients, matrix))) {
    line.matrix = matrix.str();
  } else {
    ZRB_DEBUG("ZRB: Could not read Product position, ignoring Matrix");
  }
  children.push_back(std::move(line));
}

void ZRBArchiveStructureWriter::WriteChildrenTag(std::vector<ZRBArchiveChild>& children,
                                                 const CADIProduct_var& product) {
  if (!product) return;
  std::unique_ptr<ZRBNodeList> direct = ZRBPSNTreeUtil::GetDirectChildren(product);
  if (!direct) return;
  for (int i = 1; i <= direct->Size(); ++i) WriteProductChildrenTag(children, product, CADIProduct_var((*direct)[i]));
}

void ZRBArchiveStructureWriter::WriteTableDataTags(ZRBArchive& archive, const CADIProduct_var& root) {
  if (IsOn("ZRB_DISABLE_DT_IN_ARCHIVE")) return;
  ZRBArchiveMembers::ForEachTable(root, [&](ZRBDesignTable& table) {
    CADUnicodeString path;
    if (FAILED(table.GetFullPath(path))) return;
    const std::string name = FileNamePart(path);
    const bool known = std::any_of(archive.tables.begin(), archive.tables.end(),
                                   [&](const ZRBArchiveTable& written) { return written.id == name; });
    if (!known) archive.tables.push_back({name, {{"FILENAME", name}}});
  });
}

void ZRBArchiveStructureWriter::WriteNonCadTags(ZRBArchive& archive, const CADUnicodeString& archiveName) {
  const ZRBArchive* known = GlobArchiveManager.Find(archiveName);
  if (!known) return;
  for (const auto& nonCad : known->nonCads)
    archive.nonCads.push_back({nonCad.id, nonCad.inExtraDir, {{"FILENAME", nonCad.id}}});
}

int ZRBArchiveStructureWriter::BuildArchive(const CADIProduct_var& root, const CADUnicodeString& archiveName,
                                            ZRBArchive& archive) {
  if (!root) {
    ZRB_DEBUG("ZRB: AttachArchive: Selected is NULL");
    return 0;
  }
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(root);
  if (father) {
    archive.root.parentPartnumber = GlobPropertyManager.GetPartNumber(father, 1).str();
    archive.root.inAssembly = "1";
  }
  if (!WritePartDataTag(archive.root.data, root)) return 0;
  WriteChildrenTag(archive.root.children, root);
  std::vector<std::string> written;
  std::unique_ptr<ZRBNodeList> members = ZRBPSNTreeUtil::GetAllChildren(root, 1);
  for (int i = 1; members && i <= members->Size(); ++i) {
    const CADIProduct_var product((*members)[i]);
    if (!product) {
      ZRB_DEBUG("ZRB: ignoring 'NULL' Product");
      continue;
    }
    const std::string partNumber = GlobPropertyManager.GetPartNumber(product, 1).str();
    if (!partNumber.empty() && std::find(written.begin(), written.end(), partNumber) != written.end()) continue;
    ZRBArchivePart part;
    part.id = partNumber;
    if (!WritePartDataTag(part.data, product)) return 0;
    WriteChildrenTag(part.children, product);
    archive.parts.push_back(std::move(part));
    written.push_back(partNumber);
  }
  WriteTableDataTags(archive, root);
  WriteNonCadTags(archive, archiveName);
  return 1;
}

int ZRBArchiveStructureWriter::WriteStructureFile(const CADIProduct_var& root, const CADUnicodeString& path,
                                                  const CADUnicodeString& targetDirectory) {
  ZRB_TRACE("ZRBArchiveStructureWriter::WriteStructureFile");
  std::string directory = targetDirectory.str();
  if (!directory.empty() && directory.back() != '/') directory += '/';
  const CADUnicodeString target(directory + FileNamePart(path));
  ZRBArchive archive;
  if (!BuildArchive(root, path, archive)) return 0;
  ZRB_DEBUG("Writing Archive xml to: %s", target.c_str());
  std::string error;
  if (!ZRBReplacingFile::WriteWhole(target.str(), ZRBArchiveXml::Write(archive), 0666, false, &error) ||
      !ZRBArchiveManager::WriteDTD(CADUnicodeString(directory + ZRBArchiveXml::kDtdFileName))) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed %s", target.c_str(), error.c_str());
    CADUnicodeString parameter = target;
    command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAttachArchiveCmd", "NoFileAccess", &parameter, 1));
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}
