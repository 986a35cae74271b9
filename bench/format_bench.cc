// Formatting throughput (written with the format engine).
#include <benchmark/benchmark.h>
