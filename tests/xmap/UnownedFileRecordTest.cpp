// A document of the exchange map that no PDM item owns yet is recorded with the "NO_" values, so that the
// content file's check keeps it; a file the content file knows, or one outside the map, is left as it is.
#include <gtest/gtest.h>

#include <string>

#include "XmapScratchDirectory.h"
#include "ZRBCache.h"
#include "ZRBXmapFile.h"
#include "ZRBXmapManager.h"

namespace {

TEST(UnownedFileRecordTest, OnlyUnknownFilesOfTheMapAreRecordedWithoutIdentity) {
  XmapScratchDirectory scratch;
  const std::string xmap = scratch.MakeDirectory("xmap");
  XmapScopedVariable map("ZRBXMAP", xmap.c_str());
  GlobZRBCache.ResetForTests();
  GlobZRBCache.Load();
  scratch.Write("xmap/New.CADPart", "new");
  scratch.Write("xmap/Known.CADPart", "known");
  scratch.Write("outside/Stray.CADPart", "stray");
  GlobZRBCache.UpdateXMapFile("OB1", "2026-01-02 03:04:05", (xmap + "/Known.CADPart").c_str(), "DB", "CL");
  for (const char* relative : {"xmap/New.CADPart", "xmap/Known.CADPart", "outside/Stray.CADPart"})
    GlobZRBCache.RegisterFileWithoutIdentity(CADUnicodeString(scratch.Path(relative)));
  struct Case {
    const char* name;
    const char* obid;  // null: not recorded
    const char* date;
  };
  for (const Case& c : {Case{"New.CADPart", "NO_OBID", "NO_TIMESTAMP"},
                        Case{"Known.CADPart", "OB1", "2026-01-02 03:04:05"}, Case{"Stray.CADPart", nullptr, nullptr}}) {
    SCOPED_TRACE(c.name);
    const ZRBXmapFile* entry = GlobZRBCache.GetXmapManager()->FindByFileName(c.name);
    ASSERT_EQ(entry != nullptr, c.obid != nullptr);
    if (!entry) continue;
    CADString obid, date, file, db, cls;
    entry->GetAttrs(obid, date, file, db, cls);
    EXPECT_EQ(obid, c.obid);
    EXPECT_EQ(date, c.date);
  }
  GlobZRBCache.ResetForTests();
}

}  // namespace
