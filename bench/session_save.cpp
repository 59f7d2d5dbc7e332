// Speed of saving a large session locally: a product of 2,000 parts in the exchange map, shown in one window.
// The packing program is not run (the stand-in only creates the packed file), so the time is the module's own;
// the counter "pack_calls" tells how many command lines the files needed: with the default limit, and with a
// site's cautious "ZRB_PACK_SESSION_MAX_COMMANDLINE" of 8,192.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADEventLoop.h"
#include "CADFrmLayout.h"
#include "CADIProduct.h"
#include "CADInteractiveApplication.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBSaveLocalCmd.h"

namespace {

int g_packCalls = 0;
// Counts the packing lines and creates the packed file the first one names.
int PackingStandIn(const char* line) {
  const std::string text(line);
  if (text.rfind("true '", 0) != 0) return 0;
  if (++g_packCalls == 1) {
    const size_t end = text.find('\'', 6);
    if (FILE* f = std::fopen(text.substr(6, end - 6).c_str(), "wb")) std::fclose(f);
  }
  return 0;
}

void BM_SaveLocalSession(benchmark::State& state) {
  const int parts = static_cast<int>(state.range(0));
  const std::string maxLine = state.range(1) ? std::to_string(state.range(1)) : std::string();
  const std::string directory = (std::filesystem::temp_directory_path() / "zrb-bench-session").string();
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  CADInteractiveApplication application;
  g_ZRBConfig.ChangeEnvVar("ZRBXMAP", directory.c_str(), 0);
  g_ZRBConfig.ChangeEnvVar("ZRB_PACK_SESSION_CMD", "true", 0);
  g_ZRBConfig.ChangeEnvVar("ZRB_PACK_ADD_SESSION_CMD", "true", 0);
  g_ZRBConfig.ChangeEnvVar("ZRB_PACK_SESSION_MAX_COMMANDLINE", maxLine.c_str(), 0);
  CADDocumentServices::ResetSession();
  CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(directory));
  GlobPropertyManager.ResetForTests();
  ZRBAfx::SetShellCall(&PackingStandIn);

  CADDocument* rootDocument = nullptr;
  CADDocumentServices::New("CADProduct", rootDocument);
  rootDocument->GetRootProduct()->SetPartNumber("BIGASM");
  for (int p = 0; p < parts; ++p) {
    CADDocument* document = nullptr;
    CADIProduct_var child;
    if (FAILED(CADDocumentServices::New("CADPart", document)) ||
        FAILED(rootDocument->GetRootProduct()->AddExternalComponent(document, child)))
      state.SkipWithError("part not created");
    child->GetReferenceProduct()->SetPartNumber(CADUnicodeString("PRT" + std::to_string(p)));
    CADDocumentServices::Save(document);
  }
  CADDocumentServices::Save(rootDocument);
  CADFrmWindow* window = nullptr;
  CADFrmLayout::GetCurrentLayout().OpenWindow(rootDocument, window);

  int calls = 0;
  for (auto _ : state) {
    g_packCalls = 0;
    auto* command = new ZRBSaveLocalCmd();
    command->Activate(nullptr, nullptr);
    if (command->GetWarnings().Size() != 0) state.SkipWithError("the save reported a problem");
    calls = g_packCalls;
    CADEventLoop::Instance().RunPending();
  }
  state.counters["pack_calls"] = calls;
  ZRBAfx::SetShellCall({});
  CADFrmLayout::GetCurrentLayout().Reset();
  CADDocumentServices::ResetSession();
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_SaveLocalSession)->Args({2000, 0})->Args({2000, 8192})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
