// How fast the reference PDM answers a delivery request for a large structure:
// the structure answer built from the vault and written, per relation, from
// about 1,000 to 10,000 relations (four levels of distinct assemblies over a
// pool of 100 shared parts). Two cases: every file already held by the
// workstation (the PDM's own work), and every file delivered anew.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "CachedFileList.h"
#include "ExchangeFile.h"
#include "FileStore.h"
#include "StructureAnswer.h"
#include "Vault.h"
#include "VaultCatalog.h"

namespace {
namespace fs = std::filesystem;
using namespace pdmsim;

// A vault with one root assembly of `fanOut` levels; built once per size.
struct LargeVault {
  std::string dir;
  std::string xmap;
  std::unique_ptr<Vault> vault;
  Item root;
  int relations = 0;
  std::string heldList;  // "xmapfiles.zrb" naming every file as held

  explicit LargeVault(int lastLevelAssemblies) {
    char pattern[] = "/tmp/pdmsim-bench-XXXXXX";
    dir = ::mkdtemp(pattern);
    xmap = dir + "/xmap";
    fs::create_directories(xmap);
    vault = Vault::Create(dir + "/vault", "BENCH");
    VaultCatalog catalog(*vault);
    FileStore store(*vault);
    SqliteTransaction transaction(vault->Db());
    std::string blob = store.PutBytes("geometry\n");
    int serial = 0;
    auto addItem = [&](const std::string& kind) {
      Item item;
      item.kind = kind;
      item.partNumber = (kind == "part" ? "P-" : "A-") + std::to_string(++serial);
      item.nomenclature = "benchmark " + kind;
      item = catalog.AddItem(item);
      Document doc;
      doc.itemObid = item.obid;
      doc.role = kind == "part" ? "part" : "product";
      doc.fileName = item.partNumber + (kind == "part" ? ".CADPart" : ".CADProduct");
      doc.blob = blob;
      doc.size = 9;
      doc = catalog.AddDocument(doc);
      heldList += "@" + (kind == "part" ? item.obid : doc.obid) + "\n{MODTIME} " + doc.modified + "\n{XMAP} 1\n\n";
      return item;
    };
    auto relate = [&](const Item& parent, const Item& child, int index) {
      Relation rel;
      rel.parentObid = parent.obid;
      rel.childObid = child.obid;
      rel.instanceName = child.partNumber + "." + std::to_string(index);
      rel.matrix = "1 0 0 0 0 1 0 0 0 0 1 0 " + std::to_string(index * 10) + " 0 0 1";
      catalog.AddRelation(rel);
      ++relations;
    };
    std::vector<Item> parts;
    for (int i = 0; i < 100; ++i) parts.push_back(addItem("part"));
    root = addItem("assembly");
    std::vector<Item> level{root};
    int perLevel = 10;
    for (int depth = 0; depth < 3; ++depth) {
      std::vector<Item> next;
      for (const Item& parent : level) {
        for (int i = 0; i < perLevel && static_cast<int>(next.size()) < lastLevelAssemblies; ++i) {
          Item child = addItem("assembly");
          relate(parent, child, i + 1);
          next.push_back(child);
        }
      }
      level = next;
    }
    int partIndex = 0;
    for (const Item& parent : level) {
      for (int i = 0; i < 9; ++i) relate(parent, parts[static_cast<std::size_t>(partIndex++ % 100)], i + 1);
    }
    transaction.Commit();
  }
  ~LargeVault() {
    vault.reset();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

LargeVault& VaultFor(int lastLevelAssemblies) {
  static std::map<int, std::unique_ptr<LargeVault>> vaults;
  auto& slot = vaults[lastLevelAssemblies];
  if (!slot) slot = std::make_unique<LargeVault>(lastLevelAssemblies);
  return *slot;
}

void Answer(benchmark::State& state, bool held) {
  LargeVault& large = VaultFor(static_cast<int>(state.range(0)));
  VaultCatalog catalog(*large.vault);
  FileStore store(*large.vault);
  if (held) {
    // The workstation holds every file (as backups): nothing is copied.
    for (const auto& entry : fs::directory_iterator(large.xmap)) fs::remove(entry.path());
    for (const Item& item : catalog.Items()) {
      for (const Document& doc : catalog.Documents(item.obid)) {
        std::ofstream(large.xmap + "/ZRBBACKUP_" + doc.fileName) << "held\n";
      }
    }
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    ExchangeFile answer;
    answer.Add("ROOT").Set("ACTION_SUCCESS", "0");
    StructureAnswer builder(catalog, store, large.xmap,
                            held ? CachedFileList::FromBytes(large.heldList) : CachedFileList(), {});
    DeliveryReport report = builder.Build(answer, "ROOT", {large.root});
    std::string written;
    if (!answer.Serialize(written, nullptr) || report.topLevel != 1) state.SkipWithError("no answer");
    bytes = written.size();
    benchmark::DoNotOptimize(written);
  }
  state.counters["relations"] = large.relations;
  state.counters["per_relation"] =
      benchmark::Counter(static_cast<double>(large.relations) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["answer_kB"] = static_cast<double>(bytes) / 1024.0;
}

void BM_AnswerFilesHeld(benchmark::State& state) { Answer(state, true); }
void BM_AnswerFilesDelivered(benchmark::State& state) { Answer(state, false); }

// 100 last-level assemblies: ~1,010 relations; 1,000: ~10,110 relations.
BENCHMARK(BM_AnswerFilesHeld)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnswerFilesDelivered)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
