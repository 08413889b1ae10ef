#include "faults.h"

#include <algorithm>

namespace soak {

void Faults::planLevel(Random& random, const Arrangement& arranged) {
    FaultPlan& plan = plan_;
    plan.random = Random(random.next());
    plan.kinds = {};
    plan.arranged = arranged;
    file_.beginLevel();
    plan.refuseTiers = false;
    // Some levels are played without faults, so that levels are also won.
    if (plan.random.percent(30)) return;
    for (std::size_t kind = 0; kind < kFaultKinds; ++kind) {
        FaultPlan::Kind& chosen = plan.kinds[kind];
        chosen.on = plan.random.percent(plan.fired[kind] == 0 ? 75 : 25) && plan.made[kind];
        constexpr int64_t kRates[] = {15, 150, 1500};
        chosen.oneIn = kRates[plan.random.below(3)];
        chosen.when = static_cast<Situation>(plan.random.below(kSituations));
        chosen.anywhere = plan.random.percent(40);
    }
    // The settings file is disturbed more rarely: a person's hand, not every frame.
    for (Fault kind : {Fault::FileEdited, Fault::FileCorrupted, Fault::FileTruncated, Fault::FileDeleted, Fault::FolderRemoved}) {
        plan.of(kind).oneIn *= 4;
    }
    // The vehicle vanishes during one of the waits inside a frame.
    FaultPlan::Kind& vanish = plan.of(Fault::VehicleVanishes);
    vanish.anywhere = false;
    constexpr Situation kWaits[] = {Situation::StartWait, Situation::Intro, Situation::WonSequence, Situation::RespawnShot};
    vanish.when = kWaits[plan.random.below(4)];
    vanish.oneIn = std::min<int64_t>(vanish.oneIn, 30);
    // A reload anywhere comes rarely, or no level would last; in one situation (the waits
    // inside a frame among them), often. While no win has been cut short, half the levels
    // aim at the won sequence. A module reload ends the level the menu was choosing: rarer.
    FaultPlan::Kind& reload = plan.of(Fault::GameReloads);
    if (reload.anywhere) reload.oneIn *= 20;
    if (plan.isMade(Fault::GameReloads) && lifecycle_.reloads()[static_cast<std::size_t>(Situation::WonSequence)] == 0 &&
        plan.random.percent(50)) {
        reload = {true, 15, Situation::WonSequence, false};
    }
    plan.of(Fault::ModuleReloaded).oneIn *= 10;
    // The vehicle changes while the shield is up, in whatever situation that is.
    FaultPlan::Kind& swap = plan.of(Fault::VehicleSwapped);
    swap.anywhere = true;
    swap.oneIn = std::min<int64_t>(swap.oneIn, 30);
    // A player who buys twice on one row, now and then with every tier write refused (and
    // the one after it), so that the second purchase follows a first one that failed.
    plan.refuseTiers = plan.of(Fault::BoughtTwice).on && plan.random.percent(50);
    plan.lateRevival = static_cast<int32_t>(plan.random.between(sim::kRevivalFrames + 1, 4 * sim::kRevivalFrames));
    plan.lateControl = static_cast<int32_t>(plan.random.between(sim::kControlFrames + 1, 30 * sim::kControlFrames));
}

void Faults::attach(sim::Host& host) {
    host.setNativeHook([this, &host](sim::NativeCall& call) {
        calls_.saw(call, host.frame());
        world_.answer(call, host.frame(), plan_);
    });
    // A new host counts its frames from the start.
    calls_ = {};
    world_.attach();
    keys_.attach();
    file_.attach();
    lifecycle_.attach();
}

void Faults::beforeFrame(sim::Host& host, bool inFrame) {
    const Situation now = situationOf(host, inFrame, calls_);
    const int64_t frame = host.frame() + 1;  // the frame about to run
    // In this order, which a seed's draws follow.
    world_.beforeFrame(host, plan_, frame, now);
    keys_.beforeFrame(host, plan_, frame, now);
    file_.beforeFrame(host, plan_, frame, now);
    lifecycle_.beforeFrame(host, plan_, frame, now, inFrame);
}

void Faults::calm(sim::Host& host) {
    plan_.kinds = {};
    world_.calm(host);
    keys_.calm(host);
    file_.calm(host);
    lifecycle_.calm(host);
}

}  // namespace soak
