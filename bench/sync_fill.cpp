// Speed of filling the update/create job list for a new structure that goes to the PDM for the first time:
// a new assembly of subassemblies with new parts (1,000 to 4,000 nodes), every node a row. Reported per node,
// so the sizes show whether the filling stays linear; the PDM is never asked.
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIProduct.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBInfoUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBSynchronizeCmd.h"

namespace {

std::atomic<int> g_shellLines{0};
int CountingShell(const char*) {
  ++g_shellLines;
  return -1;
}

CADIProduct_var AddNew(const CADIProduct_var& parent, const char* type, const std::string& partNumber) {
  CADDocument* document = nullptr;
  CADIProduct_var child;
  if (FAILED(CADDocumentServices::New(type, document)) || FAILED(parent->AddExternalComponent(document, child)))
    return nullptr;
  child->GetReferenceProduct()->SetPartNumber(CADUnicodeString(partNumber));
  return child;
}

void BM_FillSyncDialog(benchmark::State& state) {
  const int nodes = static_cast<int>(state.range(0));
  const std::string directory = (std::filesystem::temp_directory_path() / "zrb-bench-sync").string();
  std::filesystem::create_directories(directory);
  g_ZRBConfig.ChangeEnvVar("ZRBXMAP", directory.c_str(), 0);
  CADDocumentServices::ResetSession();
  CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(directory));
  GlobPropertyManager.ResetForTests();
  ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  ZRBInfoUtil::SetUseDesigTables(0);  // known, so the filling asks the PDM nothing
  ZRBAfx::SetShellCall(&CountingShell);

  CADDocument* rootDocument = nullptr;
  CADDocumentServices::New("CADProduct", rootDocument);
  CADIProduct_var root = rootDocument->GetRootProduct();
  root->SetPartNumber("NEWASM");
  constexpr int kPartsPerAssembly = 49;
  int built = 1;
  for (int a = 0; built < nodes; ++a) {
    CADIProduct_var assembly = AddNew(root, "CADProduct", "SUB" + std::to_string(a));
    ++built;
    for (int p = 0; p < kPartsPerAssembly && built < nodes; ++p, ++built)
      AddNew(assembly, "CADPart", "PRT" + std::to_string(a) + "_" + std::to_string(p));
  }

  auto* command = new ZRBSynchronizeCmd();
  int rows = 0;
  for (auto _ : state) {
    command->UpdateProductDocumentInteractive(rootDocument);
    rows = command->GetJobs().Size();
  }
  if (rows != nodes) state.SkipWithError("not every new node became a row");
  if (g_shellLines != 0) state.SkipWithError("a PDM process was started");
  state.counters["rows"] = rows;
  state.counters["time_per_node"] = benchmark::Counter(
      static_cast<double>(nodes), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  command->Release();
  ZRBAfx::SetShellCall({});
  CADDocumentServices::ResetSession();
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_FillSyncDialog)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
