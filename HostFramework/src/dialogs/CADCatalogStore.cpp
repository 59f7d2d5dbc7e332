#include "CADCatalogStore.h"

#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace {

struct StoreState {
  std::mutex mutex;
  bool pathOverridden = false;
  std::string pathOverride;
  std::map<std::string, std::shared_ptr<const CADCatalogFile>, std::less<>> loaded;  // "<name><ext>" -> file
};

StoreState& State() {
  static StoreState state;
  return state;
}

#ifndef CAD_DEFAULT_MSGCATALOG_DIR
#define CAD_DEFAULT_MSGCATALOG_DIR ""
#endif

std::string CurrentPath(const StoreState& s) {
  if (s.pathOverridden) return s.pathOverride;
  const char* env = std::getenv("CAD_MSGCATALOG_PATH");
  if (env && *env) return env;
  return CAD_DEFAULT_MSGCATALOG_DIR;
}

// A catalog name is a file name of its own: no directories, no hidden files.
bool IsSafeCatalogName(std::string_view name) {
  if (name.empty() || name.front() == '.') return false;
  for (char c : name)
    if (c == '/' || c == '\0') return false;
  return true;
}

std::shared_ptr<const CADCatalogFile> FindFile(const std::string& searchPath, const std::string& fileName) {
  size_t start = 0;
  while (start <= searchPath.size()) {
    size_t colon = searchPath.find(':', start);
    std::string dir = searchPath.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    start = colon == std::string::npos ? searchPath.size() + 1 : colon + 1;
    if (dir.empty()) continue;
    std::string path = dir + "/" + fileName;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
      return std::make_shared<const CADCatalogFile>(CADCatalogFile::Load(path));
  }
  return nullptr;
}

}  // namespace

bool CADCatalogStore::Lookup(std::string_view extension, std::string_view catalog, std::string_view key,
                             std::string& text) {
  if (!IsSafeCatalogName(catalog)) return false;
  std::string fileName = std::string(catalog) + std::string(extension);
  std::shared_ptr<const CADCatalogFile> file;
  {
    StoreState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.loaded.find(fileName);
    if (it == s.loaded.end()) it = s.loaded.emplace(fileName, FindFile(CurrentPath(s), fileName)).first;
    file = it->second;
  }
  if (!file) return false;
  const std::string* found = nullptr;
  if (key.size() > catalog.size() && key.starts_with(catalog) && key[catalog.size()] == '.')
    found = file->Find(key.substr(catalog.size() + 1));
  if (!found) found = file->Find(key);
  if (!found) return false;
  text = *found;
  return true;
}

void CADCatalogStore::SetPath(std::string_view path) {
  StoreState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.pathOverridden = !path.empty();
  s.pathOverride = std::string(path);
  s.loaded.clear();
}

std::string CADCatalogStore::GetPath() {
  StoreState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return CurrentPath(s);
}

void CADCatalogStore::Reset() { SetPath(""); }
