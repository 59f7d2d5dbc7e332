// Test stand-in for the customer extension library: document identifiers of
// its own ("CUST:" and the file name, held in the library's static storage,
// which a caller must copy and never free) compared ignoring case, so a test
// can tell its answers from the host's.
#include <strings.h>

#include <cstdio>
#include <cstring>

#include "CADBaseTypes.h"
#include "CADDocument.h"

#define ZRB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
char g_identifier[300];
}

// How often the refresh entry point ran (tests read it through dlsym).
extern "C" __attribute__((visibility("default"))) int ZRBCustExtRefreshCount;
int ZRBCustExtRefreshCount = 0;

ZRB_EXPORT HRESULT ZRBExtRefreshDocumentInformation(CADDocument* document) {
  if (!document) return E_FAIL;
  ++ZRBCustExtRefreshCount;
  return S_OK;
}

ZRB_EXPORT HRESULT ZRBExtReadDSFileIdentifier(CADDocument* document, const char** identifier) {
  if (!document || !identifier) return E_FAIL;
  CADUnicodeString name = document->GetDisplayName();
  std::snprintf(g_identifier, sizeof g_identifier, "CUST:%s", name.c_str());
  *identifier = g_identifier;
  return S_OK;
}

#ifndef ZRB_CUSTEXT_WITHOUT_COMPARE
ZRB_EXPORT HRESULT ZRBExtCompareDSFileIdentifier(const char* a, const char* b, unsigned char* same) {
  if (!a || !b || !same) return E_FAIL;
  *same = ::strcasecmp(a, b) == 0 ? 1 : 0;
  return S_OK;
}
#endif
