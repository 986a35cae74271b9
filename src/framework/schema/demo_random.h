// The demo generator's random source: std::mt19937 with a fixed seed and distributions of our own.
// std::uniform_int_distribution differs between standard libraries; this one gives the same draws everywhere.
#pragma once

#include <cstdint>
#include <random>
#include <span>

namespace vob::schema {

class DemoRandom {
 public:
  explicit DemoRandom(uint32_t seed) : engine_(seed) {}

  // A whole number in [low, high], every value equally likely (rejection sampling over 32-bit draws).
  // REQUIRES: low <= high and high - low < 2^32.
  int64_t Between(int64_t low, int64_t high) {
    const uint64_t range = static_cast<uint64_t>(high - low) + 1;
    const uint64_t limit = (uint64_t{1} << 32) - ((uint64_t{1} << 32) % range);
    uint64_t draw = engine_();
    while (draw >= limit) draw = engine_();
    return low + static_cast<int64_t>(draw % range);
  }
  int Int(int low, int high) { return static_cast<int>(Between(low, high)); }
  // True with the given chance in percent.
  bool Percent(int percent) { return Between(0, 99) < percent; }

  template <typename T>
  const T& Pick(std::span<const T> items) {
    return items[static_cast<size_t>(Between(0, static_cast<int64_t>(items.size()) - 1))];
  }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return Pick(std::span<const T>(items, N));
  }

 private:
  std::mt19937 engine_;
};

}  // namespace vob::schema
