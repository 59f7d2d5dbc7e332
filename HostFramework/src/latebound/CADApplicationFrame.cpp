// The application frame's transaction entry point, for callers that bind it
// at run time. Transactions are undo units of the interactive session; this
// host has no undo, so a transaction is only counted.
#include <atomic>

#include "CADBaseTypes.h"
#include "CADUnicodeString.h"

namespace {
std::atomic<int> g_transactions{0};
}

// Opens a transaction named `name`; `index` receives its number (from 1).
__attribute__((visibility("default"))) HRESULT CADAfrNewTransaction(const CADUnicodeString& name,
                                                                    unsigned char /*flags*/, int& index) {
  if (name.IsEmpty()) return E_INVALIDARG;
  index = ++g_transactions;
  return S_OK;
}
