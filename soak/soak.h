// The chaos soak: many levels of the mission played by the autopilot in the simulated
// host, under faults and random keys, with every frame checked. One seed decides
// everything, so a run replays exactly from its seed and level count.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "checks.h"
#include "faults.h"
#include "runtime/mod_state.h"

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


struct Report {
    int levels = 0;  // levels played to their end
    int won = 0, lost = 0, refused = 0, outOfFrames = 0;
    int64_t frames = 0;
    int games = 0;  // hosts started (the plug-in loaded afresh)
    FaultCounts fired{};
    WritePositionCounts writePositions{};
    ProbeCounts probes{};
    SituationCounts deaths{}, menuKeys{}, reloads{};
    CheckCounts checks{};
    std::string problem;  // the first check that failed, where and when; empty when clean
    int failedLevel = -1;
    FaultKinds made{};  // the kinds the run could make
    // The probes as the plug-in counted them (its state in view), or as the host saw them.
    bool probesFromPlugin = false;
    // Every kind of fault made, every write position and every probe counted fired, and every
    // check of the host's lifecycle ran.
    bool complete() const;
    // Clean, and complete when strict.
    bool ok(bool strict) const { return problem.empty() && (complete() || !strict); }
};

Report runSoak(const Options& options);
// The one command that replays the run's first `levels` levels.
std::string replayCommand(const Options& options, int levels);
// The report as the tool prints it: the summary on out, a failure and its replay line on
// failures.
void printReport(std::ostream& out, std::ostream& failures, const Options& options, const Report& report);

}  // namespace soak
