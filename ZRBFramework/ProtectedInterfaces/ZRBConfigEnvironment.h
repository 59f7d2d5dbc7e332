// Environment lookups of the configuration service: a process-internal
// override table in front of the process environment, with the module prefix.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

// Thread use: every member is guarded by mutex_, so the user-interface thread
// and the PDM worker thread may look values up concurrently.
class ZRBConfigEnvironment {
 public:
  ZRBConfigEnvironment() = default;
  ZRBConfigEnvironment(const ZRBConfigEnvironment&) = delete;
  ZRBConfigEnvironment& operator=(const ZRBConfigEnvironment&) = delete;

  // --- module prefix ("" standard client, "SAM_" second client)
  void SetPrefix(std::string_view prefix);
  std::string GetPrefix() const;

  // --- lookups (applyPrefix: put the module prefix in front of name)
  // The override when one exists, else the process environment read afresh.
  // Null when the variable is not set. The text stays valid and unchanged
  // for the life of this object (values are interned, never overwritten).
  const char* Get(const char* name, bool applyPrefix) const;
  // True only when the variable is set and equals value byte for byte.
  bool Compare(const char* name, const char* value, bool applyPrefix) const;
  // Records value for the full name in the override table (never exported to
  // child processes). A null value masks the variable as not set.
  bool Change(const char* name, const char* value, bool applyPrefix);

  // --- inspection and reset
  // Overrides by full name; nullopt marks a masked variable.
  std::vector<std::pair<std::string, std::optional<std::string>>> Overrides() const;
  // Forgets the overrides and the prefix (interned texts stay valid).
  void Reset();

 private:
  std::string FullName(const char* name, bool applyPrefix) const;  // mutex_ held
  const char* Intern(std::string value) const;                     // mutex_ held

  mutable std::mutex mutex_;
  std::string prefix_;
  std::map<std::string, std::optional<std::string>> overrides_;
  // Every value ever handed out; node-based, so the texts never move.
  mutable std::unordered_set<std::string> interned_;
};
