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
#include "ZRBConfigTopicManager.h"
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
  ZRB_DEBUG("ZRB: ZRBSaveLocalCmd to %s", SessionFilePath().c_str());
  CADUnicodeString xmapText;
  ZRBAfx::GetXMap(xmapText);
  const std::string xmap = xmapText.str();
  Collected collected;
  if (!ProcessZrbDocumentsInSession(xmap, collected)) return Outcome::Failed;

  const std::string data = xmap + "/ZRBPropertyManager.xml";
  const std::string dtd = xmap + "/ZRBPropertyManager.dtd";
  if (!GlobPropertyManager.WriteDTD(CADUnicodeString(dtd)) ||
      !GlobPropertyManager.Write(CADUnicodeString(data), CADUnicodeString(dtd))) {
    Fail("NoFileAccess", data);
    return Outcome::Failed;
  }
  ZRBLocalSessionIndex index;
  if (!CurrentIdentity(index.identity)) {
    Fail("NoFileAccess", "content.session");
    return Outcome::Failed;
  }
  index.tmpCounter = GlobPropertyManager.GetTempCounter();
  index.documents = collected.topDocuments;
  const std::string indexPath = xmap + "/content.session";
  std::string error;
  if (!ZRBReplacingFile::WriteWhole(indexPath, index.Write(), 0666, false, &error)) {
    ZRB_DEBUG("ZRB: writing %s failed: %s", indexPath.c_str(), error.c_str());
    Fail("NoFileAccess", indexPath);
    return Outcome::Failed;
  }
  std::vector<std::string> files{indexPath, data, dtd};
  files.insert(files.end(), collected.files.begin(), collected.files.end());
  if (!PackFilesToSessionFile(files)) return Outcome::Failed;
  for (const auto& [path, window] : collected.topDocuments)
    ZRBAfx::AddMessageCategoryToList(GetInformations(), "ZRBListMessages.WindowSavedLocalList",
                                     CADUnicodeString(window.empty() ? BaseName(path) : window));
  ZRB_TRACE_OK();
  return Outcome::Succeeded;
}

int ZRBSaveLocalCmd::ProcessZrbDocumentsInSession(const std::string& xmap, Collected& collected) {
  const std::string xmapReal = RealPath(xmap);
  const bool checkModTime = g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_CHECKMODTIMESTAMP", "ON", 1);
  std::map<const CADDocument*, std::string> inXmap;
  std::map<std::string, std::string> byBaseName;  // base name -> the path packed under it
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
    // The archive is packed with junked paths: a second file of one base name would replace the first.
    const std::string base = BaseName(path);
    if (!ZRBLocalSessionIndex::FitsOnLine(path) || !byBaseName.emplace(base, path).second) {
      ZRBAfx::AddMessageCategoryToList(GetWarnings(), "ZRBListMessages.FileNotUpdatedList", CADUnicodeString(path));
      continue;
    }
    if (document->IsDirty()) {
      dirty += path + " ";
      // Recorded before the save takes the mark away, so the restored document still goes to the PDM.
      GlobPropertyManager.SetFileProperty(CADUnicodeString(path), kModifiedMark, "1");
      if (FAILED(CADDocumentServices::Save(document.get()))) {
        ZRBAfx::AddMessageCategoryToList(GetWarnings(), "ZRBListMessages.FileNotUpdatedList", CADUnicodeString(path));
      } else if (checkModTime) {
        CADUnicodeString seconds;
        if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(CADUnicodeString(path), seconds)))
          GlobPropertyManager.SetFileProperty(CADUnicodeString(path), "ZRB_LAST_KNOWN_MOD_TIME", seconds);
      }
    } else if (GlobPropertyManager.IsFilePropertySet(CADUnicodeString(path), kModifiedMark)) {
      GlobPropertyManager.DeleteFileProperty(CADUnicodeString(path), kModifiedMark);
    }
    saved += path + " ";
    collected.files.push_back(path);
  }
  ZRB_DEBUG("vMissingNames: %s", missing.c_str());
  ZRB_DEBUG("vDirtyNames: %s", dirty.c_str());
  ZRB_DEBUG("vSaveNames: %s", saved.c_str());
  std::set<const CADDocument*> shown;
  for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList()) {
    const CADDocument* document = window ? window->GetDocument() : nullptr;
    auto found = inXmap.find(document);
    if (found == inXmap.end() || !shown.insert(document).second) continue;
    if (byBaseName.count(BaseName(found->second)) == 0 || byBaseName[BaseName(found->second)] != found->second)
      continue;
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

int ZRBSaveLocalCmd::PackFilesToSessionFile(const std::vector<std::string>& files) {
  const std::string target = SessionFilePath();
  for (const auto& file : files) {
    if (FAILED(CADFileAccess(CADUnicodeString(file), CADFileExists))) {
      ZRB_DEBUG("ZRB: CADFileAccess(%s) failed", file.c_str());
      Fail("NoFileAccess", file);
      return 0;
    }
  }
  const int limit = ZRBPackCommand::LineLimit("ZRB_PACK_SESSION_MAX_COMMANDLINE");
  // The previous session file stays until the new one is complete.
  PrivateDirectory scratch(DirectoryOf(target), ".zrbsession");
  if (limit == 0 || scratch.Path().empty()) {
    Fail("NoFileAccess", target);
    return 0;
  }
  const std::string packed = scratch.Path() + "/session.zip";
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
