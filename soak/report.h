// The soak's report: what a run played, what fired where, which checks ran, and the first
// problem; and the summary the tool prints, with the command that replays a failure.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "checks.h"
#include "faults.h"
#include "probes.h"

namespace soak {

struct Options;

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

// The one command that replays the run's first `levels` levels.
std::string replayCommand(const Options& options, int levels);
// The report as the tool prints it: the summary on out, a failure and its replay line on
// failures.
void printReport(std::ostream& out, std::ostream& failures, const Options& options, const Report& report);

}  // namespace soak
