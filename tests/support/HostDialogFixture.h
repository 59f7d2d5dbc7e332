// Test support for code that shows dialogs or reads message catalogs and host settings.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "CADDialogDriver.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

// Readable failure output for the host's lists: ["a", "b"].
template <class T>
void PrintTo(const CADListVal<T>& list, std::ostream* out) {
  *out << "[";
  for (int i = 1; i <= list.Size(); ++i) *out << (i > 1 ? ", " : "") << '"' << list[i] << '"';
  *out << "]";
}

#ifdef ZRB_SOURCE_DIR
#define ZRB_TEST_CATALOG_DIR ZRB_SOURCE_DIR "/resources/msgcatalog"
#else
#define ZRB_TEST_CATALOG_DIR ""
#endif

// What the last message centre shows.
struct MessageCentreView {
  bool found = false;
  CADString identifier;  // "ZRBMessageDialog" or "ZRBSamMessageDialog"
  int variant = 0;       // 1 Build, 2 Build2, 3 Build3
  CADUnicodeString status;
  CADListValCADUnicodeString warnings;
  CADListValCADUnicodeString informations;
  bool warningPageSensitive = false;
  bool informationPageSensitive = false;
  CADString selectedPage;
};

// A temporary settings directory filled as a normal site has it, the catalogs of the source tree, a dialog driver
// whose rejected actions fail the test, and the message-box script, checked at the end of the test (an unexpected
// box or an expected box that never came fails it).
//
//   class MyTest : public HostDialogFixture {};
//   TEST_F(MyTest, X) { ExpectBox("ZRBAddTempCmd.AddTempFailed", CADDlgNfyAnswerOK); ...; Driver().Push(...); }
//
// Other fixtures embed a HostDialogSetup and call Start() / Finish() from their SetUp / TearDown.
class HostDialogSetup {
 public:
  explicit HostDialogSetup(std::string catalogDirectory = ZRB_TEST_CATALOG_DIR)
      : catalogDirectory_(std::move(catalogDirectory)) {}

  // --- lifecycle
  void Start();
  void Finish();

  // --- settings: the directory, and writing one setting of a repository
  const std::string& SettingsDirectory() const { return settingsDirectory_; }
  void SetSetting(const CADString& repository, const CADString& name, int value);
  void SetSetting(const CADString& repository, const CADString& name, const CADUnicodeString& value);
  // Removes a repository's file (the repository then reads as absent).
  void RemoveRepository(const CADString& repository);

  // --- message boxes: the next box must show the text of this key (parameters: anything) or match the pattern
  void ExpectBox(const CADString& key, int answer);
  void ExpectBoxText(const CADUnicodeString& pattern, int answer);

  CADDialogDriver& Driver() { return driver_; }
  // The newest open message centre.
  MessageCentreView LastMessageCentre();

 private:
  std::string catalogDirectory_;
  std::string settingsDirectory_;
  CADDialogDriver driver_;
  bool started_ = false;
};

class HostDialogFixture : public ::testing::Test {
 protected:
  void SetUp() override { setup_.Start(); }
  void TearDown() override { setup_.Finish(); }

  CADDialogDriver& Driver() { return setup_.Driver(); }
  HostDialogSetup& Dialogs() { return setup_; }
  void ExpectBox(const CADString& key, int answer) { setup_.ExpectBox(key, answer); }
  void ExpectBoxText(const CADUnicodeString& pattern, int answer) { setup_.ExpectBoxText(pattern, answer); }
  MessageCentreView LastMessageCentre() { return setup_.LastMessageCentre(); }

 private:
  HostDialogSetup setup_;
};
