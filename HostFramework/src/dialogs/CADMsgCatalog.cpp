#include "CADMsgCatalog.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "CADCatalogFile.h"
#include "CADCatalogStore.h"

namespace {

// Texts built so far and their keys. Bounded: a session building endless distinct texts starts afresh rather than
// growing without end. Never destroyed (messages may be built during static destruction).
struct BuiltTexts {
  static constexpr std::size_t kLimit = 20000;
  std::mutex mutex;
  std::unordered_map<std::string, std::string> keys;

  void Remember(std::string_view text, const std::string& key) {
    if (text.empty()) return;
    std::lock_guard lock(mutex);
    if (keys.size() >= kLimit) keys.clear();
    keys[std::string(text)] = key;
    if (text.find('\n') == std::string_view::npos) return;
    for (std::size_t start = 0; start <= text.size();) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      if (end > start) keys[std::string(text.substr(start, end - start))] = key;
      start = end + 1;
    }
  }
};

BuiltTexts& Built() {
  static auto* built = new BuiltTexts;
  return *built;
}

}  // namespace

CADUnicodeString CADMsgCatalog::BuildMessage(const CADString& catalog, const CADString& key,
                                             const CADUnicodeString* parameters, int count,
                                             const CADUnicodeString& defaultText) {
  const std::string fullKey =
      key.view().find('.') == std::string_view::npos ? catalog.str() + "." + key.str() : key.str();
  std::string text;
  if (!CADCatalogStore::Lookup(".msg", catalog.view(), key.view(), text)) {
    Built().Remember(defaultText.view(), fullKey);
    return defaultText;
  }
  std::vector<std::string> values;
  for (int i = 0; parameters && i < count; ++i) values.push_back(parameters[i].str());
  CADUnicodeString built(CADCatalogFile::Substitute(text, values));
  Built().Remember(built.view(), fullKey);
  return built;
}

std::string CADMsgCatalog::KeyOfText(std::string_view text) {
  BuiltTexts& built = Built();
  std::lock_guard lock(built.mutex);
  auto it = built.keys.find(std::string(text));
  return it == built.keys.end() ? std::string() : it->second;
}

bool CADMsgCatalog::GetText(const CADString& catalog, const CADString& key, CADUnicodeString& text) {
  std::string found;
  if (!CADCatalogStore::Lookup(".msg", catalog.view(), key.view(), found)) return false;
  text = CADUnicodeString(found);
  return true;
}

void CADMsgCatalog::SetCatalogPath(std::string_view path) { CADCatalogStore::SetPath(path); }
std::string CADMsgCatalog::GetCatalogPath() { return CADCatalogStore::GetPath(); }
void CADMsgCatalog::Reset() { CADCatalogStore::Reset(); }
