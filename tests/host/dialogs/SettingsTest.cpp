#include <gtest/gtest.h>

#include <fstream>

#include "CADSettingFile.h"
#include "CADSettingRepository.h"
#include "ExchangeTestSupport.h"
#include "HostDialogFixture.h"

namespace {

using SettingsTest = HostDialogFixture;

TEST_F(SettingsTest, AbsentRepositoriesAndSettingsLeaveTheCallersDefault) {
  int value = 42;
  CADUnicodeString text("default");
  CADSettingRepository* none = CADSettingRepository::GetRepository("VisuCustomize");
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->ReadSetting("TreeGraphOnly", &value), E_FAIL);
  EXPECT_EQ(CADSettingRepository::GetRepository("ZRBOptions")->ReadSetting("UseVP", &value), E_FAIL);
  EXPECT_EQ(CADSettingRepository::GetRepository("ZRBOptions")->ReadSetting("UseVP", &text), E_FAIL);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(text, CADUnicodeString("default"));
  EXPECT_EQ(CADSettingRepository::ReadSetting("no/such repository", "LoadLinkStatus", &value), E_FAIL);
  EXPECT_EQ(value, 42);
  for (const char* bad : {"", "../etc", "a/b", ".hidden"})
    EXPECT_EQ(CADSettingRepository::GetRepository(bad), nullptr) << bad;
}

TEST_F(SettingsTest, IntegersAreReadStrictly) {
  struct Case {
    const char* stored;
    bool ok;
    int value;
  };
  CADSettingRepository* repo = CADSettingRepository::GetRepository("ZRBOptions");
  for (auto c : {Case{"1", true, 1}, Case{" -7 ", true, -7}, Case{"+3", true, 3}, Case{"", false, 0},
                 Case{"1x", false, 0}, Case{"ON", false, 0}, Case{"99999999999", false, 0}, Case{"0x10", false, 0}}) {
    ASSERT_EQ(repo->WriteSetting("UseVP", CADUnicodeString(c.stored)), S_OK);
    int value = -100;
    EXPECT_EQ(repo->ReadSetting("UseVP", &value), c.ok ? S_OK : E_FAIL) << c.stored;
    EXPECT_EQ(value, c.ok ? c.value : -100) << c.stored;
  }
}

TEST_F(SettingsTest, TextsAndListsSurviveAWriteAndRead) {
  CADSettingRepository* repo = CADSettingRepository::GetRepository("CADCache");
  const CADUnicodeString awkward(" lead\\ing\nline two\ttab\r trail ");
  CADListValCADUnicodeString paths{"/rel/one", "", "/rel/two = x"};
  ASSERT_EQ(repo->WriteSetting("LocalCacheDir", awkward), S_OK);
  ASSERT_EQ(repo->WriteSetting("ReleaseCachePath", paths), S_OK);
  CADSettingRepository::ResetAll();  // read back from disk, not from memory
  CADSettingRepository::SetSettingsDirectory(Dialogs().SettingsDirectory());
  repo = CADSettingRepository::GetRepository("CADCache");
  CADUnicodeString text;
  CADListValCADUnicodeString list;
  CADListValCADString narrow;
  EXPECT_EQ(repo->ReadSetting("LocalCacheDir", &text), S_OK);
  EXPECT_EQ(text, awkward);
  EXPECT_EQ(repo->ReadSetting("ReleaseCachePath", &list), S_OK);
  EXPECT_EQ(list, paths);
  EXPECT_EQ(repo->ReadSetting("ReleaseCachePath", &narrow), S_OK);
  EXPECT_EQ(narrow.Size(), 3);
  EXPECT_EQ(repo->ReadSetting("LocalCacheDir", &list), E_FAIL);  // a text is not a list
  int cache = -1;
  EXPECT_EQ(repo->ReadSetting("CacheActivation", &cache), S_OK);  // earlier settings kept
  EXPECT_EQ(cache, 0);
}

TEST_F(SettingsTest, HandEditedFilesAreReadAgainAndNothingIsLostOnWrite) {
  CADSettingRepository* repo = CADSettingRepository::GetRepository("ZRBOptions");
  {
    std::ofstream out(repo->GetFilePath());
    out << "# site options\r\nSinglePartModus=1\r\nthis line is not a setting\r\nSaveVP = 0\r\n";
  }
  int single = 0;
  EXPECT_EQ(repo->ReadSetting("SinglePartModus", &single), S_OK);
  EXPECT_EQ(single, 1);
  ASSERT_EQ(repo->WriteSetting("SaveVP", 1), S_OK);
  EXPECT_EQ(ReadBytes(repo->GetFilePath()),
            "# site options\r\nSinglePartModus = 1\nthis line is not a setting\r\nSaveVP = 1\n");
}

TEST_F(SettingsTest, AProtectedRepositoryIsReadOnly) {
  CADSettingRepository* repo = CADSettingRepository::GetRepository("CADCache");
  std::ofstream(repo->GetFilePath()) << "%protected\nLocalCacheDir = /site/cache\n";
  EXPECT_EQ(repo->IsProtected(), 1);
  EXPECT_EQ(repo->WriteSetting("LocalCacheDir", CADUnicodeString("/mine")), E_FAIL);
  CADUnicodeString dir;
  EXPECT_EQ(repo->ReadSetting("LocalCacheDir", &dir), S_OK);
  EXPECT_EQ(dir, CADUnicodeString("/site/cache"));
  EXPECT_EQ(CADSettingRepository::GetRepository("ZRBOptions")->IsProtected(), 0);
}

TEST(CADSettingFile, KeepsUnknownLinesAndReplacesASettingInPlace) {
  CADSettingFile file = CADSettingFile::Parse("a = 1\nx[] = one\nnoise\nx[] = two\nb = 2\n");
  EXPECT_EQ(file.GetDiagnostics().size(), 1u);
  file.SetList("x", {"three"});
  file.SetValue("a", "5");
  file.SetValue("c", "new");
  EXPECT_EQ(file.Render(), "a = 5\nx[] = three\nnoise\nb = 2\nc = new\n");
}

}  // namespace
