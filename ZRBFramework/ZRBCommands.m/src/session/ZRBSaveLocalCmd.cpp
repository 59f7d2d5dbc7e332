#include "ZRBSaveLocalCmd.h"

#include <stdlib.h>
#include <unistd.h>

#include <map>
#include <set>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveXml.h"
#include "ZRBCache.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBFileUtil.h"
#include "ZRBLocalSessionFiles.h"
#include "ZRBLocalSessionIndex.h"
#include "ZRBPackCommand.h"
#include "ZRBPropertyManager.h"
#include "ZRBReplacingFile.h"
#include "ZRBTrace.h"

ZRBSaveLocalCmd* fctCreateZRBSaveLocalCmd() { return new ZRBSaveLocalCmd(); }

using namespace ZRBLocalSessionFiles;

namespace {
const CADClassDictionary::Registration g_registration("ZRBSaveLocalCmd", &fctCreateZRBSaveLocalCmd);

}  // namespace

std::string ZRBSaveLocalCmd::SessionFilePath() {
  const std::string configured = ZRBPackCommand::Setting("ZRB_LOCAL_SESSIONFILE_PATH", "");
  if (!configured.empty()) return configured;
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  return xmap.str() + "/session.zrbsession";
}

int ZRBSaveLocalCmd::CurrentIdentity(std::string& identity) {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) {
    ZRB_DEBUG("Failed to get SystemInfo");
    return 0;
  }
  CADUnicodeString login;
  if (FAILED(CADGetLoginName(login)) || login.IsEmpty()) {
    ZRB_DEBUG("Failed to get UserLogin");
    return 0;
  }
  identity = login.str() + "@" + host;
  return 1;
}

void ZRBSaveLocalCmd::Fail(const char* name, const std::string& parameter) {
  CADUnicodeString text(parameter);
  GetWarnings().Append(
      BuildMessage("ZRBSaveLocalCmd", name, parameter.empty() ? nullptr : &text, parameter.empty() ? 0 : 1));
}

ZRBOneStepCommand::Outcome ZRBSaveLocalCmd::Work() {
  ZRB_TRACE("ZRBSaveLocalCmd::SaveLocal");
  const std::string target = SessionFilePath();
  ZRB_DEBUG("ZRB: ZRBSaveLocalCmd to %s", target.c_str());
  CADUnicodeString xmapText;
  ZRBAfx::GetXMap(xmapText);
  const std::string xmap = xmapText.str();
  Collected collected;
  // The names of the files written for the session are taken before any file of the exchange map can claim them.
  for (const char* name : {kIndexName, kDataName, kDtdName}) collected.byBaseName.emplace(name, "");
  // The state files and the new session file live in a private directory beside the session file until the
  // rename: the previous session file stays until the new one is complete. Made first, so that a session file
  // in a place that cannot be written stops the command before any document is saved.
  PrivateDirectory scratch(DirectoryOf(target), ".zrbsession");
  if (scratch.Path().empty()) {
    Fail("NoFileAccess", target);
    return Outcome::Failed;
  }
  if (!ProcessZrbDocumentsInSession(xmap, collected)) return Outcome::Failed;
  if (!WriteSessionState(scratch.Path(), collected)) return Outcome::Failed;
  std::vector<std::string> files;
  for (const char* name : {kIndexName, kDataName, kDtdName}) files.push_back(scratch.Path() + "/" + name);
  files.insert(files.end(), collected.files.begin(), collected.files.end());
  if (!PackFilesToSessionFile(scratch.Path(), files)) return Outcome::Failed;
  for (const auto& [path, window] : collected.topDocuments)
    ZRBAfx::AddMessageCategoryToList(GetInformations(), "ZRBListMessages.WindowSavedLocalList",
                                     CADUnicodeString(window.empty() ? BaseName(path) : window));
  ZRB_TRACE_OK();
  return Outcome::Succeeded;
}

int ZRBSaveLocalCmd::WriteSessionState(const std::string& scratch, const Collected& collected) {
  const std::string data = scratch + "/" + kDataName;
  const std::string dtd = scratch + "/" + kDtdName;
  if (!GlobPropertyManager.WriteDTD(CADUnicodeString(dtd)) ||
      !GlobPropertyManager.Write(CADUnicodeString(data), CADUnicodeString(dtd))) {
    Fail("NoFileAccess", kDataName);
    return 0;
  }
  ZRBLocalSessionIndex index;
  if (!CurrentIdentity(index.identity)) {
    Fail("NoFileAccess", kIndexName);
    return 0;
  }
  index.tmpCounter = GlobPropertyManager.GetTempCounter();
  index.archives = collected.archives;
  index.documents = collected.topDocuments;
  const std::string indexPath = scratch + "/" + kIndexName;
  std::string error;
  if (!ZRBReplacingFile::WriteWhole(indexPath, index.Write(), 0600, false, &error)) {
    ZRB_DEBUG("ZRB: writing %s failed: %s", indexPath.c_str(), error.c_str());
    Fail("NoFileAccess", kIndexName);
    return 0;
  }
  return 1;
}

