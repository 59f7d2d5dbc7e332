// The non-CAD file lists of an archive as the packer, the time stamps and the dialog read them.
#include <gtest/gtest.h>

#include "ZRBArchiveManager.h"

namespace {

TEST(ArchiveNonCadTest, AnAddTemporaryArchiveNamesBothKindsOfFileWithItsPrefix) {
  ZRBArchive archive;
  archive.nonCads = {{"a.txt", true, {{"FILENAME", "a.txt"}}},
                     {"b.txt", false, {{"FILENAME", "b.txt"}}},
                     {"c.txt", false, {{"FILENAME", "c.txt"}}},
                     {"empty", false, {}}};
  for (const bool addTemp : {false, true}) {
    archive.addTemp = addTemp;
    archive.addTempPrefix = "T1_";
    GlobArchiveManager.Put("/x/A.xml", archive);
    CADListValCADUnicodeString extra, xmap;
    GlobArchiveManager.GetNonCadFilesInExtraDir("/x/A.xml", extra);
    GlobArchiveManager.GetNonCadFilesInXmap("/x/A.xml", xmap);
    const std::string prefix = addTemp ? "T1_" : "";
    ASSERT_EQ(extra.Size(), 1);
    EXPECT_EQ(extra[1].str(), prefix + "a.txt");
    ASSERT_EQ(xmap.Size(), 2) << "an entry without a file name is skipped";
    EXPECT_EQ(xmap[1].str(), prefix + "c.txt");
    EXPECT_EQ(xmap[2].str(), prefix + "b.txt");
  }
  GlobArchiveManager.Clear();
}

}  // namespace
