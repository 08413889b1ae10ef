// The faults of the host's lifecycle: the game reloaded between frames or inside any of the
// script's waits (the player put on the map's road elsewhere, in a new car or on foot), and
// the module freed and loaded again out of a level, which the run does when this says so.
#pragma once

#include "fault_plan.h"
#include "host.h"

namespace soak {

class LifecycleFaults {
public:
    // Before the frame about to run, in the situation now; inFrame: the last frame ended
    // inside one of the plug-in's waits.
    void beforeFrame(sim::Host& host, FaultPlan& plan, Situation now, bool inFrame);
    void calm() { winCutShort_ = moduleReloadDue_ = false; }
    // The last step reloaded the game inside the won sequence (its 100 ms wait or the
    // wreck's slow motion): the restarted script owes the win.
    bool winCutShort() const { return winCutShort_; }
    // The module is to be freed and loaded again before the next frame.
    bool moduleReloadDue() const { return moduleReloadDue_; }
    const SituationCounts& reloads() const { return reloads_; }

private:
    bool winCutShort_ = false;
    bool moduleReloadDue_ = false;
    SituationCounts reloads_{};
};

}  // namespace soak
