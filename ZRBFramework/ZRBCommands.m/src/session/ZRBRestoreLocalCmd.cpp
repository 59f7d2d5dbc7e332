#include "ZRBRestoreLocalCmd.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBFileUtil.h"
#include "ZRBLocalSessionFiles.h"
#include "ZRBLocalSessionIndex.h"
#include "ZRBPackCommand.h"
#include "ZRBPropertyManager.h"
#include "ZRBSaveLocalCmd.h"
#include "ZRBTrace.h"

ZRBRestoreLocalCmd* fctCreateZRBRestoreLocalCmd() { return new ZRBRestoreLocalCmd(); }

using namespace ZRBLocalSessionFiles;

namespace {
const CADClassDictionary::Registration g_registration("ZRBRestoreLocalCmd", &fctCreateZRBRestoreLocalCmd);

bool IntegrationDocumentOpen(const std::string& xmap) {
  const std::string xmapReal = RealPath(xmap);
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(item);
    if (document && !document->StorageName().IsEmpty() &&
        RealPath(DirectoryOf(document->StorageName().str())) == xmapReal)
      return true;
  }
  return false;
}
}  // namespace

void ZRBRestoreLocalCmd::Fail(const char* name, const std::string& parameter) {
  CADUnicodeString text(parameter);
  GetWarnings().Append(
      BuildMessage("ZRBRestoreLocalCmd", name, parameter.empty() ? nullptr : &text, parameter.empty() ? 0 : 1));
}

ZRBOneStepCommand::Outcome ZRBRestoreLocalCmd::Work() {
  ZRB_TRACE("ZRBRestoreLocalCmd::ReadLocalSession");
  ZRB_DEBUG("ZRB: ZRBRestoreLocalCmd from %s", ZRBSaveLocalCmd::SessionFilePath().c_str());
  CADUnicodeString xmapText;
  ZRBAfx::GetXMap(xmapText);
  const std::string xmap = xmapText.str();
  ZRBLocalSessionIndex index;
  std::set<std::string> unpacked;
  PrivateDirectory scratch(xmap, ".zrbrestore");  // inside the map: moving out of it is a rename
  if (scratch.Path().empty()) {
    Fail("ExtractFailed");
    return Outcome::Failed;
  }
  if (!ReadLocalSession(xmap, scratch.Path(), index, unpacked)) return Outcome::Failed;

  // The state files stay in the private directory: no file of the exchange map is read in their place.
  const std::string data = scratch.Path() + "/" + ZRBSaveLocalCmd::kDataName;
  int regular = 0;  // a link unpacked from a forged file is not followed
  ZRBFileUtil::IsRegularFile(CADUnicodeString(data), &regular);
  if (!regular || !GlobPropertyManager.Read(CADUnicodeString(data)))
    ZRB_DEBUG("ZRB: %s could not be read completely", data.c_str());
  // Identifiers handed out since the save stay unique: the counter is raised, never lowered.
  GlobPropertyManager.SetTmpCounter(index.tmpCounter);
  ReadArchives(xmap, index, unpacked);
  RestoreFileTimes(xmap, unpacked);

  int opened = 0;
  for (const auto& [path, window] : index.documents) {
    const std::string base = BaseName(path);
    // Only what this restore unpacked is opened: the index never names a file elsewhere.
    if (!unpacked.count(base)) {
      ZRB_DEBUG("ZRB: %s is not in the session file", path.c_str());
      continue;
    }
    OpenTopDocument(xmap + "/" + base, window);
    ++opened;
  }
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(item);
    if (document && IsMarked(document->StorageName())) document->SetDirty(1);
  }
  if (opened == 0) {
    ZRB_DEBUG("no Top level files");
    Fail("SessionNoData");
    return Outcome::Failed;
  }
  ZRB_TRACE_OK();
  return Outcome::Succeeded;
}

void ZRBRestoreLocalCmd::ReadArchives(const std::string& xmap, const ZRBLocalSessionIndex& index,
                                      const std::set<std::string>& unpacked) {
  // The archive's members come back as documents of the session file, newer than the packed archive file may be
  // (a modified member is saved into the exchange map, not into the archive): the packed file is therefore not
  // unpacked over them, and only the structure file is read.
  for (const auto& [archive, structure] : index.archives) {
    ZRB_DEBUG("Archive File: %s", archive.c_str());
    ZRB_DEBUG("Archive Strc File: %s", structure.c_str());
    const std::string base = BaseName(structure);
    const CADUnicodeString path(xmap + "/" + base);
    if (!unpacked.count(base) || !GlobArchiveManager.Read(path)) {
      Fail("ArchiveNotRead", structure);
      continue;
    }
    if (IsMarked(path)) GlobArchiveManager.SetNonCadChanged(path, 1);
  }
}

int ZRBRestoreLocalCmd::IsMarked(const CADUnicodeString& path) {
  return !path.IsEmpty() &&
         GlobPropertyManager.GetFileProperty(path, ZRBSaveLocalCmd::kModifiedMark) == CADUnicodeString("1");
}

