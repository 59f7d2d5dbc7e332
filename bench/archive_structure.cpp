// Writing and reading the structure file of a large archive (every part under the root, with model infos and a
// position each) against writing the same bytes with a plain stream: both must grow linearly with the parts.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "ZRBArchiveXml.h"

namespace {

ZRBArchive LargeArchive(int parts) {
  ZRBArchive archive;
  archive.root.data.attributes = {{"PARTNUMBER", "ROOT & Co"}, {"FILENAME", "Root.CADProduct"}};
  for (int i = 0; i < parts; ++i) {
    const std::string number = "PN-" + std::to_string(i);
    archive.root.children.push_back({number, number + ".1", "1 0 0 0 0 1 0 0 0 0 1 0 10.5 20.25 -3 1"});
    ZRBArchivePart part;
    part.id = number;
    part.data.attributes = {{"PARTNUMBER", number}, {"FILENAME", number + ".CADPart"}};
    part.data.hasModelInfos = true;
    part.data.modelInfos = {{"MODEL_MASS", "1.25"}, {"MODEL_MATERIAL", "St <37>"}};
    archive.parts.push_back(std::move(part));
  }
  return archive;
}

void BM_WriteStructureFile(benchmark::State& state) {
  const ZRBArchive archive = LargeArchive(static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = ZRBArchiveXml::Write(archive);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
  state.SetComplexityN(state.range(0));
}

void BM_PlainStreamSameBytes(benchmark::State& state) {
  const std::string text = ZRBArchiveXml::Write(LargeArchive(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    std::ostringstream out;
    out << text;
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
  state.SetComplexityN(state.range(0));
}

void BM_ReadStructureFile(benchmark::State& state) {
  const std::string text = ZRBArchiveXml::Write(LargeArchive(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    ZRBArchive archive;
    if (!ZRBArchiveXml::ParseText(text, archive)) state.SkipWithError("structure file refused");
    benchmark::DoNotOptimize(archive);
  }
  state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_WriteStructureFile)->RangeMultiplier(5)->Range(200, 5000)->Complexity(benchmark::oN);
BENCHMARK(BM_PlainStreamSameBytes)->RangeMultiplier(5)->Range(200, 5000)->Complexity(benchmark::oN);
BENCHMARK(BM_ReadStructureFile)->RangeMultiplier(5)->Range(200, 5000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
