#include "ZRBPropertyContainer.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// The watched names and whether each was written; a handful at most.
std::vector<std::pair<std::string, bool>>& Watched() {
  static std::vector<std::pair<std::string, bool>> watched;
  return watched;
}

}  // namespace

void ZRBPropertyContainer::WatchName(std::string_view name) {
  for (const auto& entry : Watched())
    if (entry.first == name) return;
  Watched().emplace_back(std::string(name), false);
}

bool ZRBPropertyContainer::WasEverSet(std::string_view name) {
  for (const auto& entry : Watched())
    if (entry.first == name) return entry.second;
  return true;  // not watched: it may have been
}

void ZRBPropertyContainer::SetProperty(const CADUnicodeString& name, const CADUnicodeString& value) {
  bool found = false;
  for (int i = 1; i <= names_.Size(); ++i) {
    if (names_[i] == name) {
      values_[i] = value;
      found = true;
    }
  }
  if (found)
    Touch();
  else
    AppendProperty(name, value);
}

void ZRBPropertyContainer::AppendProperty(const CADUnicodeString& name, const CADUnicodeString& value) {
  for (auto& entry : Watched())
    if (!entry.second && entry.first == name.view()) entry.second = true;
  names_.Append(name);
  values_.Append(value);
  Touch();
}

CADUnicodeString ZRBPropertyContainer::GetProperty(const CADUnicodeString& name) const {
  int i = Find(name);
  return i ? values_[i] : CADUnicodeString();
}

int ZRBPropertyContainer::DeleteProperty(const CADUnicodeString& name) {
  int removed = 0;
  for (int i = names_.Size(); i >= 1; --i) {
    if (names_[i] == name) {
      names_.RemovePosition(i);
      values_.RemovePosition(i);
      ++removed;
    }
  }
  if (removed) Touch();
  return removed;
}

int ZRBPropertyContainer::IsPropertySet(const CADUnicodeString& name) const { return Find(name) ? 1 : 0; }

void ZRBPropertyContainer::GetAllProperties(CADListValCADUnicodeString& names,
                                            CADListValCADUnicodeString& values) const {
  names = names_;
  values = values_;
}

void ZRBPropertyContainer::RemoveAllProperties() {
  names_.RemoveAll();
  values_.RemoveAll();
  Touch();
}

int ZRBPropertyContainer::Find(const CADUnicodeString& name) const { return names_.Locate(name); }

std::uint64_t ZRBPropertyContainer::HashKey(std::string_view key) {
  // FNV-1a: cheap, and good enough to skip most full comparisons.
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : key) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}
