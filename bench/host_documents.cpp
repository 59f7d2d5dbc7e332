// Speed of the host document kernel on large structures: reading and writing
// a product file with many instances, opening it with its parts, and walking
// the tree of a subassembly used many times.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "CADDocument.h"
#include "CADDocumentReader.h"
#include "CADDocumentServices.h"
#include "CADDocumentWriter.h"
#include "CADIMovable.h"
#include "CADSampleSession.h"

namespace {

CADDocumentImage WideProduct(int instances) {
  CADDocumentImage image;
  image.type = "CADProduct";
  image.hasRoot = true;
  image.root.partNumber = "Wide";
  for (int i = 0; i < instances; ++i) {
    CADInstanceImage inst;
    inst.name = CADUnicodeString("Bolt." + std::to_string(i + 1));
    inst.target = CADSampleSession::kBolt;
    inst.position =
        CADMathTransformation::Translation(i * 0.5, i / 3.0, 1) * CADMathTransformation::Rotation(2, i * 7.0);
    image.root.instances.push_back(inst);
  }
  return image;
}

void BM_ReadProductFile(benchmark::State& state) {
  const std::string text = CADDocumentWriter::Write(WideProduct(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    CADDocumentImage image;
    CADUnicodeString error;
    benchmark::DoNotOptimize(CADDocumentReader::Read(text, "CADProduct", false, image, error));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadProductFile)->Arg(100)->Arg(10000);

void BM_WriteProductFile(benchmark::State& state) {
  const CADDocumentImage image = WideProduct(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(CADDocumentWriter::Write(image));
}
BENCHMARK(BM_WriteProductFile)->Arg(100)->Arg(10000);

// A directory with the sample parts and a product using the bolt n times.
class WideSession {
 public:
  explicit WideSession(int instances) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zrb-bench-XXXXXX").string();
    directory_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    CADUnicodeString error;
    CADSampleSession::Write(directory_.c_str(), error);
    std::string text = CADDocumentWriter::Write(WideProduct(instances));
    FILE* f = std::fopen((directory_ + "/Wide.CADProduct").c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  ~WideSession() {
    CADDocumentServices::ResetSession();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
  CADUnicodeString Path() const { return CADUnicodeString(directory_ + "/Wide.CADProduct"); }

 private:
  std::string directory_;
};

void BM_OpenProductWithParts(benchmark::State& state) {
  WideSession session(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CADDocumentServices::ResetSession();
    CADDocument* doc = nullptr;
    if (FAILED(CADDocumentServices::OpenDocument(session.Path(), doc))) state.SkipWithError("open failed");
    benchmark::DoNotOptimize(doc->GetRootProduct()->GetChildrenCount());
  }
}
BENCHMARK(BM_OpenProductWithParts)->Arg(100)->Arg(2000);

void BM_PositionsInRootContext(benchmark::State& state) {
  WideSession session(static_cast<int>(state.range(0)));
  CADDocument* doc = nullptr;
  CADDocumentServices::OpenDocument(session.Path(), doc);
  CADIProduct_var root = doc->GetRootProduct();
  for (auto _ : state) {
    CADMathTransformation sum;
    for (const CADBaseUnknown_var& child : root->GetChildren()) {
      CADMathTransformation t;
      CADIMovable_var(child)->GetPosition(t, root.get());
      sum = sum * t;
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PositionsInRootContext)->Arg(2000);

}  // namespace

BENCHMARK_MAIN();
