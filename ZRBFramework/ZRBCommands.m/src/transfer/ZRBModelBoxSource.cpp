#include "ZRBModelBoxSource.h"

namespace {

class NoBox final : public ZRBModelBoxSource {
 public:
  bool GetBox(const CADIProduct_var&, CADDocument*, CADFrmWindow*, double[3], double[3]) override { return false; }
};

NoBox g_noBox;
ZRBModelBoxSource* g_installed = nullptr;

}  // namespace

ZRBModelBoxSource& ZRBModelBoxSource::Current() { return g_installed ? *g_installed : g_noBox; }

void ZRBModelBoxSource::Install(ZRBModelBoxSource* source) { g_installed = source; }
