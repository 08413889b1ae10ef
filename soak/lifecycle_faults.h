// The faults of the host's lifecycle: another program, or no window, holding the focus for a
// stretch, in which keys do nothing; the game reloaded between frames or inside any of the
// script's waits (the player put on the map's road elsewhere, in a new car or on foot); and
// the module freed and loaded again out of a level, which the run does when this says so.
#pragma once

#include <cstdint>

#include "fault_plan.h"
#include "host.h"

namespace soak {

class LifecycleFaults {
public:
    // A new host, which counts its frames from the start.
    void attach() { focusBackAt_ = -1; }
    // Before the frame about to run, in the situation now; inFrame: the last frame ended
    // inside one of the plug-in's waits.
    void beforeFrame(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now, bool inFrame);
    // The focus back on the game, nothing owed.
    void calm(sim::Host& host);
    // The last step reloaded the game inside the won sequence (its 100 ms wait or the
    // wreck's slow motion): the restarted script owes the win.
    bool winCutShort() const { return winCutShort_; }
    // The module is to be freed and loaded again before the next frame.
    bool moduleReloadDue() const { return moduleReloadDue_; }
    const SituationCounts& reloads() const { return reloads_; }

private:
    void takeFocus(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);

    int64_t focusBackAt_ = -1;
    bool focusFired_ = false;  // a key was pressed in the stretch without the focus
    bool winCutShort_ = false;
    bool moduleReloadDue_ = false;
    SituationCounts reloads_{};
};

}  // namespace soak
