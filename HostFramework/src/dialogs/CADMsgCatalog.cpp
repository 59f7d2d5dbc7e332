#include "CADMsgCatalog.h"

#include <vector>

#include "CADCatalogFile.h"
#include "CADCatalogStore.h"

CADUnicodeString CADMsgCatalog::BuildMessage(const CADString& catalog, const CADString& key,
                                             const CADUnicodeString* parameters, int count,
                                             const CADUnicodeString& defaultText) {
  std::string text;
  if (!CADCatalogStore::Lookup(".msg", catalog.view(), key.view(), text)) return defaultText;
  std::vector<std::string> values;
  for (int i = 0; parameters && i < count; ++i) values.push_back(parameters[i].str());
  return CADUnicodeString(CADCatalogFile::Substitute(text, values));
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
