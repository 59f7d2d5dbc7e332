// The change times of non-CAD files live in file records of the property manager, but no open document names those
// files: without this step every integrity check would drop them and every file would look new.
#include "ZRBAfxBase.h"
#include "ZRBArchiveManager.h"
#include "ZRBPropertyManager.h"

void ZRBArchiveManager::KeepNonCadRecords() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  GlobPropertyManager.AddIntegrityStep(false, [](ZRBPropertyManager& properties, int) {
    CADUnicodeString xmap;
    ZRBAfxBase::GetXMap(xmap);
    const CADUnicodeString extra = GetStartupExtraDirForNonCad();
    CADListValCADUnicodeString names;
    GlobArchiveManager.GetArchiveNameList(names);
    for (const CADUnicodeString& name : names) {
      CADListValCADUnicodeString inXmap, inExtra;
      GlobArchiveManager.GetNonCadFilesInXmap(name, inXmap);
      GlobArchiveManager.GetNonCadFilesInExtraDir(name, inExtra);
      for (const CADUnicodeString& file : inXmap) properties.UnsetRemoveFlagForFile(ZRBAfxBase::MakePath(xmap, file));
      for (const CADUnicodeString& file : inExtra) properties.UnsetRemoveFlagForFile(ZRBAfxBase::MakePath(extra, file));
    }
  });
}
