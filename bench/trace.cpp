// Cost of the trace channel: with the switch off a traced method must cost
// next to nothing; with it on, the price of one formatted, locked line.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"

namespace {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

int TracedMethod(int x) {
  ZRB_TRACE("ZRBBench::TracedMethod");
  ZRB_DEBUG("ZRB: value %d", x);
  ZRB_TRACE_OK();
  return x + 1;
}

int PlainMethod(int x) { return x + 1; }

void BM_PlainMethod(benchmark::State& state) {
  int x = 0;
  for (auto _ : state) benchmark::DoNotOptimize(x = PlainMethod(x));
}
BENCHMARK(BM_PlainMethod);

void BM_TracedMethodSwitchOff(benchmark::State& state) {
  g_ZRBConfig.SetDebug(0);
  int x = 0;
  for (auto _ : state) benchmark::DoNotOptimize(x = TracedMethod(x));
}
BENCHMARK(BM_TracedMethodSwitchOff);

void BM_TracedMethodSwitchOn(benchmark::State& state) {
  NullBuffer buffer;
  std::ostream sink(&buffer);
  ZRBTrace::SetStream(&sink);
  g_ZRBConfig.SetDebug(1);
  int x = 0;
  for (auto _ : state) benchmark::DoNotOptimize(x = TracedMethod(x));
  g_ZRBConfig.SetDebug(0);
  ZRBTrace::SetStream(nullptr);
}
BENCHMARK(BM_TracedMethodSwitchOn);

void BM_GetEnvVar(benchmark::State& state) {
  g_ZRBConfig.ChangeEnvVar("ZRB_BENCH_VALUE", "some/exchange/map", 1);
  for (auto _ : state) benchmark::DoNotOptimize(g_ZRBConfig.GetEnvVar("ZRB_BENCH_VALUE", 1));
}
BENCHMARK(BM_GetEnvVar);

void BM_CompareEnvVarFromEnvironment(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(g_ZRBConfig.CompareEnvVar("PATH", "ON", 1));
}
BENCHMARK(BM_CompareEnvVarFromEnvironment);

}  // namespace

BENCHMARK_MAIN();
