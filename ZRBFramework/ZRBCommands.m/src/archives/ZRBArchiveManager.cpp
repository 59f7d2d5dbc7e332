#include "ZRBArchiveManager.h"

#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBAfxBase.h"
#include "ZRBArchiveXml.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBReplacingFile.h"
#include "ZRBTrace.h"

ZRBArchiveManager GlobArchiveManager;

namespace {
CADListValCADUnicodeString& operator<<(CADListValCADUnicodeString& list, const std::string& value) {
  list.Append(CADUnicodeString(value));
  return list;
}

std::string DirectoryWithSlash(const CADUnicodeString& directory) {
  std::string text = directory.str();
  if (!text.empty() && text.back() != '/') text += '/';
  return text;
}

bool IsMovedOnAddTemp(const std::string& fileName) {
  const CADUnicodeString path(fileName);
  return ZRBFileUtil::HasExtension(path, "CADPart") || ZRBFileUtil::HasExtension(path, "model") ||
         ZRBFileUtil::HasExtension(path, "vis") || ZRBInfoUtil::HasRepresentationExtension(path);
}
}  // namespace

std::string ZRBArchiveManager::NormalizeName(const std::string& name) {
  std::string normal;
  normal.reserve(name.size());
  for (char c : name)
    if (c != '/' || normal.empty() || normal.back() != '/') normal += c;
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

std::string ZRBArchiveManager::SafeFileName(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
  if (last.empty() || last == "." || last == "..") {
    ZRB_DEBUG("ZRB: refused file name '%s' from a structure file", name.c_str());
    return std::string();
  }
  return last;
}

const ZRBArchive* ZRBArchiveManager::Find(const CADUnicodeString& name) const {
  const std::string normal = NormalizeName(name.str());
  for (const auto& [key, archive] : archives_)
    if (key == normal) return &archive;
  ZRB_DEBUG("File: %s not found in list", normal.c_str());
  return nullptr;
}

ZRBArchive* ZRBArchiveManager::Find(const CADUnicodeString& name) {
  return const_cast<ZRBArchive*>(static_cast<const ZRBArchiveManager*>(this)->Find(name));
}

void ZRBArchiveManager::Put(const CADUnicodeString& name, ZRBArchive archive) {
  KeepNonCadRecords();
  const std::string normal = NormalizeName(name.str());
  for (auto& [key, loaded] : archives_) {
    if (key == normal) {
      loaded = std::move(archive);
      return;
    }
  }
  archives_.emplace_back(normal, std::move(archive));
}

int ZRBArchiveManager::Read(const CADUnicodeString& path) {
  ZRB_TRACE("ZRBArchiveManager::Read");
  ZRB_DEBUG("Reading Archive from: %s", path.c_str());
  RemoveArchive(path);
  if (FAILED(CADFileAccess(path, CADFileExists))) {
    ZRB_DEBUG("Archive File: %s does not exist", path.c_str());
    return 0;
  }
  ZRBArchive archive;
  if (!ZRBArchiveXml::ParseFile(path.str(), archive)) return 0;
  Put(path, std::move(archive));
  ZRB_TRACE_OK();
  return 1;
}

int ZRBArchiveManager::ReadTemp(const CADUnicodeString& path, const CADUnicodeString& prefix,
                                CADListValCADUnicodeString& sources, CADListValCADUnicodeString& targets,
                                const CADUnicodeString& xmapDirectory, const CADUnicodeString& extraDirectory) {
  ZRB_TRACE("ZRBArchiveManager::ReadTemp");
  if (!Read(path)) return 0;
  ZRBArchive* archive = Find(path);
  if (!archive) return 0;
  const std::string rootPartNumber = archive->root.data.Attribute("PARTNUMBER");
  if (rootPartNumber.find('/') != std::string::npos || rootPartNumber == "." || rootPartNumber == "..") {
    ZRB_DEBUG("ZRB: refused archive with part number '%s'", rootPartNumber.c_str());
    RemoveArchive(path);
    return 0;
  }
  archive->addTemp = true;
  archive->addTempPrefix = prefix.str();
  const std::string source = DirectoryWithSlash(ZRBFileUtil::GetDirPathFromFilePath(path, 1));
  const std::string xmap = DirectoryWithSlash(xmapDirectory);
  const std::string extra = DirectoryWithSlash(extraDirectory);
  const std::string pre = prefix.str();
  auto pair = [&](const std::string& name, const std::string& targetDirectory, const std::string& targetPrefix) {
    const std::string file = SafeFileName(name);
    if (file.empty()) return;
    sources << source + file;
    targets << targetDirectory + targetPrefix + file;
  };
  for (const auto& nonCad : archive->nonCads)
    if (nonCad.inExtraDir) pair(ZRBArchiveAttribute(nonCad.attributes, "FILENAME"), extra, pre);
  for (const auto& nonCad : archive->nonCads)
    if (!nonCad.inExtraDir) pair(ZRBArchiveAttribute(nonCad.attributes, "FILENAME"), xmap, pre);
  auto member = [&](const ZRBArchivePartData& data) {
    const std::string& file = data.Attribute("FILENAME");
    if (IsMovedOnAddTemp(file)) pair(file, xmap, pre);
  };
  member(archive->root.data);
  for (const auto& part : archive->parts) member(part.data);
  const std::string structureName = ZRBFileUtil::GetFileNameFromPath(path).str();
  pair(structureName, xmap, pre);
  pair(ZRBArchiveXml::kDtdFileName, xmap, "");
  // The archive is known from now on under the name its structure file gets in the exchange map.
  ZRBArchive moved = std::move(*archive);
  RemoveArchive(path);
  Put(CADUnicodeString(xmap + pre + structureName), std::move(moved));
  ZRB_TRACE_OK();
  return 1;
}

int ZRBArchiveManager::WriteDTD(const CADUnicodeString& path) {
  ZRB_DEBUG("Writing DTDfile to: %s", path.c_str());
  std::string error;
  if (!ZRBReplacingFile::WriteWhole(path.str(), ZRBArchiveXml::DtdText(), 0666, false, &error)) {
    ZRB_DEBUG("ZRB: could not write %s: %s", path.c_str(), error.c_str());
    return 0;
  }
  return 1;
}

void ZRBArchiveManager::GetArchiveNameList(CADListValCADUnicodeString& names) const {
  for (const auto& entry : archives_) names << entry.first;
}

void ZRBArchiveManager::RemoveArchive(const CADUnicodeString& name) {
  const std::string normal = NormalizeName(name.str());
  std::erase_if(archives_, [&](const auto& entry) { return entry.first == normal; });
}

void ZRBArchiveManager::RemoveAllAddTempArchive() {
  std::erase_if(archives_, [](const auto& entry) { return entry.second.addTemp; });
}

int ZRBArchiveManager::IsAddTempArchive(const CADUnicodeString& name) const {
  const ZRBArchive* archive = Find(name);
  return archive && archive->addTemp ? 1 : 0;
}

CADUnicodeString ZRBArchiveManager::Prefixed(const ZRBArchive& archive, const std::string& attribute,
                                             const std::string& value) const {
  if (archive.addTemp && !value.empty() && (attribute == "PARTNUMBER" || attribute == "FILENAME"))
    return CADUnicodeString(archive.addTempPrefix + value);
  return CADUnicodeString(value);
}

CADUnicodeString ZRBArchiveManager::GetRootAttribute(const CADUnicodeString& name,
                                                     const CADUnicodeString& attribute) const {
  const ZRBArchive* archive = Find(name);
  if (!archive) return CADUnicodeString();
  return Prefixed(*archive, attribute.str(), archive->root.data.Attribute(attribute.str()));
}

void ZRBArchiveManager::SetRootAttribute(const CADUnicodeString& name, const CADUnicodeString& attribute,
                                         const CADUnicodeString& value) {
  ZRBArchive* archive = Find(name);
  if (!archive) return;
  for (auto& [key, current] : archive->root.data.attributes) {
    if (key == attribute.str()) {
      current = value.str();
      return;
    }
  }
  archive->root.data.attributes.emplace_back(attribute.str(), value.str());
}

CADUnicodeString ZRBArchiveManager::GetParentPartNumber(const CADUnicodeString& name) const {
  const ZRBArchive* archive = Find(name);
  return archive ? CADUnicodeString(archive->root.parentPartnumber) : CADUnicodeString();
}

void ZRBArchiveManager::SetParentPartNumber(const CADUnicodeString& name, const CADUnicodeString& value) {
  if (ZRBArchive* archive = Find(name)) archive->root.parentPartnumber = value.str();
}

void ZRBArchiveManager::GetPartAttributes(const CADUnicodeString& name, const CADUnicodeString& attribute,
                                          CADListValCADUnicodeString& values) const {
  const ZRBArchive* archive = Find(name);
  if (!archive) return;
  for (const auto& part : archive->parts)
    values.Append(Prefixed(*archive, attribute.str(), part.data.Attribute(attribute.str())));
}

CADUnicodeString ZRBArchiveManager::GetPartAttribute(const CADUnicodeString& name, const CADUnicodeString& partId,
                                                     const CADUnicodeString& attribute) const {
  const ZRBArchive* archive = Find(name);
  const ZRBArchivePart* part = archive ? archive->FindPart(partId.str()) : nullptr;
  return part ? Prefixed(*archive, attribute.str(), part->data.Attribute(attribute.str())) : CADUnicodeString();
}

void ZRBArchiveManager::GetNonCadAttributes(const CADUnicodeString& name, const CADUnicodeString& attribute,
                                            CADListValCADUnicodeString& values) const {
  const ZRBArchive* archive = Find(name);
  if (!archive) return;
  for (const auto& nonCad : archive->nonCads) values << ZRBArchiveAttribute(nonCad.attributes, attribute.str());
}

namespace {
void ChildInfo(const std::vector<ZRBArchiveChild>& children, CADListValCADUnicodeString& childIds,
               CADListValCADUnicodeString& instanceNames, CADListValCADUnicodeString& matrices) {
  for (const auto& child : children) {
    childIds << child.childId;
    instanceNames << child.instanceName;
    matrices << child.matrix;
  }
}
}  // namespace

void ZRBArchiveManager::GetChildInfoForRoot(const CADUnicodeString& name, CADListValCADUnicodeString& childIds,
                                            CADListValCADUnicodeString& instanceNames,
                                            CADListValCADUnicodeString& matrices) const {
  if (const ZRBArchive* archive = Find(name)) ChildInfo(archive->root.children, childIds, instanceNames, matrices);
}

void ZRBArchiveManager::GetChildInfoForPart(const CADUnicodeString& name, const CADUnicodeString& partId,
                                            CADListValCADUnicodeString& childIds,
                                            CADListValCADUnicodeString& instanceNames,
                                            CADListValCADUnicodeString& matrices) const {
  const ZRBArchive* archive = Find(name);
  const ZRBArchivePart* part = archive ? archive->FindPart(partId.str()) : nullptr;
  if (part) ChildInfo(part->children, childIds, instanceNames, matrices);
}

void ZRBArchiveManager::GetFileNamesAndVisFileNames(const CADUnicodeString& name, CADListValCADUnicodeString& files,
                                                    CADListValCADUnicodeString& visFiles) const {
  const ZRBArchive* archive = Find(name);
  if (!archive) return;
  auto add = [&](const ZRBArchivePartData& data) {
    files << data.Attribute("FILENAME");
    visFiles << data.Attribute("VISFILENAME");
  };
  add(archive->root.data);
  for (const auto& part : archive->parts) add(part.data);
}

void ZRBArchiveManager::GetAllKnownFileNames(const CADUnicodeString& name, CADListValCADUnicodeString& files) const {
  CADListValCADUnicodeString members, visFiles;
  GetFileNamesAndVisFileNames(name, members, visFiles);
  for (int i = 1; i <= members.Size(); ++i) {
    if (!members[i].IsEmpty()) files.Append(members[i]);
    if (!visFiles[i].IsEmpty()) files.Append(visFiles[i]);
  }
  const ZRBArchive* archive = Find(name);
  if (!archive) return;
  for (const auto& table : archive->tables) files << ZRBArchiveAttribute(table.attributes, "FILENAME");
  for (const auto& nonCad : archive->nonCads) files << ZRBArchiveAttribute(nonCad.attributes, "FILENAME");
}

void ZRBArchiveManager::AddNonCadObject(const CADUnicodeString& name, const CADUnicodeString& fileName,
                                        int inExtraDir) {
  ZRBArchive* archive = Find(name);
  if (!archive) return;
  RemoveNonCadFile(name, fileName);
  archive->nonCads.push_back({fileName.str(), inExtraDir != 0, {{"FILENAME", fileName.str()}}});
  archive->nonCadChanged = true;
}

void ZRBArchiveManager::RemoveAllNonCad(const CADUnicodeString& name) {
  ZRBArchive* archive = Find(name);
  if (!archive || archive->nonCads.empty()) return;
  archive->nonCads.clear();
  archive->nonCadChanged = true;
}

void ZRBArchiveManager::RemoveNonCadFile(const CADUnicodeString& name, const CADUnicodeString& fileName) {
  ZRBArchive* archive = Find(name);
  if (!archive) return;
  if (std::erase_if(archive->nonCads, [&](const ZRBArchiveNonCad& entry) { return entry.id == fileName.str(); }))
    archive->nonCadChanged = true;
}

int ZRBArchiveManager::IsNonCadInExtraDir(const CADUnicodeString& name, const CADUnicodeString& fileName) const {
  const ZRBArchive* archive = Find(name);
  if (!archive) return 0;
  for (const auto& nonCad : archive->nonCads)
    if (nonCad.id == fileName.str()) return nonCad.inExtraDir ? 1 : 0;
  return 0;
}

void ZRBArchiveManager::GetNonCadFilesInXmap(const CADUnicodeString& name, CADListValCADUnicodeString& files) const {
  NonCadFiles(name, false, files);
}

void ZRBArchiveManager::GetNonCadFilesInExtraDir(const CADUnicodeString& name,
                                                 CADListValCADUnicodeString& files) const {
  NonCadFiles(name, true, files);
}

void ZRBArchiveManager::NonCadFiles(const CADUnicodeString& name, bool inExtraDir,
                                    CADListValCADUnicodeString& files) const {
  const ZRBArchive* archive = Find(name);
  if (!archive) return;
  // An add-temporary read put both kinds of file on disk under the prefixed name (ReadTemp), so both lists
  // name them so.
  for (auto nonCad = archive->nonCads.rbegin(); nonCad != archive->nonCads.rend(); ++nonCad) {
    const std::string& file = ZRBArchiveAttribute(nonCad->attributes, "FILENAME");
    if (nonCad->inExtraDir == inExtraDir && !file.empty()) files.Append(Prefixed(*archive, "FILENAME", file));
  }
}

void ZRBArchiveManager::SetNonCadChanged(const CADUnicodeString& name, int changed) {
  if (ZRBArchive* archive = Find(name)) archive->nonCadChanged = changed != 0;
}

int ZRBArchiveManager::GetNonCadChanged(const CADUnicodeString& name) const {
  const ZRBArchive* archive = Find(name);
  if (!archive) return 0;
  if (archive->nonCadChanged) return 1;
  // A file changed on disk since the archive was stored changes the archive. A file without a recorded time
  // counts through the flag only: nothing records the times of a read archive's files.
  CADUnicodeString xmap;
  ZRBAfxBase::GetXMap(xmap);
  for (auto [extra, directory] : {std::pair{true, GetStartupExtraDirForNonCad()}, std::pair{false, xmap}}) {
    CADListValCADUnicodeString files;
    NonCadFiles(name, extra, files);
    for (const CADUnicodeString& file : files) {
      const CADUnicodeString path = ZRBAfxBase::MakePath(directory, file);
      const CADUnicodeString known = GlobPropertyManager.GetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME");
      CADUnicodeString time;
      if (!known.IsEmpty() && SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, time)) && !(time == known))
        return 1;
    }
  }
  return 0;
}

CADUnicodeString ZRBArchiveManager::GetStartupExtraDirForNonCad() {
  int use = 0;
  CADUnicodeString directory;
  CADSettingRepository* options = CADSettingRepository::GetRepository("ZRBOptions");
  if (options && SUCCEEDED(options->ReadSetting("UseExtraNonCadDir", &use)) && use == 1 &&
      SUCCEEDED(options->ReadSetting("ExtraNonCadDir", &directory)) && !directory.IsEmpty())
    return directory;
  CADUnicodeString xmap;
  ZRBAfxBase::GetXMap(xmap);
  return xmap;
}
