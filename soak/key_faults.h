// The faults at the keyboard: the plug-in's keys mashed (the menu key among them, and the
// pad's attack control), and another program, or no window, holding the focus for a stretch,
// in which keys do nothing.
#pragma once

#include <cstdint>

#include "fault_plan.h"
#include "host.h"

namespace soak {

class KeyFaults {
public:
    // A new host, which counts its frames from the start.
    void attach();
    // Before the frame about to run, in the situation now: a key mashed, or the focus taken.
    void mash(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);
    void takeFocus(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);
    // Every key let go, the focus back on the game.
    void calm(sim::Host& host);
    const SituationCounts& menuKeys() const { return menuKeys_; }

private:
    void holdMashedKey(sim::Host& host, bool down);

    int32_t mashedKey_ = 0;
    int64_t mashUntil_ = -1;
    int64_t focusBackAt_ = -1;
    bool focusFired_ = false;  // a key was pressed in the stretch without the focus
    SituationCounts menuKeys_{};
};

}  // namespace soak
