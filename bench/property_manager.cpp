// The property manager at the size of a large session: setting and reading
// reference properties by part number (every structure node of a load does
// this several times), and writing and reading the local-session file.
#include <benchmark/benchmark.h>

#include <string>

#include "ZRBPropertyManager.h"

namespace {
CADUnicodeString PartNumber(int i) { return CADUnicodeString::BuildFromNum("PN-%06d", i); }

void Fill(ZRBPropertyManager& manager, int references) {
  for (int i = 0; i < references; ++i) {
    CADUnicodeString pn = PartNumber(i);
    manager.SetReferenceProperty(pn, "ZRB_OBID", CADUnicodeString::BuildFromNum("obid-%d", i));
    manager.SetReferenceProperty(pn, "ZRB_CLASSNAME", "Part");
    manager.SetReferenceProperty(pn, "ZRB_DB_NAME", "vault & co <main>");
    manager.SetInstanceProperty(pn, "Child.1", "ZRB_RELATION", "rel");
    manager.SetFileProperty(CADUnicodeString("/xmap/") + pn + ".CADPart", "ZRB_LAST_KNOWN_MOD_TIME", "1700000000");
  }
}

void BM_ReferencePropertyByPartNumber(benchmark::State& state) {
  ZRBPropertyManager manager;
  const int references = static_cast<int>(state.range(0));
  Fill(manager, references);
  int i = 0;
  for (auto _ : state) {
    CADUnicodeString pn = PartNumber(i++ % references);
    manager.SetReferenceProperty(pn, "ZRB_CHANGEABLE", "1");
    benchmark::DoNotOptimize(manager.GetReferenceProperty(pn, "ZRB_OBID"));
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_ReferencePropertyByPartNumber)->Arg(1000)->Arg(10000);

void BM_WriteFile(benchmark::State& state) {
  ZRBPropertyManager manager;
  Fill(manager, static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = manager.WriteText("ZRBPropertyManager.dtd");
    bytes += text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_WriteFile)->Arg(10000);

void BM_ReadFile(benchmark::State& state) {
  ZRBPropertyManager source;
  Fill(source, static_cast<int>(state.range(0)));
  const std::string text = source.WriteText("ZRBPropertyManager.dtd");
  ZRBPropertyManager manager;
  for (auto _ : state) benchmark::DoNotOptimize(manager.ReadText(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadFile)->Arg(10000);
}  // namespace

BENCHMARK_MAIN();
