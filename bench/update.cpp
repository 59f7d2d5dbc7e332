// Speed of a product save: a structure of 1,000 to 10,000 nodes, five levels deep with shared parts, built by the
// read from a prepared answer, with about one instance in a hundred moved (so its assembly is modified too). One
// iteration is one whole update of the root: the checks, the request written with the modified documents saved
// into the exchange map, and the answer put back onto the session. The PDM is a prepared answer copied over the
// request; the moves are renewed between iterations, outside the measurement. Reported per node.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "PreparedStructureAnswer.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadState.h"
#include "ZRBStructureReader.h"
#include "ZRBUpdateCmd.h"

using namespace zrbbench;

namespace {

// The PDM: the first save request gets an answer confirming every action asked for, which later requests
// reuse; the settings query is answered once (the module keeps the settings).
struct PreparedPdm {
  std::string answer;
  std::size_t requestSize = 0;
  int calls = 0;
  bool sameRequest = true;

  int operator()(const char* line) {
    ++calls;
    const std::string text(line);
    const std::size_t open = text.find('\''), close = text.rfind('\'');
    if (open == std::string::npos || close <= open) return -1;
    const std::string path = text.substr(open + 1, close - open - 1);
    if (text.find("x3GetPDMSettings") != std::string::npos) {
      ZRBObjectManager settings;
      settings.Read(CADUnicodeString(path));
      ZRBObject* root = settings.GetObject("ROOT");
      if (!root) return -1;
      root->SetSlotValue("ACTION_SUCCESS", "1");
      root->SetSlotValue("CADPART_DATA_MODEL", "LEGACY_DATA_MODEL");
      root->SetSlotValue("PRDSUPPORT", "1");
      root->SetSlotValue("ZRB_DESIGN_TABLES", "OFF");
      settings.Write(CADUnicodeString(path));
      return 0;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream request;
    request << in.rdbuf();
    if (answer.empty()) {
      requestSize = request.str().size();
      ZRBObjectManager file;
      file.Read(CADUnicodeString(path));
      for (ZRBObject* object = file.GetFirstObject(); object; object = file.GetNextObject(object))
        for (const char* slot : {"UPD_GEOMETRY", "UPD_MATRIX", "UPD_PRODUCT"})
          if (object->GetSlotValue(slot) == "1") {
            object->SetSlotValue((std::string(slot) + "_SUCCESS").c_str(), "1");
            object->SetSlotValue("MODIFICATION_DATE_GMT", "2026-12-06 12:00:00.000");
          }
      file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
      file.Write(CADUnicodeString(path));
      std::ifstream written(path, std::ios::binary);
      std::stringstream copy;
      copy << written.rdbuf();
      answer = copy.str();
      return 0;
    }
    sameRequest = sameRequest && request.str().size() == requestSize;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << answer;
    return 0;
  }
};

void Collect(const CADIProduct_var& node, std::vector<CADIProduct_var>& nodes) {
  nodes.push_back(node);
  for (const CADBaseUnknown_var& item : node->GetChildren()) Collect(CADIProduct_var(item), nodes);
}

// Moves one instance in a hundred; `shift` alternates so that every save finds them moved again.
void Move(const std::vector<CADIProduct_var>& nodes, double shift) {
  for (std::size_t i = 50; i < nodes.size(); i += 100)
    if (CADIProduct_var father = nodes[i]->GetFatherProduct())
      CADIMovable_var(nodes[i])->SetPosition(CADMathTransformation::Translation(shift, 2, 3), father.get());
}

void BM_Update(benchmark::State& state) {
  PreparedAnswer prepared(static_cast<int>(state.range(0)));
  g_ZRBConfig.ChangeEnvVar("ZRBXMAP", prepared.Xmap().c_str(), 0);
  CADDocumentServices::ResetSession();
  GlobPropertyManager.ResetForTests();
  GlobZRBCache.ResetForTests();
  GlobZRBCache.Load();
  PreparedPdm pdm;
  ZRBAfx::SetShellCall([&pdm](const char* line) { return pdm(line); });
  ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  {
    BenchCmd reading;
    ZRBReadState readState;
    ZRBObjectManager answer;
    answer.Read(CADUnicodeString((prepared.Xmap() + "/xfile.zrb").c_str()));
    ZRBStructureReader(reading, readState).ReadProductStructure(nullptr, nullptr, answer, answer.GetObject("ROOT"));
  }
  std::vector<CADIProduct_var> nodes;
  CADDocument* rootDocument = nullptr;
  for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(entry);
    CADIProduct_var root = document ? document->GetRootProduct() : nullptr;
    if (root && root->GetPartNumber() == "ASM0") {
      rootDocument = document.get();
      Collect(root, nodes);
    }
  }
  // As loaded from files that hold their positions, nothing is modified.
  for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments())
    if (CADDocument_var document{entry}) document->SetDirty(0);
  const auto save = [&] {
    // Every request keyed alike, so that the prepared answer fits each.
    ZRBObjectManager::ResetKeyCountersForTest();
    auto* command = new ZRBUpdateCmd();
    int status = 0;
    const int done = rootDocument ? command->UpdateProductDocument(rootDocument, status) : 0;
    command->Release();
    return done;
  };
  Move(nodes, 1);
  if (!save()) state.SkipWithError("the first save failed");

  double shift = 1;
  int failed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shift = shift == 1 ? 2 : 1;
    Move(nodes, shift);
    state.ResumeTiming();
    if (!save()) ++failed;
  }
  if (nodes.size() + 10 < static_cast<std::size_t>(prepared.Nodes()))
    state.SkipWithError("the structure was not built");
  if (failed) state.SkipWithError("a save failed");
  if (!pdm.sameRequest) state.SkipWithError("a request differs from the first one");
  state.counters["nodes"] = static_cast<double>(nodes.size());
  state.counters["request_kB"] = static_cast<double>(pdm.requestSize) / 1024.0;
  state.counters["time_per_node"] = benchmark::Counter(
      static_cast<double>(nodes.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  nodes.clear();
  ZRBAfx::SetShellCall({});
  GlobZRBCache.ResetForTests();
  CADDocumentServices::ResetSession();
}
BENCHMARK(BM_Update)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
