// The property manager at the size of a large session: setting and reading
// reference properties by part number (every structure node of a load does
// this several times), lookups in the record store as it grows, and writing
// and reading the local-session file.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ZRBPropertyManager.h"
#include "ZRBPropertyManagerStore.h"

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

// What a structure build does per node, against a store of 1,000 to 100,000
// nodes: find the parent's reference, its instance of the child, the child's
// path-to-root and file records, and re-key one reference. Flat times per
// node across the sizes mean the lookups do not grow with the store.
void BM_StoreLookupScaling(benchmark::State& state) {
  const int nodes = static_cast<int>(state.range(0));
  ZRBPropertyManagerStore store;
  std::vector<CADUnicodeString> partNumbers, names, paths, files;
  for (int i = 0; i < nodes; ++i) {
    partNumbers.push_back(PartNumber(i));
    names.push_back(CADUnicodeString::BuildFromNum("Part.%d", i % 7 + 1));
    paths.push_back(CADUnicodeString::BuildFromNum("/Root.1/Asm.%d/", i / 7) + names.back());
    files.push_back(CADUnicodeString("/xmap/") + partNumbers.back() + ".CADPart");
    ZRBPropertyReference* parent = store.FindOrCreateReference(PartNumber(i / 7));
    store.FindOrCreateReference(partNumbers.back())->SetFullPath(files.back());
    store.FindOrCreateInstance(parent->GetId(), names.back())->SetChildId(i + 1);
    store.FindOrCreatePathToRoot(paths.back());
    store.FindOrCreateFile(files.back());
  }
  int i = 0;
  for (auto _ : state) {
    const int n = i++ % nodes;
    ZRBPropertyReference* parent = store.FindReference(PartNumber(n / 7));
    benchmark::DoNotOptimize(store.FindInstance(parent->GetId(), names[n]));
    benchmark::DoNotOptimize(store.FindPathToRoot(paths[n]));
    benchmark::DoNotOptimize(store.FindFile(files[n]));
    benchmark::DoNotOptimize(store.FindReferenceByFullPath(files[n]));
    ZRBPropertyReference* child = store.FindReference(partNumbers[n]);
    child->SetPartNumber("RENAMED");
    child->SetPartNumber(partNumbers[n]);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StoreLookupScaling)->Arg(1000)->Arg(10000)->Arg(100000);

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
