#include "ZRBArchivePacker.h"

#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

#include "CADDlgNotify.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveXml.h"
#include "ZRBCommandContext.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBPackCommand.h"
#include "ZRBTrace.h"

namespace {
std::string Setting(const char* name, const char* fallback) {
  const char* value = g_ZRBConfig.GetEnvVar(name, 1);
  return value && *value ? std::string(value) : std::string(fallback);
}

std::string Word(const std::string& path) { return " " + ZRBAfx::QuoteShellWord(CADUnicodeString(path)).str(); }

std::string Join(const CADUnicodeString& directory, const std::string& name) {
  std::string text = directory.str();
  if (!text.empty() && text.back() != '/') text += '/';
  return text + name;
}
}  // namespace

int ZRBArchivePacker::LineLimit() { return ZRBPackCommand::LineLimit("ZRB_PACK_ARCHIVE_MAX_COMMANDLINE"); }

std::vector<std::string> ZRBArchivePacker::BuildLines(const std::string& first, const std::string& add,
                                                      const std::vector<std::string>& files, int limit) {
  // A line that is full is run as it is (the first one then holds the structure file and the DTD only).
  std::vector<std::string> lines{first};
  for (const auto& file : files) {
    const std::string word = Word(file);
    if (lines.back().size() + word.size() < static_cast<size_t>(limit)) {
      lines.back() += word;
    } else {
      lines.push_back(add + word);
    }
  }
  return lines;
}

int ZRBArchivePacker::RunLine(const std::string& line, const char* what) { return ZRBPackCommand::RunLine(line, what); }

