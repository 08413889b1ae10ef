// The chaos soak: many levels of the mission played by the autopilot in the simulated
// host, under faults and random keys, with every frame checked. One seed decides
// everything, so a run replays exactly from its seed and level count.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "fault_plan.h"
#include "report.h"

namespace soak {

struct Options {
    uint64_t seed = 1;
    int levels = 1000;
    int64_t levelFrames = 9000;  // a level still running then is left (2.5 minutes of game)
    bool progress = false;  // the levels done, on a terminal (see cli::ProgressLine)
    std::string program = "rotorstrike-soak";  // as the replay command names it
    // Every kind of fault, every write position and every probe must fire, or the run fails.
    bool strict = false;
    // Only the kinds of fault that both the Linux soak and the Wine soak make, and make
    // alike (see changesBytesAtRandom), so that the two runs of a seed can be compared.
    bool onlyFaultsBothMake = false;
    // When given, a line for each frame ("frame, natives, reads, writes, failed writes, the
    // player's x, y and z as bits, texts") and each level's end ("level N (Level L): outcome;
    // file: key=value ..."), to compare two runs by.
    std::ostream* record = nullptr;
};

// The kinds of fault a run makes: those its target can make, and of those only the ones
// both targets can make when asked.
FaultKinds faultsMade(const Options& options);

Report runSoak(const Options& options);

}  // namespace soak
