// The gradient text generator over texts of growing length: the time per character must stay
// flat (one pass, one line per character).
#include <benchmark/benchmark.h>

#include <string>

#include "tools/colour/GradientText.h"

namespace {

void BM_BuildGradientText(benchmark::State& state) {
  std::string text;
  text.reserve(static_cast<size_t>(state.range(0)));
  for (int64_t i = 0; i < state.range(0); ++i)
    text += (i % 7 == 3) ? ' ' : char('a' + i % 26);
  const pagelathe::RgbColor start{0, 255, 0};
  const pagelathe::RgbColor end{0, 0, 255};
  for (auto _ : state) {
    pagelathe::GradientResult result =
        pagelathe::BuildGradientText(text, start, end, "DejaVu Sans", 6);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildGradientText)->RangeMultiplier(32)->Range(32, 1 << 20)->Complexity();

}  // namespace

BENCHMARK_MAIN();
