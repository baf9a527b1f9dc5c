#pragma once

// The one source of chance of a random-input run. Everything random in a run (the events, the
// answers to boxes, the file names) is drawn from it, so one seed replays one run exactly.
// The draws use plain arithmetic on the engine's output rather than the standard
// distributions, whose results the library may change.

#include <cstdint>
#include <random>
#include <vector>

class TRandomSource {
  public:
    explicit TRandomSource(std::uint64_t seed) : Engine(seed) {}

    // 0 .. count - 1 (0 when count < 1).
    int Below(int count) {
        if (count <= 1) {
            return 0;
        }
        return static_cast<int>(Engine() % static_cast<std::uint64_t>(count));
    }
    // low .. high, both included.
    int Between(int low, int high) { return low + Below(high - low + 1); }
    // True with the given chance in percent.
    bool Percent(int chance) { return Below(100) < chance; }

    // An index into weights, each drawn in proportion to its weight.
    int Weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int weight : weights) {
            total += weight;
        }
        int draw = Below(total);
        for (int i = 0; i < static_cast<int>(weights.size()); ++i) {
            if (draw < weights[i]) {
                return i;
            }
            draw -= weights[i];
        }
        return 0;
    }

    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }

  private:
    std::mt19937_64 Engine;
};
