#include "CADRscCatalog.h"

#include <vector>

#include "CADCatalogFile.h"
#include "CADCatalogStore.h"

int CADRscCatalog::BuildResource(const CADString& catalog, const CADString& key, CADUnicodeString& text,
                                 const CADString* parameters, int count) {
  std::string found;
  if (!CADCatalogStore::Lookup(".rsc", catalog.view(), key.view(), found)) return 0;
  std::vector<std::string> values;
  for (int i = 0; parameters && i < count; ++i) values.push_back(parameters[i].str());
  text = CADUnicodeString(CADCatalogFile::Substitute(found, values));
  return 1;
}
