// The exchange-map cache at the sizes a long-lived workstation reaches:
// registering n files (in shuffled order, one file-system lookup each),
// writing and reading the content file, and checking the list against a
// directory of n files, for n from 1,000 to 100,000. Each benchmark reports
// its files per second, so linear scaling shows as a flat rate; the target is
// well under a second at 100,000 for registering, one write and one check.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "CADString.h"
#include "ZRBXmapManager.h"

namespace {

// A directory with n cache files (models and their vis files), made once per size.
class CacheDirectory {
 public:
  static CacheDirectory& Of(int files) {
    static std::map<int, std::unique_ptr<CacheDirectory>> made;
    auto& slot = made[files];
    if (!slot) slot.reset(new CacheDirectory(files));
    return *slot;
  }
  ~CacheDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  const std::string& Root() const { return root_; }
  std::string ContentFile() const { return root_ + "/content.zrb"; }

  // A manager of this directory holding every file.
  void Fill(ZRBXmapManager& manager) const {
    manager.SetContentFileFullPath(CADUnicodeString(ContentFile()));
    for (std::size_t i = 0; i < names_.size(); ++i)
      manager.AddFile(obids_[i], date_, names_[i], database_, i % 3 ? part_ : product_);
  }
  const std::vector<CADString>& Names() const { return names_; }

 private:
  explicit CacheDirectory(int files) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zrb-bench-cache-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data()) ? pattern : "/tmp";
    for (int i = 0; i < files; ++i) {
      // Every second file is the vis file of the model before it.
      const std::string model = "part-" + std::to_string(i / 2) + (i % 4 < 2 ? ".CADPart" : ".model");
      const std::string name = i % 2 ? model + ".vis" : model;
      const int fd = ::open((root_ + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd >= 0) ::close(fd);
      names_.push_back(CADString(name));
      obids_.push_back(CADString::BuildFromNum("OBID-%08d-4711", i / 2));
    }
    std::shuffle(names_.begin(), names_.end(), std::mt19937(4711));
  }

  std::string root_;
  // The caller's texts, made before timing starts.
  std::vector<CADString> names_;
  std::vector<CADString> obids_;
  const CADString date_ = "2024-05-06 07:08:09.000";
  const CADString database_ = "pdm_production_db";
  const CADString part_ = "CADPart";
  const CADString product_ = "CADProduct";
};

// Files per second: flat across the sizes when the cost grows linearly.
void PerFile(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * state.range(0)); }

void BM_RegisterFiles(benchmark::State& state) {
  const CacheDirectory& directory = CacheDirectory::Of(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ZRBXmapManager manager;
    directory.Fill(manager);
    benchmark::DoNotOptimize(manager.Size());
  }
  PerFile(state);
}

void BM_UpdateRegisteredFiles(benchmark::State& state) {
  const CacheDirectory& directory = CacheDirectory::Of(static_cast<int>(state.range(0)));
  ZRBXmapManager manager;
  directory.Fill(manager);
  const CADString obid = "OBID-NEW", date = "2024-06-06 07:08:09.000", database = "pdm_production_db",
                  className = "CADPart";
  for (auto _ : state) {
    for (const CADString& name : directory.Names()) manager.UpdateFile(obid, date, name, database, className);
  }
  PerFile(state);
}

void BM_WriteContentFile(benchmark::State& state) {
  const CacheDirectory& directory = CacheDirectory::Of(static_cast<int>(state.range(0)));
  ZRBXmapManager manager;
  directory.Fill(manager);
  for (auto _ : state) benchmark::DoNotOptimize(manager.Write());
  PerFile(state);
}

void BM_ReadContentFile(benchmark::State& state) {
  const CacheDirectory& directory = CacheDirectory::Of(static_cast<int>(state.range(0)));
  {
    ZRBXmapManager writer;
    directory.Fill(writer);
    writer.Write();
  }
  ZRBXmapManager manager;
  manager.SetContentFileFullPath(CADUnicodeString(directory.ContentFile()));
  for (auto _ : state) benchmark::DoNotOptimize(manager.ReadContentFile());
  PerFile(state);
}

void BM_CheckDirectory(benchmark::State& state) {
  const CacheDirectory& directory = CacheDirectory::Of(static_cast<int>(state.range(0)));
  ZRBXmapManager manager;
  directory.Fill(manager);
  for (auto _ : state) benchmark::DoNotOptimize(manager.Check(nullptr, 0));
  if (manager.Size() != static_cast<int>(state.range(0))) state.SkipWithError("Check dropped listed files");
  PerFile(state);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

BENCHMARK(BM_RegisterFiles)->Apply(Sizes);
BENCHMARK(BM_UpdateRegisteredFiles)->Apply(Sizes);
BENCHMARK(BM_WriteContentFile)->Apply(Sizes);
BENCHMARK(BM_ReadContentFile)->Apply(Sizes);
BENCHMARK(BM_CheckDirectory)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
