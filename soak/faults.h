// The soak's faults: each kind at its own place in the simulated host, switched on for a
// level with some chance and then firing with some chance, all drawn from the level's plan
// (fault_plan.h). Each family of faults is a unit of its own: the world's, the keys', the
// settings file's and the host's lifecycle's; this plans a level and steps them in turn.
#pragma once

#include <cstdint>
#include <string>

#include "fault_plan.h"
#include "file_faults.h"
#include "host.h"
#include "key_faults.h"
#include "lifecycle_faults.h"
#include "random.h"
#include "situation.h"
#include "world_faults.h"

namespace soak {

class Faults {
public:
    // unusable: the folder a fault makes unusable (the game's folder, or the folder that holds
    // it); made: the kinds switched on at all.
    Faults(std::string unusable, std::string settingsFile, const FaultKinds& made) : file_(std::move(unusable), std::move(settingsFile)) {
        plan_.made = made;
    }

    // A new level: which kinds are on, how often they fire, and where. A kind that has not
    // fired yet in the run, and a write position not yet hit, are favoured, so that even a
    // short run meets them all.
    void planLevel(Random& random, const Arrangement& arranged = {});
    // Whether the player buys twice on one row this level (drawn by planLevel).
    bool buyTwice() const { return plan_.kinds[static_cast<std::size_t>(Fault::BoughtTwice)].on; }
    // A kind that fired outside the host's places (the player's repeated purchases).
    void record(Fault fault, int64_t times) { plan_.count(fault, times); }
    // A new game (a host of its own): the faults reach it through its hooks.
    void attach(sim::Host& host);
    // Before each frame: the faults that fire now. inFrame: the last frame ended inside one of
    // the plug-in's waits rather than in its loop.
    void beforeFrame(sim::Host& host, bool inFrame);
    // Every fault cleared and the world back to normal; the settings file as it is.
    void calm(sim::Host& host);

    // A stretch of a fault that makes the plug-in wait ended this long ago (frames).
    int64_t framesSinceStall(const sim::Host& host) const { return world_.framesSinceStall(host); }
    // The settings file was changed by a fault in the last beforeFrame or calm.
    bool fileChangedByHand() const { return file_.changedByHand(); }
    // The last frame whose dispatch began (the plug-in reads the pad first in each).
    int64_t lastDispatchFrame() const { return calls_.lastDispatch; }
    // The last beforeFrame reloaded the game inside the won sequence: the restarted script owes
    // the win.
    bool winCutShort() const { return lifecycle_.winCutShort(); }
    // The module is to be freed and loaded again before the next frame: the run does it,
    // since the checks and the probes start afresh with it.
    bool moduleReloadDue() const { return lifecycle_.moduleReloadDue(); }

    const FaultCounts& fired() const { return plan_.fired; }
    const WritePositionCounts& writePositions() const { return file_.writePositions(); }
    const SituationCounts& deaths() const { return world_.deaths(); }
    const SituationCounts& menuKeys() const { return keys_.menuKeys(); }
    const SituationCounts& reloads() const { return lifecycle_.reloads(); }

private:
    FaultPlan plan_;
    ScriptCalls calls_;
    WorldFaults world_;
    KeyFaults keys_;
    FileFaults file_;
    LifecycleFaults lifecycle_;
};

}  // namespace soak
