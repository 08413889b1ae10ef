// The faults at the keyboard: the plug-in's keys mashed at random, the menu key among them,
// and the pad's attack control.
#pragma once

#include <cstdint>

#include "fault_plan.h"
#include "host.h"

namespace soak {

class KeyFaults {
public:
    // A new host, which counts its frames from the start.
    void attach() { mashUntil_ = -1; }
    // Before the frame about to run, in the situation now.
    void beforeFrame(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now);
    // Every key let go.
    void calm(sim::Host& host);
    const SituationCounts& menuKeys() const { return menuKeys_; }

private:
    void holdMashedKey(sim::Host& host, bool down);

    int32_t mashedKey_ = 0;
    int64_t mashUntil_ = -1;
    SituationCounts menuKeys_{};
};

}  // namespace soak
