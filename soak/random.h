// The soak's one source of chance: every choice of a run is drawn from its seed.
#pragma once

#include <cstdint>

namespace soak {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    // A generator for one part of a run (a level, say), independent of the draws made
    // elsewhere, so that the part replays alike whatever came before.
    static Random forPart(uint64_t seed, uint64_t part) { return Random(Random(seed ^ (part * 0xA0761D6478BD642Full)).next()); }

    uint64_t next() {  // splitmix64
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to bound - 1.
    int64_t below(int64_t bound) { return static_cast<int64_t>(next() % static_cast<uint64_t>(bound)); }
    int64_t between(int64_t low, int64_t high) { return low + below(high - low + 1); }
    // True once in `in` draws, on average.
    bool oneIn(int64_t in) { return below(in) == 0; }
    bool percent(int64_t chance) { return below(100) < chance; }

private:
    uint64_t state_;
};

}  // namespace soak
