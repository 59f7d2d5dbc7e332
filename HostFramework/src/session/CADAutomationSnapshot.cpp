#include "CADAutomationSnapshot.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

struct Published {
  std::mutex mutex;
  std::map<std::pair<std::string, std::string>, std::string> values;
};

// Never destroyed: a component may publish during static destruction.
Published& Values() {
  static auto* published = new Published;
  return *published;
}

}  // namespace

void CADAutomationSnapshot::Publish(std::string_view componentClass, std::string_view key, std::string_view value) {
  auto& published = Values();
  std::lock_guard lock(published.mutex);
  published.values[{std::string(componentClass), std::string(key)}] = std::string(value);
}

bool CADAutomationSnapshot::Read(std::string_view componentClass, std::string_view key, std::string& value) {
  auto& published = Values();
  std::lock_guard lock(published.mutex);
  auto it = published.values.find({std::string(componentClass), std::string(key)});
  if (it == published.values.end()) {
    value.clear();
    return false;
  }
  value = it->second;
  return true;
}

void CADAutomationSnapshot::Reset() {
  auto& published = Values();
  std::lock_guard lock(published.mutex);
  published.values.clear();
}
