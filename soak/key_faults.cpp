#include "key_faults.h"

#include "rules.h"

namespace soak {

void KeyFaults::beforeFrame(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now) {
    if (mashUntil_ >= 0 && frame >= mashUntil_) {
        holdMashedKey(host, false);
        mashUntil_ = -1;
    }
    if (mashUntil_ < 0 && plan.due(Fault::KeyMash, now)) {
        const std::array<int32_t, 6> keys = keyboardKeys(host);
        const int32_t menuKey = keys[0];
        const int32_t others[] = {keys[1], keys[2], keys[3], keys[4], keys[5], kPadFullyPressed};
        mashedKey_ = plan.random.percent(40) ? menuKey : others[plan.random.below(6)];
        mashUntil_ = frame + plan.random.between(1, 40);
        plan.count(Fault::KeyMash);
        if (mashedKey_ == menuKey) ++menuKeys_[static_cast<std::size_t>(now)];
    }
    if (mashUntil_ >= 0) holdMashedKey(host, true);
}

// A mashed key is a keyboard key or the pad's attack control.
void KeyFaults::holdMashedKey(sim::Host& host, bool down) {
    if (mashedKey_ == kPadFullyPressed) {
        host.setPadControl(down ? kPadFullyPressed : 0);
    } else {
        host.setKey(mashedKey_, down);
    }
}

void KeyFaults::calm(sim::Host& host) {
    if (mashUntil_ < 0) return;
    holdMashedKey(host, false);
    mashUntil_ = -1;
}

}  // namespace soak