int ZRBArchivePacker::PackFilesToArchive(const CADUnicodeString& archivePath, const CADUnicodeString& structurePath,
                                         const CADListValCADUnicodeString& members) {
  ZRB_TRACE("ZRBArchivePacker::PackFilesToArchive");
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  const std::string target = Join(xmap, ZRBFileUtil::GetFileNameFromPath(archivePath).str());
  const std::string structure = Join(xmap, ZRBFileUtil::GetFileNameFromPath(structurePath).str());
  const std::string dtd = Join(xmap, ZRBArchiveXml::kDtdFileName);
  if (SUCCEEDED(CADFileAccess(CADUnicodeString(target), CADFileExists)) &&
      FAILED(CADDeleteFile(CADUnicodeString(target)))) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", target.c_str());
    CADUnicodeString parameter(target);
    command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAttachArchiveCmd", "NoFileAccess", &parameter, 1));
    return 0;
  }
  std::vector<std::string> files;
  for (int i = 1; i <= members.Size(); ++i) files.push_back(members[i].str());
  const CADUnicodeString extra = ZRBArchiveManager::GetStartupExtraDirForNonCad();
  CADListValCADUnicodeString inExtra, inXmap;
  GlobArchiveManager.GetNonCadFilesInExtraDir(structurePath, inExtra);
  GlobArchiveManager.GetNonCadFilesInXmap(structurePath, inXmap);
  for (auto [list, directory] :
       {std::pair{&inExtra, &extra}, std::pair{&inXmap, static_cast<const CADUnicodeString*>(&xmap)}}) {
    for (int i = 1; i <= list->Size(); ++i) {
      const std::string path = Join(*directory, (*list)[i].str());
      if (SUCCEEDED(CADFileAccess(CADUnicodeString(path), CADFileExists))) {
        files.push_back(path);
        continue;
      }
      CADUnicodeString parameter(path);
      const int answer = ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBUpdateCmd", "IgnoreMissingFile", &parameter, 1),
                                        CADDlgNfyQuestion | CADDlgNfyYesNo);
      if (answer != 3) {
        command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBUpdateCmd", "MissingFileAbort", &parameter, 1));
        ZRB_DEBUG("ZRB: Stoped by user");
        return 0;
      }
      command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBUpdateCmd", "MissingFileIgnored", &parameter, 1));
      GlobArchiveManager.RemoveNonCadFile(structurePath, (*list)[i]);
    }
  }
  const int limit = LineLimit();
  if (limit == 0) return 0;
  const std::string first =
      Setting("ZRB_PACK_ARCHIVE_CMD", "zrb_zip -0 -q -j") + Word(target) + Word(structure) + Word(dtd);
  const std::string add = Setting("ZRB_PACK_ADD_ARCHIVE_CMD", "zrb_zip -0 -q -j") + Word(target);
  for (const auto& line : BuildLines(first, add, files, limit)) {
    if (!RunLine(line, "ZipCommand")) {
      ZRB_DEBUG("ZRB: Failed to pack Archive");
      return 0;
    }
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBArchivePacker::ProcessArchiveForRead(const CADUnicodeString& archiveFile,
                                            const CADUnicodeString& extractionDirectory,
                                            const CADUnicodeString& structureFile,
                                            const CADUnicodeString& fileDirectory, const CADUnicodeString& addTempFlag,
                                            const CADUnicodeString& tempStructureFile, const CADUnicodeString& prefix) {
  ZRB_TRACE("ZRBArchivePacker::ProcessArchiveForRead");
  const std::string line = Setting("ZRB_UNPACK_ARCHIVE_CMD", "zrb_unzip -o -j -q -d") +
                           Word(extractionDirectory.str()) + Word(archiveFile.str());
  ZRB_DEBUG("UnzipCommand: '%s'", line.c_str());
  if (!RunLine(line, "UnzipCommand")) {
    ZRB_DEBUG("ZRB: Failed to extract Archive");
    return 0;
  }
  const CADUnicodeString extra = ZRBArchiveManager::GetStartupExtraDirForNonCad();
  auto moveFailed = [&](const CADUnicodeString& from, const CADUnicodeString& to) {
    ZRB_DEBUG("ZRB: could not move file from %s to %s", from.c_str(), to.c_str());
    CADUnicodeString parameters[2] = {from, to};
    command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBReadCmd", "MoveFileFailed", parameters, 2));
  };
  if (addTempFlag == "1") {
    ZRB_DEBUG("ZRB: Reading Tmp Structure file");
    CADListValCADUnicodeString sources, targets;
    if (!GlobArchiveManager.ReadTemp(tempStructureFile, prefix, sources, targets, fileDirectory, extra) ||
        sources.Size() != targets.Size()) {
      CADUnicodeString parameter = tempStructureFile;
      command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBReadCmd", "StructureFileCorrupted", &parameter, 1));
      return 0;
    }
    for (int i = 1; i <= sources.Size(); ++i)
      if (FAILED(ZRBFileUtil::MoveFile(sources[i], targets[i]))) moveFailed(sources[i], targets[i]);
    ZRB_TRACE_OK();
    return 1;
  }
  if (!GlobArchiveManager.Read(structureFile)) {
    CADUnicodeString parameter = structureFile;
    command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBReadCmd", "StructureFileCorrupted", &parameter, 1));
    return 0;
  }
  if (ZRBArchiveManager::NormalizeName(fileDirectory.str()) != ZRBArchiveManager::NormalizeName(extra.str())) {
    CADListValCADUnicodeString inExtra;
    GlobArchiveManager.GetNonCadFilesInExtraDir(structureFile, inExtra);
    for (int i = 1; i <= inExtra.Size(); ++i) {
      const std::string name = ZRBFileUtil::GetFileNameFromPath(inExtra[i]).str();
      if (name.empty() || name == "." || name == "..") continue;
      const CADUnicodeString from(Join(fileDirectory, name)), to(Join(extra, name));
      if (FAILED(ZRBFileUtil::MoveFile(from, to))) {
        moveFailed(from, to);
      } else {
        ZRB_DEBUG("ZRB: moved file from %s to %s", from.c_str(), to.c_str());
      }
    }
  }
  ZRB_TRACE_OK();
  return 1;
}
