#include "ZRBArchiveMembers.h"

#include <memory>
#include <vector>

#include "CADDocument.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {
bool Contains(const CADListValCADUnicodeString& list, const CADUnicodeString& value) {
  for (int i = 1; i <= list.Size(); ++i)
    if (list[i] == value) return true;
  return false;
}

void Stamp(const CADUnicodeString& path, int force) {
  CADUnicodeString time;
  if (FAILED(ZRBFileUtil::GetLastModificationFromFile(path, time))) return;
  if (force || GlobPropertyManager.GetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME").IsEmpty())
    GlobPropertyManager.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", time);
}
}  // namespace

int ZRBArchiveMembers::CopySingleArchiveFileToXmap(ZRBCommand& command, const CADIProduct_var& member,
                                                   const CADUnicodeString& xmap, CADListValCADUnicodeString& files) {
  if (!member) return 1;
  CADDocument* document = nullptr;
  const CADUnicodeString source = GlobPropertyManager.GetProductFullPath(member);
  const CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(source);
  const CADUnicodeString target = xmap + name;
  if (name.IsEmpty() || Contains(files, target)) return 1;  // embedded, or the same file used twice
  int saved = 0;
  if (SUCCEEDED(ZRBFileUtil::GetRefDocFromCADIProduct(member, &document)) && document && document->IsInSession()) {
    saved = command.SaveAs(*document, target, "", 0);
  } else {
    saved = source == target || SUCCEEDED(ZRBFileUtil::CopyFile(source, target));
  }
  if (!saved) {
    ZRB_DEBUG("ZRBCommand::SaveToDir failed with path %s", target.c_str());
    CADUnicodeString parameter = target;
    command.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAttachArchiveCmd", "SaveFailed", &parameter, 1));
    return 0;
  }
  Stamp(target, 1);
  files.Append(target);
  return 1;
}

int ZRBArchiveMembers::CopyArchiveFilesToXmap(ZRBCommand& command, const CADIProduct_var& root,
                                              const CADUnicodeString& xmap, CADListValCADUnicodeString& files) {
  ZRB_TRACE("ZRBCommand::CopyArchiveFilesToXmap");
  if (!root) {
    ZRB_DEBUG("ZRB: AttachArchive: Selected is NULL");
    return 0;
  }
  if (!CopySingleArchiveFileToXmap(command, root, xmap, files)) return 0;
  std::unique_ptr<ZRBNodeList> nodes = ZRBPSNTreeUtil::GetAllChildren(root, 1);
  for (int i = 1; nodes && i <= nodes->Size(); ++i)
    if (!CopySingleArchiveFileToXmap(command, CADIProduct_var((*nodes)[i]), xmap, files)) return 0;
  if (g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_DT_IN_ARCHIVE", "ON", 1) == 1) return 1;
  int result = 1;
  ForEachTable(root, [&](ZRBDesignTable& table) {
    CADUnicodeString path;
    if (!result) return;
    if (FAILED(table.MoveToXMap()) || FAILED(table.GetFullPath(path))) {
      ZRB_DEBUG("ZRB: design table could not be moved into the exchange map");
      command.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAttachArchiveCmd", "SaveFailed", &path, 1));
      result = 0;
    } else if (!Contains(files, path)) {
      files.Append(path);
    }
  });
  if (result) ZRB_TRACE_OK();
  return result;
}

void ZRBArchiveMembers::ForEachTable(const CADIProduct_var& root, const std::function<void(ZRBDesignTable&)>& visit) {
  if (!root) return;
  std::vector<CADIProduct_var> products = {root};
  std::unique_ptr<ZRBNodeList> nodes = ZRBPSNTreeUtil::GetAllChildren(root, 1);
  for (int i = 1; nodes && i <= nodes->Size(); ++i)
    if (CADIProduct_var member((*nodes)[i]); member) products.push_back(member);
  CADListValCADUnicodeString seen;
  for (const CADIProduct_var& product : products) {
    CADRawCollPV* tables = ZRBDesignTable::GetTables(product, 1);
    for (int i = 1; tables && i <= tables->Size(); ++i) {
      auto* table = static_cast<ZRBDesignTable*>((*tables)[i]);
      CADUnicodeString path;
      unsigned char exists = 0;
      if (!table || FAILED(table->GetFullPath(path)) || FAILED(table->FileExists(&exists)) || !exists ||
          Contains(seen, path))
        continue;
      seen.Append(path);
      visit(*table);
    }
    if (tables) ZRBDesignTable::DestroyList(tables);
  }
}

void ZRBArchiveMembers::SetTimeStampToNonCad(const CADUnicodeString& contentFile, int force) {
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  CADUnicodeString extra = ZRBArchiveManager::GetStartupExtraDirForNonCad();
  if (!extra.IsEmpty() && extra.str().back() != '/') extra = CADUnicodeString(extra.str() + "/");
  CADListValCADUnicodeString inXmap, inExtra;
  GlobArchiveManager.GetNonCadFilesInXmap(contentFile, inXmap);
  GlobArchiveManager.GetNonCadFilesInExtraDir(contentFile, inExtra);
  for (int i = 1; i <= inXmap.Size(); ++i) Stamp(xmap + ZRBFileUtil::GetFileNameFromPath(inXmap[i]), force);
  for (int i = 1; i <= inExtra.Size(); ++i) Stamp(extra + ZRBFileUtil::GetFileNameFromPath(inExtra[i]), force);
}
