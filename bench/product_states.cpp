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

namespace {

class BenchCmd : public ZRBCommand {
 public:
  BenchCmd() : ZRBCommand("BenchCmd") {}
};

constexpr int kDepth = 5;
constexpr int kSharedParts = 50;

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// An exchange map with the answer "xfile.zrb" of about `nodes` nodes and the documents it names.
class PreparedAnswer {
 public:
  explicit PreparedAnswer(int nodes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zrb-bench-read-XXXXXX").string();
    xmap_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    for (int p = 0; p < kSharedParts; ++p) {
      const std::string pn = "PART" + std::to_string(p);
      WriteFile(xmap_ + "/" + pn + ".CADPart", "CADHOST-DOCUMENT 1 CADPart\npartnumber \"" + pn + "\"\nend\n");
      ZRBObject* item = Item("IT_" + pn, pn);
      ZRBObject* document = Document("DC_" + pn, "IT_" + pn, pn + ".CADPart");
      document->SetSlotValue("DESCRIPTION", pn.c_str());
      item->SlotAppend("DOCCOMS", ("DC_" + pn).c_str());
    }
    // The smallest branching whose full tree of kDepth levels holds the nodes; the build stops at `nodes`.
    for (branching_ = 2;; ++branching_) {
      long full = 0, level = 1;
      for (int d = 0; d < kDepth; ++d, level *= branching_) full += level;
      if (full >= nodes) break;
    }
    ZRBObject* root = answer_.CreateObject("ROOT");
    root->SetSlotValue("ACTION_SUCCESS", "1");
    left_ = nodes;
    const std::string top = Assembly();
    Relate(root, top, "TOP.1", false);
    Fill(top, 1);
    answer_.Write((xmap_ + "/xfile.zrb").c_str());
  }
  ~PreparedAnswer() {
    std::error_code ignored;
    std::filesystem::remove_all(xmap_, ignored);
  }
  const std::string& Xmap() const { return xmap_; }
  int Nodes() const { return made_; }

 private:
  ZRBObject* Item(const std::string& key, const std::string& pn) {
    ZRBObject* item = answer_.CreateObject(key.c_str());
    item->SetSlotValue("OBID", key.c_str());
    item->SetSlotValue("CLASSNAME", "Part");
    item->SetSlotValue("DB_NAME", "PDMSIM");
    item->SetSlotValue("CHANGEABLE", "1");
    item->SetSlotValue("DESCRIPTION", pn.c_str());
    return item;
  }
  ZRBObject* Document(const std::string& key, const std::string& obid, const std::string& file) {
    ZRBObject* document = answer_.CreateObject(key.c_str());
    document->SetSlotValue("OBID", obid.c_str());
    document->SetSlotValue("CLASSNAME", "CadDoc");
    document->SetSlotValue("DB_NAME", "PDMSIM");
    document->SetSlotValue("CHANGEABLE", "1");
    document->SetSlotValue("MODIFICATION_DATE_GMT", "2026-01-02 03:04:05.000");
    document->SetSlotValue("EXTERNAL_LOCATION", (xmap_ + "/" + file).c_str());
    return document;
  }
  std::string Assembly() {
    const std::string pn = "ASM" + std::to_string(assemblies_++);
    WriteFile(xmap_ + "/" + pn + ".CADProduct", "CADHOST-DOCUMENT 1 CADProduct\npartnumber \"" + pn + "\"\nend\n");
    ZRBObject* item = Item("IT_" + pn, pn);
    Document("PD_" + pn, "PD_" + pn, pn + ".CADProduct")->SetSlotValue("PARTNUMBER", pn.c_str());
    item->SetSlotValue("PRODUCT", ("PD_" + pn).c_str());
    ++made_;
    --left_;
    return pn;
  }
  void Relate(ZRBObject* parent, const std::string& child, const std::string& name, bool pdm) {
    const std::string key = "RL" + std::to_string(relations_++);
    ZRBObject* relation = answer_.CreateObject(key.c_str());
    relation->SetSlotValue("ASS_ITEM_ID", ("IT_" + child).c_str());
    relation->SetSlotValue("INSTANCE_NAME", name.c_str());
    const double shift = relations_ % 97;
    relation->SetSlotValue("MATRIX", ("0 1 0 0 -1 0 0 0 0 0 1 0 " + std::to_string(shift) + " 2 3 1").c_str());
    if (pdm) relation->SetSlotValue("REL_OBID", key.c_str());
    parent->SlotAppend("SUBASSRELATIONS", key.c_str());
  }
  // Children of the assembly `pn` at `level`; the last level holds the shared parts.
  void Fill(const std::string& pn, int level) {
    ZRBObject* parent = answer_.GetObject(("IT_" + pn).c_str());
    for (int i = 1; i <= branching_ && left_ > 0; ++i) {
      if (level == kDepth - 1) {
        Relate(parent, "PART" + std::to_string(relations_ % kSharedParts), "P." + std::to_string(i), true);
        ++made_;
        --left_;
      } else {
        const std::string child = Assembly();
        Relate(parent, child, child + ".1", true);
        Fill(child, level + 1);
      }
    }
  }

  std::string xmap_;
  ZRBObjectManager answer_;
  int branching_ = 1, left_ = 0, made_ = 0, assemblies_ = 0, relations_ = 0;
};

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
