// Formatting throughput: a Currency and a date through Format(value, pattern), the per-thread cache included.
// The target is 5 million formats per second on one core for each; a wrong text aborts the run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/vb/date.h"
#include "platform/vb/format.h"

namespace {

using vob::vb::Currency;
using vob::vb::Format;
using vob::vb::Variant;

struct Sample {
  Variant value;
  std::string_view expected;
};

void CheckOrAbort(const std::string& text, const Sample& sample, std::string_view pattern) {
  if (text == sample.expected) return;
  std::fprintf(stderr, "format_bench: \"%s\" gave \"%s\", expected \"%.*s\"\n", std::string(pattern).c_str(),
               text.c_str(), static_cast<int>(sample.expected.size()), sample.expected.data());
  std::abort();
}

// Cycles through the samples so that every section of the pattern is taken.
template <size_t N>
void RunFormats(benchmark::State& state, std::string_view pattern, const Sample (&samples)[N]) {
  size_t index = 0;
  for (auto _ : state) {
    const Sample& sample = samples[index];
    std::string text = Format(sample.value, pattern);
    CheckOrAbort(text, sample, pattern);
    benchmark::DoNotOptimize(text);
    index = index + 1 == N ? 0 : index + 1;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_FormatCurrency(benchmark::State& state) {
  const Sample samples[] = {
      {Variant(Currency::FromRaw(12345000)), "1,234.50 "},
      {Variant(Currency::FromRaw(-98765432100)), "(9,876,543.21)"},
      {Variant(Currency::FromRaw(0)), "0.00 "},
      {Variant(Currency::FromRaw(4995)), "0.50 "},
  };
  RunFormats(state, "#,##0.00 ;(#,##0.00)", samples);
}
BENCHMARK(BM_FormatCurrency);

void BM_FormatDate(benchmark::State& state) {
  const Sample samples[] = {
      {Variant::Date(vob::vb::DateSerial(2024, 1, 5)), "01/05/24"},
      {Variant::Date(vob::vb::DateSerial(1999, 12, 31) + 0.75), "12/31/99"},
      {Variant::Date(vob::vb::DateSerial(2030, 7, 14)), "07/14/30"},
  };
  RunFormats(state, "mm/dd/yy", samples);
}
BENCHMARK(BM_FormatDate);

}  // namespace
