// Costs of the session's loop and of the automation protocol: how much a
// posted job, an armed timer and a parsed request line take.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "CADAutomationRequest.h"
#include "CADCommand.h"
#include "CADEventLoop.h"

namespace {

void Noop(CADCommand*, int, void*) {}

void BM_PostedJobs(benchmark::State& state) {
  auto& loop = CADEventLoop::Instance();
  loop.Reset();
  long counter = 0;
  for (auto _ : state) {
    for (int i = 0; i < state.range(0); ++i) loop.Post([&counter] { ++counter; });
    loop.RunPending();
  }
  benchmark::DoNotOptimize(counter);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PostedJobs)->Arg(1000);

// Arms timers with scattered intervals and fires them all on the virtual clock.
void BM_TimersArmedAndFired(benchmark::State& state) {
  auto& loop = CADEventLoop::Instance();
  loop.Reset();
  auto* owner = new CADCommand("bench");
  for (auto _ : state) {
    for (int i = 0; i < state.range(0); ++i) loop.AddTimeOut((i * 7919) % 5000, owner, nullptr, &Noop);
    loop.AdvanceBy(5000);
  }
  owner->Release();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TimersArmedAndFired)->Arg(100)->Arg(10000);

// Removal scans the pending timers: fine for the handful a session holds.
void BM_RemoveTimeOutAmongPending(benchmark::State& state) {
  auto& loop = CADEventLoop::Instance();
  loop.Reset();
  std::vector<CADCommand*> owners;
  for (int i = 0; i < state.range(0); ++i) owners.push_back(new CADCommand("waiting"));
  for (auto _ : state) {
    for (CADCommand* owner : owners) loop.AddTimeOut(1000, owner, nullptr, &Noop);
    for (CADCommand* owner : owners) benchmark::DoNotOptimize(loop.RemoveTimeOut(1000, owner));
  }
  for (CADCommand* owner : owners) owner->Release();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RemoveTimeOutAmongPending)->Arg(10)->Arg(1000);

void BM_ParseRequestLine(benchmark::State& state) {
  const std::string line = "WriteXml\t%2Fhome%2Fdesigner%2Fxmap%2Fassembly.xml\t/tmp/archive%09out.xml\n";
  for (auto _ : state) {
    CADAutomationRequest request;
    std::string error;
    benchmark::DoNotOptimize(CADAutomationRequest::ParseLine(line, request, error));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(line.size()));
}
BENCHMARK(BM_ParseRequestLine);

}  // namespace

BENCHMARK_MAIN();
