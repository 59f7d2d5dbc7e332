// The host's setting repositories ("ZRBOptions", "CADCache", "SymbolicLinks", "VisuCustomize" ...).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "CADBaseTypes.h"
#include "CADListVal.h"
#include "CADSettingFile.h"
#include "CADString.h"
#include "CADUnicodeString.h"

// One file "<Name>.settings" per repository (format in CADSettingFile.h) in the settings directory named by the
// host variable CAD_SETTINGS_DIR. A missing file or setting reads as absent so that the caller keeps its default;
// a write goes to disk at once (replacing the file atomically) unless the repository is protected.
// User-interface thread only.
class CADSettingRepository {
 public:
  // The repository of that name (kept for the process), or null when no settings directory is known or the
  // name is not a plain file name.
  static CADSettingRepository* GetRepository(const CADString& name);
  // The integer setting `name` of that repository; E_FAIL (value left unchanged) when the repository or the
  // setting is missing.
  static HRESULT ReadSetting(const CADString& repository, const CADString& name, int* value);

  // --- reading: S_OK with the value, E_FAIL when the setting is absent or of another form (the value is then
  // left unchanged). The file is read again when it changed on disk.
  HRESULT ReadSetting(const CADString& name, int* value);
  HRESULT ReadSetting(const CADString& name, CADString* value);
  HRESULT ReadSetting(const CADString& name, CADUnicodeString* value);
  HRESULT ReadSetting(const CADString& name, CADListValCADUnicodeString* values);
  HRESULT ReadSetting(const CADString& name, CADListValCADString* values);

  // --- writing: E_FAIL for a protected repository, a bad name or a file that cannot be written.
  HRESULT WriteSetting(const CADString& name, int value);
  HRESULT WriteSetting(const CADString& name, const CADUnicodeString& value);
  HRESULT WriteSetting(const CADString& name, const CADListValCADUnicodeString& values);
  // Kept for callers written for hosts that buffer writes: every write is already saved.
  HRESULT SaveRepository() { return S_OK; }

  // 1 when the site protected this repository (its settings are read-only for the session).
  int IsProtected();
  const CADString& GetName() const { return name_; }
  std::string GetFilePath() const;

  // --- process-wide: the directory (an empty text goes back to CAD_SETTINGS_DIR) and a reset for tests.
  static void SetSettingsDirectory(std::string_view directory);
  static std::string GetSettingsDirectory();
  static void ResetAll();

 private:
  friend struct std::default_delete<CADSettingRepository>;
  explicit CADSettingRepository(const CADString& name) : name_(name) {}
  ~CADSettingRepository() = default;
  // Reads the file again when it changed on disk; false when it is absent or unreadable.
  bool Refresh();
  HRESULT Store(const CADSettingFile& updated);

  CADString name_;
  CADSettingFile file_;
  bool present_ = false;
  // Identity of the file as last read.
  long long mtimeNs_ = -1;
  long long size_ = -1;
  unsigned long long inode_ = 0;
};
