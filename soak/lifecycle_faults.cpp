#include "lifecycle_faults.h"

namespace soak {

namespace {

// The won sequence's wait before the wreck, the only wait of 100 ms.
constexpr uint32_t kBeforeWreckMs = 100;

}  // namespace

void LifecycleFaults::beforeFrame(sim::Host& host, FaultPlan& plan, Situation now, bool inFrame) {
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

}  // namespace soak