int ZRBSaveLocalCmd::AddFile(const std::string& path, Collected& collected) {
  if (!ZRBLocalSessionIndex::FitsOnLine(path) || !collected.byBaseName.emplace(BaseName(path), path).second) {
    ZRB_DEBUG("ZRB: %s shares its name with another file of the session", path.c_str());
    ZRBAfx::AddMessageCategoryToList(GetWarnings(), "ZRBListMessages.FileNotUpdatedList", CADUnicodeString(path));
    return 0;
  }
  collected.files.push_back(path);
  return 1;
}

// A modified file keeps the mark through the save, so the restored file is still sent to the PDM.
static void Mark(const std::string& path, bool modified) {
  const CADUnicodeString file(path);
  if (modified) {
    GlobPropertyManager.SetFileProperty(file, ZRBSaveLocalCmd::kModifiedMark, "1");
  } else if (GlobPropertyManager.IsFilePropertySet(file, ZRBSaveLocalCmd::kModifiedMark)) {
    GlobPropertyManager.DeleteFileProperty(file, ZRBSaveLocalCmd::kModifiedMark);
  }
}

int ZRBSaveLocalCmd::ProcessZrbDocumentsInSession(const std::string& xmap, Collected& collected) {
  const std::string xmapReal = RealPath(xmap);
  const bool checkModTime = g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_CHECKMODTIMESTAMP", "ON", 1);
  std::map<const CADDocument*, std::string> inXmap;
  std::vector<CADDocument*> packed;
  std::string missing, dirty, saved;
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(item);
    if (!document) continue;
    const std::string path = document->StorageName().str();
    if (path.empty() || RealPath(DirectoryOf(path)) != xmapReal) continue;
    inXmap[document.get()] = path;
    if (FAILED(CADFileAccess(CADUnicodeString(path), CADFileExists))) {
      ZRB_DEBUG("ZRB: CADFileAccess(%s) failed", path.c_str());
      missing += path + " ";
      ZRBAfx::AddMessageCategoryToList(GetWarnings(), "ZRBListMessages.FileMissingList", CADUnicodeString(path));
      continue;
    }
    if (!AddFile(path, collected)) continue;
    const bool modified = document->IsDirty() != 0;
    Mark(path, modified);
    if (modified) {
      dirty += path + " ";
      if (FAILED(CADDocumentServices::Save(document.get()))) {
        ZRBAfx::AddMessageCategoryToList(GetWarnings(), "ZRBListMessages.FileNotUpdatedList", CADUnicodeString(path));
      } else if (checkModTime) {
        CADUnicodeString seconds;
        if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(CADUnicodeString(path), seconds)))
          GlobPropertyManager.SetFileProperty(CADUnicodeString(path), "ZRB_LAST_KNOWN_MOD_TIME", seconds);
      }
    }
    // A new document of the exchange map must survive the content file's check until it reaches the PDM.
    GlobZRBCache.RegisterFileWithoutIdentity(CADUnicodeString(path));
    saved += path + " ";
    packed.push_back(document.get());
  }
  ZRB_DEBUG("vMissingNames: %s", missing.c_str());
  ZRB_DEBUG("vDirtyNames: %s", dirty.c_str());
  ZRB_DEBUG("vSaveNames: %s", saved.c_str());
  for (CADDocument* document : packed) {
    ProcessDTDocuments(*document, xmapReal, collected);
    ProcessArchive(inXmap[document], xmap, collected);
  }
  std::string archives, structures;
  for (const auto& [archive, structure] : collected.archives) {
    archives += archive + " ";
    structures += structure + " ";
  }
  ZRB_DEBUG("vArcNames: %s", archives.c_str());
  ZRB_DEBUG("vArcStrcFiles: %s", structures.c_str());

  std::set<const CADDocument*> shown;
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList()) {
    const CADDocument* document = window ? window->GetDocument() : nullptr;
    auto found = inXmap.find(document);
    if (found == inXmap.end() || !shown.insert(document).second) continue;
    auto packedAs = collected.byBaseName.find(BaseName(found->second));
    if (packedAs == collected.byBaseName.end() || packedAs->second != found->second) continue;
    const std::string name = window->GetName().str();
    collected.topDocuments.emplace_back(found->second, ZRBLocalSessionIndex::FitsOnLine(name) ? name : "");
  }
  std::string tops;
  for (const auto& [path, name] : collected.topDocuments) tops += path + " ";
  ZRB_DEBUG("vTopNames: %s", tops.c_str());
  if (collected.topDocuments.empty()) {
    Fail("NoZrbWindowInSession");
    return 0;
  }
  return 1;
}

