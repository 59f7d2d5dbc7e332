#include "HostDialogFixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "CADApplicationFrame.h"
#include "CADDlgBoxScript.h"
#include "CADDlgDialog.h"
#include "CADDlgReaper.h"
#include "CADMsgCatalog.h"
#include "CADSettingRepository.h"

namespace {

std::string MakeTempDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zrb-settings-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return std::string();
  return pattern;
}

}  // namespace

void HostDialogSetup::Start() {
  settingsDirectory_ = MakeTempDirectory();
  ASSERT_FALSE(settingsDirectory_.empty()) << "cannot create a settings directory";
  CADSettingRepository::SetSettingsDirectory(settingsDirectory_);
  CADMsgCatalog::SetCatalogPath(catalogDirectory_);
  CADDlgBoxScript::Reset();
  CADApplicationFrame::Reset();
  driver_.SetFailureHandler([](const std::string& message) { ADD_FAILURE() << "dialog driver: " << message; });
  started_ = true;

  // What a normal site has: referenced documents are loaded, the host cache is off, single-part mode is off.
  SetSetting("SymbolicLinks", "LoadLinkStatus", 1);
  SetSetting("CADCache", "CacheActivation", 0);
  SetSetting("CADCache", "TimeStamp", 0);
  std::filesystem::create_directories(settingsDirectory_ + "/localcache");
  SetSetting("CADCache", "LocalCacheDir", CADUnicodeString(settingsDirectory_ + "/localcache"));
  SetSetting("ZRBOptions", "SinglePartModus", 0);
}

void HostDialogSetup::Finish() {
  if (!started_) return;
  started_ = false;
  for (const CADDlgBoxRecord& box : CADDlgBoxScript::GetUnexpected())
    ADD_FAILURE() << "unexpected message box \"" << box.identifier << "\" (style 0x" << std::hex << box.style
                  << std::dec << ") titled [" << box.title << "]: " << box.text;
  if (int left = CADDlgBoxScript::CountPendingExpectations())
    ADD_FAILURE() << left << " expected message box(es) never shown";
  CADDlgReaper::Flush();
  CADApplicationFrame::Reset();
  CADDlgBoxScript::Reset();
  CADSettingRepository::ResetAll();
  CADMsgCatalog::Reset();
  std::error_code ignored;
  std::filesystem::remove_all(settingsDirectory_, ignored);
}

void HostDialogSetup::SetSetting(const CADString& repository, const CADString& name, int value) {
  CADSettingRepository* repo = CADSettingRepository::GetRepository(repository);
  ASSERT_NE(repo, nullptr);
  ASSERT_EQ(repo->WriteSetting(name, value), S_OK) << repository << "." << name;
}

void HostDialogSetup::SetSetting(const CADString& repository, const CADString& name, const CADUnicodeString& value) {
  CADSettingRepository* repo = CADSettingRepository::GetRepository(repository);
  ASSERT_NE(repo, nullptr);
  ASSERT_EQ(repo->WriteSetting(name, value), S_OK) << repository << "." << name;
}

void HostDialogSetup::RemoveRepository(const CADString& repository) {
  CADSettingRepository* repo = CADSettingRepository::GetRepository(repository);
  if (repo) ::unlink(repo->GetFilePath().c_str());
}

void HostDialogSetup::ExpectBox(const CADString& key, int answer) {
  if (!CADDlgBoxScript::ExpectKey(key, answer))
    ADD_FAILURE() << "message key " << key << " is not in the catalogs (" << CADMsgCatalog::GetCatalogPath() << ")";
}

void HostDialogSetup::ExpectBoxText(const CADUnicodeString& pattern, int answer) {
  CADDlgBoxScript::ExpectText(pattern, answer);
}

MessageCentreView HostDialogSetup::LastMessageCentre() {
  MessageCentreView view;
  CADDialogDriver quiet;  // a missing centre is an answer here, not a failure
  quiet.SetFailureHandler(nullptr);
  CADDlgDialog* newest = nullptr;
  for (const char* id : {"ZRBMessageDialog", "ZRBSamMessageDialog"}) {
    CADDlgDialog* candidate = quiet.FindDialog(id);
    if (!candidate) continue;
    auto open = CADDlgDialog::GetOpenWindows();
    auto rank = [&](CADDlgDialog* w) { return std::find(open.begin(), open.end(), w) - open.begin(); };
    if (!newest || rank(candidate) > rank(newest)) newest = candidate;
  }
  if (!newest) return view;
  view.found = true;
  view.identifier = newest->GetName();
  std::string id = view.identifier.str();
  for (int variant = 1; variant <= 3; ++variant) {
    std::string icon = variant == 1 ? "ZRBStatusIcon" : "ZRBStatusIcon" + std::to_string(variant);
    if (newest->FindDescendant(icon)) view.variant = variant;
  }
  view.status = quiet.GetTitle(id, "ZRBStatusText");
  view.warnings = quiet.GetLines(id, "ZRBWarningList");
  view.informations = quiet.GetLines(id, "ZRBInformationList");
  if (CADDialog* page = newest->FindDescendant("ZRBWarnings")) view.warningPageSensitive = page->GetSensitivity();
  if (CADDialog* page = newest->FindDescendant("ZRBInformations"))
    view.informationPageSensitive = page->GetSensitivity();
  view.selectedPage = quiet.GetSelectedTab(id, "ZRBMessageTabContainer");
  return view;
}
