// Speed of building a read's structure from a prepared answer in the exchange map (the PDM call left out): an
// answer of 1,000 to 10,000 nodes five levels deep, every leaf one of a few shared parts. Reported per node, so
// the sizes show whether the build stays linear.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CADDocumentServices.h"
#include "PreparedStructureAnswer.h"
#include "ZRBCache.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadState.h"
#include "ZRBStructureReader.h"

using namespace zrbbench;

namespace {

void BM_ReadStructure(benchmark::State& state) {
  PreparedAnswer prepared(static_cast<int>(state.range(0)));
  g_ZRBConfig.ChangeEnvVar("ZRBXMAP", prepared.Xmap().c_str(), 0);
  const CADUnicodeString answerFile((prepared.Xmap() + "/xfile.zrb").c_str());
  for (auto _ : state) {
    state.PauseTiming();
    CADDocumentServices::ResetSession();
    GlobPropertyManager.ResetForTests();
    GlobZRBCache.ResetForTests();
    GlobZRBCache.Load();
    BenchCmd* command = new BenchCmd();
    ZRBReadState readState;
    state.ResumeTiming();

    ZRBObjectManager answer;
    answer.Read(answerFile);
    ZRBStructureReader reader(*command, readState);
    const int ok = reader.ReadProductStructure(nullptr, nullptr, answer, answer.GetObject("ROOT"));

    state.PauseTiming();
    if (!ok || command->GetWarnings().Size() != 0) state.SkipWithError("the structure was not built cleanly");
    command->Release();
    state.ResumeTiming();
  }
  state.counters["nodes"] = prepared.Nodes();
  state.counters["time_per_node"] =
      benchmark::Counter(prepared.Nodes(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  GlobZRBCache.ResetForTests();
  CADDocumentServices::ResetSession();
}
BENCHMARK(BM_ReadStructure)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
