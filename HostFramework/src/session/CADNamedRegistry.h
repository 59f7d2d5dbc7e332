// Entries registered under unique names with a registration id, shared by
// the class dictionary and the component factories. Thread-safe: libraries
// register while they load, any thread may look up.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

template <class Entry>
class CADNamedRegistry {
 public:
  std::uint64_t Add(std::string_view name, Entry entry) {
    std::lock_guard lock(mutex_);
    std::string key(name);
    if (key.empty() || entries_.count(key)) return 0;
    std::uint64_t id = nextId_++;
    entries_.emplace(std::move(key), Slot{id, std::move(entry)});
    return id;
  }
  void Remove(std::uint64_t id) {
    if (id == 0) return;
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [id](const auto& item) { return item.second.id == id; });
  }
  std::optional<Entry> Find(std::string_view name) const {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(std::string(name));
    if (it == entries_.end()) return std::nullopt;
    return it->second.entry;
  }
  std::vector<std::string> Names() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const auto& item : entries_) names.push_back(item.first);
    return names;
  }

 private:
  struct Slot {
    std::uint64_t id;
    Entry entry;
  };
  mutable std::mutex mutex_;
  std::map<std::string, Slot, std::less<>> entries_;
  std::uint64_t nextId_ = 1;
};
