// rotorstrike-sim's command line, as its modes (one level, the campaign, win rates) share it.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace tools {

// What the campaign spends points on once a level's required weapon tier is bought: one
// tier of the lowest upgrade (balanced), nothing, or as many tiers of one upgrade (a row of
// the upgrade table) as the points buy.
struct Purchases {
    enum Kind { Balanced, None, Only } kind = Balanced;
    int32_t upgrade = 0;  // Only's upgrade
};

struct SimOptions {
    int level = 1;
    uint32_t seed = 1;
    std::string gameDir;  // empty: a fresh temporary folder
    int64_t maxFrames = 200000;
    std::string out = "sim-out";
    std::set<int64_t> shots;
    bool quiet = false;
    bool trace = false;
    bool replay = false;
    bool campaign = false;
    Purchases buy;
    int winRate = 0;  // seeds
    int balance = 0;  // seeds for each pair of the balance table
    int armor = 0, weapon = 0;  // a win rate's tiers; 0: the least the level allows
    std::string program = "rotorstrike-sim";  // as a replay line names it
};

}  // namespace tools