void ZRBSaveLocalCmd::ProcessDTDocuments(const CADDocument& document, const std::string& xmapReal,
                                         Collected& collected) {
  const CADIProduct_var root = document.GetRootProduct();
  if (!root) return;
  // Lists nothing unless the session already knows that the PDM works with design tables: no PDM call here.
  CADRawCollPV* tables = ZRBDesignTable::GetTables(root, 1);
  for (int i = 1; tables && i <= tables->Size(); ++i) {
    auto* table = static_cast<ZRBDesignTable*>((*tables)[i]);
    unsigned char exists = 0, loaded = 0, modified = 0;
    CADUnicodeString path;
    if (!table || FAILED(table->WasLoadedByZrb(&loaded)) || !loaded || FAILED(table->FileExists(&exists)) || !exists ||
        FAILED(table->GetFullPath(path)) || RealPath(DirectoryOf(path.str())) != xmapReal)
      continue;
    auto packedAs = collected.byBaseName.find(BaseName(path.str()));
    if (packedAs != collected.byBaseName.end() && packedAs->second == path.str()) continue;  // another product's
    if (!AddFile(path.str(), collected)) continue;
    // The sheet is a file of its own: its time tells whether it changed since the PDM had it.
    Mark(path.str(), SUCCEEDED(table->Dirty(&modified)) && modified);
  }
  if (tables) ZRBDesignTable::DestroyList(tables);
}

void ZRBSaveLocalCmd::ProcessArchive(const std::string& path, const std::string& xmap, Collected& collected) {
  const CADUnicodeString name =
      GlobPropertyManager.GetFileProperty(CADUnicodeString(path), "ZRB_ARCHIVE_CONTENT_FILE_NAME");
  if (name.IsEmpty()) return;
  // The archive's files lie in the exchange map under their own names, wherever the properties say they were.
  const auto inXmap = [&xmap](const CADUnicodeString& file) {
    const std::string base = BaseName(file.str());
    return base.empty() ? std::string() : xmap + "/" + base;
  };
  const std::string structure = inXmap(name);
  if (structure.empty() || FAILED(CADFileAccess(CADUnicodeString(structure), CADFileExists))) {
    ZRB_DEBUG("ZRB: CADFileAccess(%s) failed", structure.c_str());
    ZRBAfx::AddMessageCategoryToList(GetWarnings(), "ZRBListMessages.FileMissingList", name);
    return;
  }
  if (!AddFile(structure, collected)) return;
  const std::string archive = inXmap(GlobPropertyManager.GetFileProperty(CADUnicodeString(path), "ZRB_ARCHIVE_FILE"));
  collected.archives.emplace_back(archive, structure);
  // The changed mark of the non-CAD files lives only in memory; the restore takes it back from here.
  Mark(structure, GlobArchiveManager.GetNonCadChanged(name) != 0);
  std::vector<std::string> optional{archive, xmap + "/" + ZRBArchiveXml::kDtdFileName};
  CADListValCADUnicodeString nonCad;
  GlobArchiveManager.GetNonCadFilesInXmap(name, nonCad);
  for (const auto& file : nonCad) optional.push_back(inXmap(file));
  for (const auto& file : optional) {
    if (file.empty() || FAILED(CADFileAccess(CADUnicodeString(file), CADFileExists))) continue;
    auto packedAs = collected.byBaseName.find(BaseName(file));
    if (packedAs != collected.byBaseName.end() && packedAs->second == file) continue;  // shared, e.g. the DTD
    AddFile(file, collected);
  }
}

int ZRBSaveLocalCmd::PackFilesToSessionFile(const std::string& scratch, const std::vector<std::string>& files) {
  const std::string target = SessionFilePath();
  for (const auto& file : files) {
    if (FAILED(CADFileAccess(CADUnicodeString(file), CADFileExists))) {
      ZRB_DEBUG("ZRB: CADFileAccess(%s) failed", file.c_str());
      Fail("NoFileAccess", file);
      return 0;
    }
  }
  // A limit that is no number falls back to the system's: the session is still saved.
  const int limit = ZRBPackCommand::LineLimit("ZRB_PACK_SESSION_MAX_COMMANDLINE", 1);
  const std::string packed = scratch + "/session.zip";
  const auto lines = ZRBPackCommand::BuildLines(
      ZRBPackCommand::Setting("ZRB_PACK_SESSION_CMD", "zrb_zip -0 -q -j") + ZRBPackCommand::Word(packed),
      ZRBPackCommand::Setting("ZRB_PACK_ADD_SESSION_CMD", "zrb_zip -0 -q -j") + ZRBPackCommand::Word(packed), files,
      limit);
  bool packedAll = !lines.empty();
  for (const auto& line : lines) {
    if (!packedAll) break;
    packedAll = ZRBPackCommand::RunLine(line, "ZipCommand") != 0;
  }
  if (!packedAll || FAILED(CADRenameFile(CADUnicodeString(packed), CADUnicodeString(target)))) {
    ZRB_DEBUG("ZRB: Failed to pack Session");
    Fail("ZipFaild");
    return 0;
  }
  return 1;
}

void ZRBSaveLocalCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage("ZRBSaveLocalCmd", "SaveLocalOk"),
                       BuildMessage("ZRBSaveLocalCmd", "SaveLocalFailed"), 0);
}
