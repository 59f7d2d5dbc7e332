// Speed of filling the update/create job list for a new structure that goes to the PDM for the first time:
// a new assembly of subassemblies with new parts (1,000 to 4,000 nodes), every node a row. Reported per node,
// so the sizes show whether the filling stays linear; the PDM is asked only which parts are standard parts.
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
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBSynchronizeCmd.h"

namespace {

std::atomic<int> g_shellLines{0};
// The standard-part question is part of the filling: it is answered ("no standard parts") in the process, so its
// request and answer are measured; any other PDM call is counted as a fault.
int CountingShell(const char* line) {
  const std::string text(line);
  const std::size_t open = text.find('\''), close = text.rfind('\'');
  if (text.find("x3GetInfoForParts") == std::string::npos || open == std::string::npos || close <= open) {
    ++g_shellLines;
    return -1;
  }
  const CADUnicodeString path(text.substr(open + 1, close - open - 1));
  ZRBObjectManager file;
  if (!file.Read(path) || !file.GetObject("ROOT")) return -1;
  file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
  return file.Write(path) ? 0 : -1;
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
