// A document of the exchange map that no PDM item owns yet is recorded with the "NO_" values, so that the
// content file's check keeps it; a file the content file knows, or one outside the map, is left as it is.
#include <gtest/gtest.h>

#include "XmapScratchDirectory.h"
#include "ZRBCache.h"
#include "ZRBXmapFile.h"
#include "ZRBXmapManager.h"

TEST(UnownedFileRecordTest, OnlyUnknownFilesOfTheMapAreRecordedWithoutIdentity) {
  XmapScratchDirectory scratch;
  XmapScopedVariable map("ZRBXMAP", scratch.MakeDirectory("xmap").c_str());
  GlobZRBCache.ResetForTests();
  GlobZRBCache.Load();
  GlobZRBCache.UpdateXMapFile("OB1", "2026-01-02 03:04:05", scratch.Write("xmap/Known.CADPart").c_str(), "DB", "CL");
  for (const char* file : {"xmap/New.CADPart", "xmap/Known.CADPart", "outside/Stray.CADPart"})
    GlobZRBCache.RegisterFileWithoutIdentity(CADUnicodeString(scratch.Write(file)));
  for (const auto& [name, expected] :
       {std::pair{"New.CADPart", "NO_OBID"}, std::pair{"Known.CADPart", "OB1"}, std::pair{"Stray.CADPart", ""}}) {
    const ZRBXmapFile* entry = GlobZRBCache.GetXmapManager()->FindByFileName(name);
    CADString obid, date, file, db, cls;
    if (entry) entry->GetAttrs(obid, date, file, db, cls);
    EXPECT_EQ(obid, expected) << name;
  }
  GlobZRBCache.ResetForTests();
}
