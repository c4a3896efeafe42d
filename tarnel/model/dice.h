#pragma once

#include <cstdint>
#include <random>

namespace tarnel {

// The editor's one pseudo-random source. Seeded from the time of day at each
// load; tests seed it with a fixed value.
class DiceSource {
 public:
  void seed(std::uint32_t value) { engine_.seed(value); }
  // A fresh non-negative integer, 0 to 2^31 - 1.
  std::int32_t next() { return static_cast<std::int32_t>(engine_() >> 1); }
  // (r mod s) + 1: uniform 1..|s|; s = 0 gives 1 without drawing. Wide,
  // since s = -2^31 has 2^31 sides.
  std::int64_t die(int sides) {
    if (sides == 0) return 1;
    return std::int64_t{next() % sides} + 1;
  }

 private:
  std::mt19937 engine_{0};
};

// ((hour * 60 + minute) * 60 + second) * 1000 + millisecond of the local clock.
std::uint32_t millisecondsOfDay();

}  // namespace tarnel
