// The non-CAD files of a large archive: the dialog's rows with their change states, the archive taking the rows
// back on OK, and the changed check walking every file. Each must grow linearly with the files.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ZRBArchiveManager.h"
#include "ZRBFileUtil.h"
#include "ZRBModifyNonCadArchiveCmd.h"
#include "ZRBPropertyManager.h"

namespace {
namespace fs = std::filesystem;

// An exchange map with `files` non-CAD files of one archive, each with its stored change time.
struct LargeNonCadArchive {
  explicit LargeNonCadArchive(int files) {
    directory = fs::temp_directory_path() / ("zrb-bench-noncad-" + std::to_string(files));
    fs::create_directories(directory);
    setenv("ZRBXMAP", directory.c_str(), 1);
    name = CADUnicodeString((directory / "Root.xml").string());
    ZRBArchive archive;
    for (int i = 0; i < files; ++i) {
      const std::string file = "calc-" + std::to_string(i) + ".txt";
      std::ofstream(directory / file) << i;
      archive.nonCads.push_back({file, false, {{"FILENAME", file}}});
      CADUnicodeString time;
      const CADUnicodeString path((directory / file).string());
      ZRBFileUtil::GetLastModificationFromFile(path, time);
      GlobPropertyManager.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", time);
    }
    GlobArchiveManager.Put(name, std::move(archive));
  }
  ~LargeNonCadArchive() {
    GlobArchiveManager.Clear();
    GlobPropertyManager.ResetForTests();
    std::error_code ignored;
    fs::remove_all(directory, ignored);
  }
  fs::path directory;
  CADUnicodeString name;
};

void BM_DialogRows(benchmark::State& state) {
  LargeNonCadArchive archive(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ZRBModifyNonCadArchiveCmd::CurrentRows(archive.name));
  state.SetComplexityN(state.range(0));
}

void BM_ApplyRows(benchmark::State& state) {
  LargeNonCadArchive archive(static_cast<int>(state.range(0)));
  const std::vector<ZRBNonCadRow> rows = ZRBModifyNonCadArchiveCmd::CurrentRows(archive.name);
  for (auto _ : state) ZRBModifyNonCadArchiveCmd::ApplyRows(archive.name, nullptr, rows);
  state.SetComplexityN(state.range(0));
}

void BM_NonCadChanged(benchmark::State& state) {
  LargeNonCadArchive archive(static_cast<int>(state.range(0)));
  GlobArchiveManager.SetNonCadChanged(archive.name, 0);
  for (auto _ : state) benchmark::DoNotOptimize(GlobArchiveManager.GetNonCadChanged(archive.name));
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_DialogRows)->RangeMultiplier(4)->Range(64, 4096)->Complexity(benchmark::oN);
BENCHMARK(BM_ApplyRows)->RangeMultiplier(4)->Range(64, 4096)->Complexity(benchmark::oN);
BENCHMARK(BM_NonCadChanged)->RangeMultiplier(4)->Range(64, 4096)->Complexity(benchmark::oN);
BENCHMARK_MAIN();
