// The integration's configuration topic service: the debug switch, prefixed
// environment lookups with process-internal overrides, and the structured
// configuration read from the file named by "ZRB_CONFIG_FILE".
//
// One global instance, g_ZRBConfig, lives in libZRBConfig so that it is
// constructed before the module's static initialisers run and destroyed
// after theirs.
#pragma once

#include <atomic>
#include <mutex>
#include <ostream>
#include <string>

#include "CADListVal.h"
#include "CADUnicodeString.h"
#include "ZRBConfigBehaviorManager.h"
#include "ZRBConfigData.h"
#include "ZRBConfigEnvironment.h"
#include "ZRBFeatureExtension.h"

// Thread use: the debug switch and the environment lookups may be used from
// any thread (the PDM worker thread writes debug lines and reads settings).
// The structured data is read on the user-interface thread; loading and
// replacing it happens at library load and in tests only.
class ZRBConfigTopicManager {
 public:
  // --- lifecycle
  // Reads the debug switch from "ZRB_DEBUG" ("ON" or a non-zero integer) and
  // the structured configuration from the file named by "ZRB_CONFIG_FILE".
  ZRBConfigTopicManager();
  ~ZRBConfigTopicManager();
  ZRBConfigTopicManager(const ZRBConfigTopicManager&) = delete;
  ZRBConfigTopicManager& operator=(const ZRBConfigTopicManager&) = delete;

  // --- debug switch (non-zero: trace on)
  int GetDebug() const { return debug_.load(std::memory_order_relaxed); }
  void SetDebug(int value) { debug_.store(value, std::memory_order_relaxed); }
  // What "ZRB_DEBUG" means: on for "ON" or a non-zero integer, else off.
  static int ParseDebugValue(const char* value);

  // --- environment (applyPrefix 1: the module prefix goes in front of name;
  // there is no fallback to the name without prefix)
  void SetModulePrefix(const CADUnicodeString prefix);
  CADUnicodeString GetModulePrefix() const;
  // The override set by ChangeEnvVar, else the process environment read
  // afresh; null when not set. The returned text is never changed or freed
  // while the service lives (process lifetime for g_ZRBConfig): a later
  // change yields a different pointer.
  const char* GetEnvVar(const char* name, const int applyPrefix) const;
  // 1 only when the variable is set and equals value (case-sensitive).
  int CompareEnvVar(const char* name, const char* value, const int applyPrefix) const;
  // Later lookups of this process see value; child processes do not. A null
  // value makes the variable read as not set. 1 done, 0 for a null name.
  int ChangeEnvVar(const char* name, const char* value, const int applyPrefix) const;

  // --- file and part categories, user-defined properties
  // Finds the first configured category for the document type (and file
  // name, when the entry has a pattern). Copies at most size-1 bytes of it
  // into category (never splitting a UTF-8 sequence) and always terminates.
  // *link (when given) receives the category's link flag. 1 found, 0 not.
  int GetFileCategory(const char* documentType, const char* fileName, char* category, int size, int* link) const;
  // Index-aligned names and display names; returns how many.
  int GetPartCategories(CADListValCADUnicodeString& names, CADListValCADUnicodeString& displayNames) const;
  // 1 and the name when a default category is configured, else 0 and "".
  int GetDefaultPartCategory(CADUnicodeString& name) const;
  // 1 and the display name of a configured category, else 0 and "".
  int GetPartCategoryDisplayName(const CADUnicodeString& name, CADUnicodeString& displayName) const;
  // Appends the configured user-defined property names; returns how many.
  int GetUserDefProps(CADListValCADUnicodeString& names) const;

  // --- feature extensions and node behaviours (owned by the service)
  const ZRBFeatureExtension* GetFirstFeatureExtension() const;
  const ZRBFeatureExtensionAttribute* GetFirstFeatureExtensionAttribute(const ZRBFeatureExtension* extension) const;
  // Stays valid for the life of the service, also across reloads.
  ZRBConfigBehaviorManager* GetConfigBehaviorManager() { return &behaviorManager_; }

  // --- diagnostics
  void Dump(std::ostream& out) const;
  // Where the service's own debug lines go (null: standard output). The
  // module points this at its trace stream.
  void SetDiagnosticStream(std::ostream* stream);

  // --- loading and tests
  // Replaces the structured data by the file's. A missing or faulty file
  // leaves no data and writes one debug line; returns 0 then. An empty path
  // means no file: no data, returns 1.
  int LoadConfigFile(const char* path);
  // Why the last load failed ("" after a good one).
  std::string GetLoadError() const { return loadError_; }
  // Test entry: replaces the structured data without a file.
  void SetConfigData(ZRBConfigData data);
  // Drops the structured data (module unload).
  void Unload();
  // Back to the state of a fresh load with no file: no overrides, prefix
  // "", no structured data, switch from "ZRB_DEBUG". Texts handed out by
  // GetEnvVar stay valid.
  void ResetForTests();

 private:
  void DiagnosticLine(const std::string& line) const;

  // The debug switch must stay the first field.
  std::atomic<int> debug_;
  // ChangeEnvVar is const in the service's interface, yet records overrides.
  mutable ZRBConfigEnvironment environment_;
  ZRBConfigData data_;
  ZRBConfigBehaviorManager behaviorManager_{data_};
  std::string configFile_;
  std::string loadError_;
  mutable std::mutex diagnosticMutex_;
  std::ostream* diagnosticStream_ = nullptr;
};

extern ZRBConfigTopicManager g_ZRBConfig;
