// Speed of the product states a save computes: every node of a structure of 1,000 to 10,000 nodes, five levels
// deep with shared parts, built by the read from a prepared answer, with about one node in a hundred moved.
// Reported per node, so the sizes show whether the computation stays linear; the PDM is never asked while its
// settings are known.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "PreparedStructureAnswer.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadState.h"
#include "ZRBStructureReader.h"

using namespace zrbbench;

namespace {

std::atomic<int> g_shellLines{0};
int CountingShell(const char*) {
  ++g_shellLines;
  return -1;
}

void Collect(const CADIProduct_var& node, std::vector<CADIProduct_var>& nodes) {
  nodes.push_back(node);
  for (const CADBaseUnknown_var& item : node->GetChildren()) Collect(CADIProduct_var(item), nodes);
}

void BM_ProductStates(benchmark::State& state) {
  PreparedAnswer prepared(static_cast<int>(state.range(0)));
  g_ZRBConfig.ChangeEnvVar("ZRBXMAP", prepared.Xmap().c_str(), 0);
  CADDocumentServices::ResetSession();
  GlobPropertyManager.ResetForTests();
  GlobZRBCache.ResetForTests();
  GlobZRBCache.Load();
  ZRBAfx::SetShellCall(&CountingShell);
  BenchCmd* command = new BenchCmd();
  ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  ZRBReadState readState;
  ZRBObjectManager answer;
  answer.Read(CADUnicodeString((prepared.Xmap() + "/xfile.zrb").c_str()));
  ZRBStructureReader reader(*command, readState);
  reader.ReadProductStructure(nullptr, nullptr, answer, answer.GetObject("ROOT"));

  std::vector<CADIProduct_var> nodes;
  for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(entry);
    CADIProduct_var root = document ? document->GetRootProduct() : nullptr;
    if (root && root->GetPartNumber() == "ASM0") Collect(root, nodes);
  }
  // The prepared files hold no positions, so placing the instances modified every assembly: as loaded from
  // files that hold them, nothing is modified.
  for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments())
    if (CADDocument_var document{entry}) document->SetDirty(0);
  for (std::size_t i = 50; i < nodes.size(); i += 100)
    if (CADIProduct_var father = nodes[i]->GetFatherProduct())
      CADIMovable_var(nodes[i])->SetPosition(CADMathTransformation::Translation(1, 2, 3), father.get());

  int changed = 0;
  for (auto _ : state) {
    changed = 0;
    for (const CADIProduct_var& node : nodes) {
      int value = 0;
      command->GetProductState(node, value);
      changed += value != 1;
    }
  }
  if (nodes.size() + 10 < static_cast<std::size_t>(prepared.Nodes()))
    state.SkipWithError("the structure was not built");
  if (g_shellLines != 0) state.SkipWithError("a PDM process was started");
  state.counters["nodes"] = static_cast<double>(nodes.size());
  state.counters["changed"] = changed;
  state.counters["time_per_node"] = benchmark::Counter(
      static_cast<double>(nodes.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  command->Release();
  ZRBAfx::SetShellCall({});
  GlobZRBCache.ResetForTests();
  CADDocumentServices::ResetSession();
}
BENCHMARK(BM_ProductStates)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
