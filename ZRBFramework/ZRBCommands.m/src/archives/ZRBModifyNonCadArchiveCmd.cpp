#include "ZRBModifyNonCadArchiveCmd.h"

#include <set>
#include <string>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBRepresentationFormats.h"
#include "ZRBTrace.h"

ZRBModifyNonCadArchiveCmd* fctCreateZRBModifyNonCadArchiveCmd() { return new ZRBModifyNonCadArchiveCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBModifyNonCadArchiveCmd", &fctCreateZRBModifyNonCadArchiveCmd);

constexpr const char* kCatalog = "ZRBModifyNonCadArchiveCmd";

CADUnicodeString Xmap() {
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  return xmap;
}

std::string Normal(const CADUnicodeString& directory) { return ZRBArchiveManager::NormalizeName(directory.str()); }

// Host documents are archive members, never non-CAD files.
bool IsHostDocument(const CADUnicodeString& name) {
  const CADUnicodeString extension = ZRBFileUtil::GetExtension(name);
  return extension == "CADPart" || extension == "CADProduct" || extension == "CADDrawing" || extension == "model" ||
         extension == "vis" || extension == "CADProcess" || extension == "CADAnalysis" ||
         (!extension.IsEmpty() && ZRBRepresentationFormats::Contains(extension));
}

void AddRows(std::vector<ZRBNonCadRow>& rows, const CADListValCADUnicodeString& names,
             const CADUnicodeString& directory) {
  for (const CADUnicodeString& name : names)
    rows.push_back({name, directory,
                    ZRBModifyNonCadArchiveCmd::StateText(
                        ZRBModifyNonCadArchiveCmd::GetState(ZRBAfx::MakePath(directory, name), 1))});
}
}  // namespace

ZRBOneStepCommand::Outcome ZRBModifyNonCadArchiveCmd::Work() {
  if (!GetEditor()) {
    ZRB_DEBUG("ZRB: GetCurrentEditor() failed");
    ZRBAfx::MsgBox(CADUnicodeString("ZRBModifyNonCadArchiveCmd failed!"), kFailureStyle);
    return Outcome::Stopped;
  }
  CADIProduct_var root;
  CADUnicodeString archiveName;
  if (FAILED(GetArchiveRootFile(root, archiveName))) return Outcome::Stopped;
  ZRBNonCadArchiveDialog::Sources sources;
  sources.candidates = [] { return Candidates(); };
  sources.state = [](const CADUnicodeString& name, const CADUnicodeString& directory) {
    return StateText(GetState(ZRBAfx::MakePath(directory, name), 1));
  };
  new ZRBNonCadArchiveDialog(archiveName, CurrentRows(archiveName), std::move(sources),
                             [this, archiveName, root](int ok, const std::vector<ZRBNonCadRow>& rows) {
                               if (ok) ApplyRows(archiveName, root, rows);
                               SetResult(ok ? CADCommandResult::Succeeded : CADCommandResult::Cancelled);
                               End();
                             });
  return Outcome::Continues;
}

