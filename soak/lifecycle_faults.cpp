#include "lifecycle_faults.h"

#include <algorithm>

namespace soak {

namespace {

// The won sequence's wait before the wreck, the only wait of 100 ms.
constexpr uint32_t kBeforeWreckMs = 100;

}  // namespace

void LifecycleFaults::beforeFrame(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now, bool inFrame) {
    takeFocus(host, plan, frame, now);
    winCutShort_ = false;
    if (plan.due(Fault::GameReloads, now)) {
        winCutShort_ = inFrame && (now == Situation::WonSequence || host.currentWait().milliseconds == kBeforeWreckMs);
        const sim::Map& map = host.world().map();
        const sim::Entity& player = host.world().entities().player();
        const sim::Vec3 at = map.road.empty() ? player.position + sim::Vec3{300.0f, 0.0f, 0.0f}
                                              : map.toWorld(map.road[static_cast<std::size_t>(plan.random.below(static_cast<int64_t>(map.road.size())))]);
        host.reloadGame(at, plan.random.percent(80));
        ++reloads_[static_cast<std::size_t>(now)];
        plan.count(Fault::GameReloads);
    }
    moduleReloadDue_ = (now == Situation::Idle || now == Situation::Menu) && !encounterRuns(host) && plan.due(Fault::ModuleReloaded, now);
    if (moduleReloadDue_) plan.count(Fault::ModuleReloaded);
}

// The stretch counts once a key is pressed in it.
void LifecycleFaults::takeFocus(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now) {
    if (focusBackAt_ >= 0 && frame >= focusBackAt_) {
        host.setFocus(sim::Host::Focus::Game);
        focusBackAt_ = -1;
    }
    if (focusBackAt_ < 0 && plan.due(Fault::FocusElsewhere, now)) {
        focusBackAt_ = frame + plan.random.between(30, 300);
        focusFired_ = false;
        host.setFocus(plan.random.percent(50) ? sim::Host::Focus::OtherProgram : sim::Host::Focus::NoWindow);
    }
    if (focusBackAt_ >= 0 && !focusFired_) {
        focusFired_ = std::ranges::any_of(keyboardKeys(host), [&](int32_t key) { return host.keyDown(key); });
        if (focusFired_) plan.count(Fault::FocusElsewhere);
    }
}

void LifecycleFaults::calm(sim::Host& host) {
    host.setFocus(sim::Host::Focus::Game);
    focusBackAt_ = -1;
    winCutShort_ = moduleReloadDue_ = false;
}

}  // namespace soak
