// The faults of the settings file. Between two frames: the file edited by hand, corrupted,
// truncated or deleted; the game's folder moved away with its file (brought back empty), or a
// regular file in its place. On the plug-in's writes, one armed at a time on the write at its
// position within its step: refused by the host, failing on the disk, or the file locked by
// another program right after it. A lock may also begin between two frames, or be arranged
// over a level's start or its win. No one opens the file, nor moves its folder, while it is
// locked.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "encounter/upgrades.h"
#include "fault_plan.h"
#include "host.h"

namespace soak {

// The write faults land on any write of a step: the first to the last of a won level's (its
// best, the points, each upgrade's tier and the unlock: five with two upgrades).
constexpr int kWritePositions = 3 + kUpgrades;
using WritePositionCounts = std::array<int64_t, kWritePositions>;

class FileFaults {
public:
    // unusable: the folder a fault makes unusable (the game's folder, or the folder that holds
    // it).
    FileFaults(std::string unusable, std::string settingsFile)
        : folder_(std::move(unusable)), settingsFile_(std::move(settingsFile)) {}

    // A new host: no write fault armed there, no lock.
    void attach();
    // A new level, whose first frame is still to come.
    void beginLevel() { levelBegun_ = false; }
    // Before the frame about to run, in the situation now.
    void beforeFrame(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);
    // No write fault, no lock, the folder back; the file as it is.
    void calm(sim::Host& host);
    // The file was changed in the last beforeFrame or calm.
    bool changedByHand() const { return changed_; }
    // Write faults that fired, by the position of the write they hit within its step.
    const WritePositionCounts& writePositions() const { return writePositions_; }

private:
    void changeByHand(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);
    void faultWrites(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);
    void changed(FaultPlan& plan, Fault fault);
    std::string awayFolder() const { return folder_ + ".away"; }
    void restoreFolder();

    std::string folder_, settingsFile_;
    int64_t folderBackAt_ = -1;
    WritePositionCounts writePositions_{};
    Fault armedKind_ = Fault::WritesRefused;  // the kind of the write fault armed, if one is
    int armedPosition_ = 0;
    int64_t lockUntil_ = -1;
    bool levelBegun_ = false;
    bool changed_ = false;
};

}  // namespace soak
