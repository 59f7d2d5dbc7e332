#include "ZRBConfigEnvironment.h"

#include <cstdlib>
#include <cstring>

void ZRBConfigEnvironment::SetPrefix(std::string_view prefix) {
  std::lock_guard<std::mutex> lock(mutex_);
  prefix_.assign(prefix);
}

std::string ZRBConfigEnvironment::GetPrefix() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return prefix_;
}

std::string ZRBConfigEnvironment::FullName(const char* name, bool applyPrefix) const {
  return applyPrefix ? prefix_ + name : std::string(name);
}

const char* ZRBConfigEnvironment::Intern(std::string value) const {
  return interned_.insert(std::move(value)).first->c_str();
}

const char* ZRBConfigEnvironment::Get(const char* name, bool applyPrefix) const {
  if (!name) return nullptr;
  std::lock_guard<std::mutex> lock(mutex_);
  std::string full = FullName(name, applyPrefix);
  if (auto it = overrides_.find(full); it != overrides_.end()) return it->second ? Intern(*it->second) : nullptr;
  // getenv's own pointer may be invalidated by a later setenv in the host,
  // so the caller gets an interned copy instead.
  const char* value = std::getenv(full.c_str());
  return value ? Intern(value) : nullptr;
}

bool ZRBConfigEnvironment::Compare(const char* name, const char* value, bool applyPrefix) const {
  if (!value) return false;
  const char* current = Get(name, applyPrefix);
  return current && std::strcmp(current, value) == 0;
}

bool ZRBConfigEnvironment::Change(const char* name, const char* value, bool applyPrefix) {
  if (!name) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  std::string full = FullName(name, applyPrefix);
  overrides_[full] = value ? std::optional<std::string>(value) : std::nullopt;
  return true;
}

std::vector<std::pair<std::string, std::optional<std::string>>> ZRBConfigEnvironment::Overrides() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return {overrides_.begin(), overrides_.end()};
}

void ZRBConfigEnvironment::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  overrides_.clear();
  prefix_.clear();
}