HRESULT ZRBModifyNonCadArchiveCmd::GetArchiveRootFile(CADIProduct_var& root, CADUnicodeString& archiveName) {
  CADFrmEditor* editor = GetEditor();
  CADCSO* cso = editor->GetCSO();
  CADDocument* document = editor->GetDocument();
  if (!document || !(document->GetType() == "CADProduct")) {
    ShowMessage(kCatalog, "NoArchiveItemFound", kFailureStyle);
    return E_FAIL;
  }
  ZRB_DEBUG("ZRB: Found CADProduct");
  if (!cso || cso->GetSize() == 0) {
    ZRB_DEBUG("ZRB: *** unexspected error *** pSelectedObject = NULL");
    ShowMessage(kCatalog, "NoArchiveItemFound", kFailureStyle);
    return E_FAIL;
  }
  if (FAILED(cso->GetElement(1)->GetLeafProduct(root)) || !root) {
    ZRB_DEBUG("ZRB: *** unexspected error *** piProduct == NULL");
    ShowMessage(kCatalog, "NoArchiveItemFound", kFailureStyle);
    return E_FAIL;
  }
  const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(root);
  archiveName = GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_CONTENT_FILE_NAME");
  ZRB_DEBUG("ZRB: archive root file %s, structure file %s, archive file %s, changeable %s", path.c_str(),
            archiveName.c_str(), GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_FILE").c_str(),
            GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_CHANGEABLE").c_str());
  if (archiveName.IsEmpty() || !GlobArchiveManager.ArchiveLoaded(archiveName)) {
    if (!archiveName.IsEmpty()) ZRB_DEBUG("ZRB: Could not get Archive");
    ShowMessage(kCatalog, "NoArchiveItemFound", kFailureStyle);
    return E_FAIL;
  }
  return S_OK;
}

std::vector<ZRBNonCadRow> ZRBModifyNonCadArchiveCmd::CurrentRows(const CADUnicodeString& archiveName) {
  std::vector<ZRBNonCadRow> rows;
  CADListValCADUnicodeString inXmap, inExtra;
  GlobArchiveManager.GetNonCadFilesInXmap(archiveName, inXmap);
  GlobArchiveManager.GetNonCadFilesInExtraDir(archiveName, inExtra);
  AddRows(rows, inXmap, Xmap());
  AddRows(rows, inExtra, ZRBArchiveManager::GetStartupExtraDirForNonCad());
  return rows;
}

std::vector<ZRBNonCadCandidate> ZRBModifyNonCadArchiveCmd::Candidates() {
  std::set<std::string> known = {"sZRBstructure", "ZRBArchive.dtd"};
  CADListValCADUnicodeString names, paths;
  GlobArchiveManager.GetArchiveNameList(names);
  for (const CADUnicodeString& name : names) {
    CADListValCADUnicodeString files;
    GlobArchiveManager.GetAllKnownFileNames(name, files);
    for (const CADUnicodeString& file : files) known.insert(ZRBFileUtil::GetFileNameFromPath(file).str());
    known.insert(ZRBFileUtil::GetFileNameFromPath(name).str());
  }
  GlobPropertyManager.GetAllKnownFileNames(paths);
  for (const CADUnicodeString& path : paths) known.insert(ZRBFileUtil::GetFileNameFromPath(path).str());

  std::vector<ZRBNonCadCandidate> candidates;
  const CADUnicodeString xmap = Xmap(), extra = ZRBArchiveManager::GetStartupExtraDirForNonCad();
  std::vector<CADUnicodeString> directories = {xmap};
  if (Normal(extra) != Normal(xmap)) directories.push_back(extra);
  for (const CADUnicodeString& directory : directories) {
    CADListValCADUnicodeString entries;
    if (FAILED(CADListDirectory(directory, entries))) {
      ZRBAfx::MsgBox(CADUnicodeString(directory == xmap ? "Could not access exchangemap directory"
                                                        : "Could not access Extra Non Cad directory"),
                     kFailureStyle);
      continue;
    }
    for (const CADUnicodeString& entry : entries) {
      int regular = 0;
      if (known.count(entry.str()) ||
          FAILED(ZRBFileUtil::IsRegularFile(ZRBAfx::MakePath(directory, entry), &regular)) || !regular)
        continue;
      candidates.push_back({entry, directory, IsHostDocument(entry)});
    }
  }
  return candidates;
}

void ZRBModifyNonCadArchiveCmd::ApplyRows(const CADUnicodeString& archiveName, const CADIProduct_var& root,
                                          const std::vector<ZRBNonCadRow>& rows) {
  ZRBArchive* archive = GlobArchiveManager.Find(archiveName);
  if (!archive) return;
  const std::string prefix = archive->addTemp ? archive->addTempPrefix : std::string();
  CADListValCADUnicodeString wasInExtraList;
  GlobArchiveManager.GetNonCadFilesInExtraDir(archiveName, wasInExtraList);
  std::set<std::string> wasInExtra;
  for (const CADUnicodeString& name : wasInExtraList) wasInExtra.insert(name.str());
  const CADUnicodeString xmap = Xmap(), extra = ZRBArchiveManager::GetStartupExtraDirForNonCad();
  const bool separateExtra = Normal(extra) != Normal(xmap);
  // Built in one pass (one entry per name, the first row wins): the list may hold thousands of files.
  std::vector<ZRBArchiveNonCad> entries;
  std::set<std::string> seen;
  for (const ZRBNonCadRow& row : rows) {
    const bool inExtra = (separateExtra && Normal(row.directory) == Normal(extra)) || wasInExtra.count(row.name.str());
    // The lists show an add-temporary archive's files under their names on disk; the archive keeps them without
    // the prefix.
    std::string name = row.name.str();
    if (!prefix.empty() && name.starts_with(prefix)) name.erase(0, prefix.size());
    if (name.empty() || !seen.insert(name).second) continue;
    entries.push_back({name, inExtra, {{"FILENAME", name}}});
  }
  archive->nonCads = std::move(entries);
  GlobArchiveManager.SetNonCadChanged(archiveName, 1);
  // The archive's root document carries the archive: the host must see it changed too.
  const CADUnicodeString rootFile = GlobArchiveManager.GetRootAttribute(archiveName, "FILENAME");
  CADDocument* document =
      rootFile.IsEmpty() ? nullptr : CADDocumentServices::GetDocumentInSession(ZRBAfx::MakePath(xmap, rootFile));
  if (!document && root)
    document = CADDocumentServices::GetDocumentInSession(GlobPropertyManager.GetProductFullPath(root));
  if (document) {
    const CADUnicodeString type = document->GetType();
    if (!(type == "model") && !(type == "vis") && !ZRBInfoUtil::IsRepresentation(type)) document->SetDirty(1);
  }
}

ZRBNonCadState ZRBModifyNonCadArchiveCmd::GetState(const CADUnicodeString& fullPath, int withExistence) {
  if (withExistence && FAILED(CADFileAccess(fullPath, CADFileExists))) return ZRBNonCadState::NotFound;
  const CADUnicodeString known = GlobPropertyManager.GetFileProperty(fullPath, "ZRB_LAST_KNOWN_MOD_TIME");
  if (known.IsEmpty()) return ZRBNonCadState::New;
  CADUnicodeString time;
  if (FAILED(ZRBFileUtil::GetLastModificationFromFile(fullPath, time)) || time == known)
    return ZRBNonCadState::NotModified;
  return ZRBNonCadState::Modified;
}

CADUnicodeString ZRBModifyNonCadArchiveCmd::StateText(ZRBNonCadState state) {
  static constexpr const char* kKeys[] = {"NewString", "ModifiedString", "NotModifiedString", "NotFoundString"};
  return BuildMessage(kCatalog, kKeys[static_cast<int>(state)]);
}