int ZRBRestoreLocalCmd::ReadLocalSession(const std::string& xmap, const std::string& scratch,
                                         ZRBLocalSessionIndex& index, std::set<std::string>& unpacked) {
  const std::string sessionFile = ZRBSaveLocalCmd::SessionFilePath();
  if (FAILED(CADFileAccess(CADUnicodeString(sessionFile), CADFileRead))) {
    Fail("NoSessionFile", sessionFile);
    return 0;
  }
  if (IntegrationDocumentOpen(xmap)) {
    Fail("SessionNotEmpty");
    return 0;
  }
  const std::string line = ZRBPackCommand::Setting("ZRB_UNPACK_SESSION_CMD", "zrb_unzip -o -j -q -d") +
                           ZRBPackCommand::Word(scratch) + ZRBPackCommand::Word(sessionFile);
  ZRB_DEBUG("UnzipCommand: '%s'", line.c_str());
  // Status 1 of an unzip-style program is a warning; the files are there.
  if (!ZRBPackCommand::RunLine(line, "UnzipCommand", 1)) {
    ZRB_DEBUG("ZRB: Failed to extract Session");
    Fail("ExtractFailed");
    return 0;
  }
  const std::string indexPath = scratch + "/" + ZRBSaveLocalCmd::kIndexName;
  int regular = 0;
  ZRBFileUtil::IsRegularFile(CADUnicodeString(indexPath), &regular);
  std::ifstream in(indexPath, std::ios::binary);
  if (!regular || !in) {
    Fail("NoFileAccess", "content.session");
    return 0;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  if (!ZRBLocalSessionIndex::Parse(text.str(), index, error)) {
    ZRB_DEBUG("ZRB: ReadLine(content.session) failed: %s", error.c_str());
    Fail("NoFileAccess", "content.session");
    return 0;
  }
  std::string identity;
  if (!ZRBSaveLocalCmd::CurrentIdentity(identity) || identity != index.identity) {
    ZRB_DEBUG("Identline does not match");
    Fail("WrongSession");
    return 0;
  }
  CADListValCADUnicodeString names;
  CADListDirectory(CADUnicodeString(scratch), names);
  for (const auto& name : names) {
    const std::string base = name.str();
    const CADUnicodeString from(scratch + "/" + base);
    if (base == ZRBSaveLocalCmd::kIndexName || base == ZRBSaveLocalCmd::kDataName ||
        base == ZRBSaveLocalCmd::kDtdName || FAILED(ZRBFileUtil::IsRegularFile(from, &regular)) || !regular)
      continue;
    // The old file of that name goes; the rename replaces it in one step.
    if (FAILED(CADRenameFile(from, CADUnicodeString(xmap + "/" + base)))) {
      ZRB_DEBUG("ZRB: could not move file from %s to %s/%s", from.c_str(), xmap.c_str(), base.c_str());
      continue;
    }
    unpacked.insert(base);
  }
  return 1;
}

void ZRBRestoreLocalCmd::RestoreFileTimes(const std::string& xmap, const std::set<std::string>& unpacked) {
  CADListValCADUnicodeString paths, times;
  GlobPropertyManager.GetAllKnownFilesAndModTimes(paths, times);
  const std::string xmapReal = RealPath(xmap);
  for (int i = 1; i <= paths.Size() && i <= times.Size(); ++i) {
    const std::string path = paths[i].str();
    // A file modified since the PDM had it keeps its newer time, or it would look unchanged.
    if (!unpacked.count(BaseName(path)) || RealPath(DirectoryOf(path)) != xmapReal || IsMarked(paths[i])) continue;
    CADUnicodeString current;
    if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(paths[i], current)) && current == times[i]) continue;
    if (FAILED(ZRBFileUtil::SetLastModificationToFile(paths[i], times[i])))
      ZRB_DEBUG("ZRB: could not set the time of %s", path.c_str());
  }
}

void ZRBRestoreLocalCmd::OpenTopDocument(const std::string& path, const std::string& windowName) {
  const CADUnicodeString file(path);
  const std::string type = ZRBFileUtil::GetExtension(file).str();
  CADDocument* document = nullptr;
  CADListValCADUnicodeString refresh;
  int ok = 0;
  if (type == "CADPart" || type == "CADProduct") {
    ok = OpenProductWithWindow(document, file, CADUnicodeString(), 0, refresh, nullptr);
  } else if (type == "model") {
    ok = OpenLegacyModelWithWindow(document, file, CADUnicodeString(), 0, refresh, nullptr);
  } else if (type == "vis") {
    ok = OpenVisWithWindow(document, file, CADUnicodeString(), 0, refresh, nullptr);
  } else if (type == "CADDrawing") {
    ok = OpenDrawingWithWindow(document, file, 0, refresh, nullptr);
  } else {
    ZRB_DEBUG("Unhandled Filetype: %s", path.c_str());
    return;
  }
  if (!ok || !document) return;
  const auto windows = CADFrmLayout::GetCurrentLayout().GetWindowsOf(document);
  if (!windows.empty() && !windowName.empty()) windows.back()->SetName(CADUnicodeString(windowName));
  ZRBAfx::AddMessageCategoryToList(GetInformations(), "ZRBListMessages.WindowRestoredLocalList",
                                   CADUnicodeString(windowName.empty() ? BaseName(path) : windowName));
}

void ZRBRestoreLocalCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage("ZRBRestoreLocalCmd", "RestoreLocalOk"),
                       BuildMessage("ZRBRestoreLocalCmd", "RestoreLocalFailed"), 0);
}
