#include "world_faults.h"

#include <limits>

namespace soak {

namespace {

int64_t stalledAnswers(const sim::World& world, bool models) {
    int64_t answers = 0;
    if (models) {
        for (const auto& [hash, model] : world.entities().models()) answers += model.stalledAnswers;
    } else {
        for (const auto& [hash, asset] : world.combat().weaponAssets()) answers += asset.stalledAnswers;
    }
    return answers;
}

void setStalled(sim::World& world, bool models, bool stalled) {
    if (models) {
        for (const auto& [hash, model] : world.entities().models()) world.entities().findModel(hash)->stalled = stalled;
    } else {
        for (const auto& [hash, asset] : world.combat().weaponAssets()) world.combat().weaponAsset(asset.name).stalled = stalled;
    }
}

bool invincible(const sim::World& world, int32_t vehicle) {
    const sim::Entity* entity = world.entities().find(vehicle);
    return entity != nullptr && entity->invincible;
}

}  // namespace

void WorldFaults::attach() {
    models_.until = assets_.until = lastStallFrame_ = sightFlapsUntil_ = badAnswersUntil_ = -1;
    swappedFrom_ = 0;
    lifeEventsSeen_ = 0;
}

void WorldFaults::beforeFrame(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now) {
    removeEntities(host.world(), plan, now);
    // Streaming stalls for long stretches; each stretch counts once it kept something waiting.
    stallStep(host, plan, true, frame, plan.due(Fault::ModelStall, now));
    stallStep(host, plan, false, frame, plan.due(Fault::AssetStall, now));
    endangerPlayer(host, plan, now);
    disturbAnswers(host, plan, frame, now);
}

void WorldFaults::removeEntities(sim::World& world, FaultPlan& plan, Situation now) {
    const int32_t me = world.entities().playerPed();
    if (plan.due(Fault::VehicleVanishes, now)) {
        if (const int32_t vehicle = world.entities().vehicleOf(me)) {
            world.entities().remove(vehicle);
            plan.count(Fault::VehicleVanishes);
        }
    }
    // The armor shield is up while the player's vehicle cannot be destroyed, or the one the
    // player was last moved out of still cannot: the shield lasts its salvo.
    const int32_t vehicle = world.entities().vehicleOf(me);
    if ((invincible(world, vehicle) || invincible(world, swappedFrom_)) && plan.due(Fault::VehicleSwapped, now)) {
        if (invincible(world, vehicle)) swappedFrom_ = vehicle;
        if (vehicle != 0 && plan.random.percent(50)) {
            world.entities().leaveVehicle(me);
        } else {
            world.entities().putPlayerInVehicle();
        }
        plan.count(Fault::VehicleSwapped);
    }
    if (plan.due(Fault::HelicopterDeleted, now)) {
        if (const int32_t helicopter = heldHelicopter(world.entities())) {
            world.entities().remove(helicopter);
            plan.count(Fault::HelicopterDeleted);
        }
    }
    if (plan.due(Fault::PilotDeleted, now)) {
        if (const int32_t pilot = heldPilot(world.entities())) {
            world.entities().remove(pilot);
            plan.count(Fault::PilotDeleted);
        }
    }
    if (plan.due(Fault::HelicopterWrecked, now)) {
        sim::Entity* helicopter = world.entities().find(heldHelicopter(world.entities()));
        if (helicopter != nullptr && !helicopter->wrecked) {
            world.entities().wreck(helicopter->handle);
            plan.count(Fault::HelicopterWrecked);
        }
    }
}

void WorldFaults::stallStep(sim::Host& host, FaultPlan& plan, bool models, int64_t frame, bool start) {
    Stall& stall = models ? models_ : assets_;
    if (stall.until >= 0 && !stall.fired && stalledAnswers(host.world(), models) > stall.answersSeen) {
        stall.fired = true;
        plan.count(models ? Fault::ModelStall : Fault::AssetStall);
    }
    if (start && stall.until < 0) {
        stall.until = frame + plan.random.between(30, 1500);
        stall.fired = false;
        stall.answersSeen = stalledAnswers(host.world(), models);
        setStalled(host.world(), models, true);
    }
    if (stall.until >= 0 && frame >= stall.until) {
        stall.until = -1;
        setStalled(host.world(), models, false);
    }
    if (stall.until >= 0) lastStallFrame_ = frame;
}

// The player killed, arrested, or revived or given control back late.
void WorldFaults::endangerPlayer(sim::Host& host, FaultPlan& plan, Situation now) {
    sim::World& world = host.world();
    if (plan.due(Fault::PlayerDies, now) && !world.entities().player().dead) {
        world.combat().kill(world.entities().playerPed());
        if (world.entities().player().dead) {
            plan.count(Fault::PlayerDies);
            ++deaths_[static_cast<std::size_t>(now)];
        }
    }
    // An arrest counts where the plug-in can meet it: while its encounter runs.
    if (plan.due(Fault::PlayerArrested, now) && world.combat().arrest(static_cast<int32_t>(plan.random.between(60, 300))) &&
        encounterRuns(host)) {
        plan.count(Fault::PlayerArrested);
    }
    const bool late = plan.of(Fault::LateRevival).on;
    world.combat().setRevivalDelay(late ? plan.lateRevival : sim::kRevivalFrames);
    world.combat().setControlDelay(late ? plan.lateControl : sim::kControlFrames);
    for (; lifeEventsSeen_ < world.combat().lifeEvents().size(); ++lifeEventsSeen_) {
        if (late && world.combat().lifeEvents()[lifeEventsSeen_].kind == sim::LifeEvent::Died) plan.count(Fault::LateRevival);
    }
}

// Sight flapping, and the stretch of bad answers that answer() gives.
void WorldFaults::disturbAnswers(sim::Host& host, FaultPlan& plan, int64_t frame, Situation now) {
    sim::Entities& entities = host.world().entities();
    if (plan.due(Fault::SightFlaps, now) && frame >= sightFlapsUntil_) {
        sightFlapsUntil_ = frame + plan.random.between(60, 900);
        if (encounterRuns(host)) plan.count(Fault::SightFlaps);
    }
    if (frame < sightFlapsUntil_) {
        entities.setSight(frame % 2 == 0 ? sim::Sight::AlwaysClear : sim::Sight::AlwaysBlocked);
    } else if (sightFlapsUntil_ >= 0) {
        entities.setSight(sim::Sight::ByDistance);
        sightFlapsUntil_ = -1;
    }

    if (plan.due(Fault::BadAnswers, now) && frame >= badAnswersUntil_) {
        constexpr float kBad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(),
                                  -std::numeric_limits<float>::max(), 1e30f, -1e9f};
        badValue_ = kBad[plan.random.below(7)];
        badAnswersUntil_ = frame + plan.random.between(1, 90);
        badAnswered_ = false;
    }
}

void WorldFaults::answer(sim::NativeCall& call, int64_t frame, FaultPlan& plan) {
    if (frame >= badAnswersUntil_ || (call.spec->result != 'f' && call.spec->result != 'v')) return;
    if (!badAnswered_) {
        badAnswered_ = true;
        plan.count(Fault::BadAnswers);
    }
    if (call.spec->result == 'f') {
        call.returnFloat(badValue_);
    } else {
        call.returnVector({badValue_, plan.random.percent(50) ? badValue_ : 0.0f, badValue_});
    }
}

void WorldFaults::calm(sim::Host& host) {
    sim::World& world = host.world();
    for (bool models : {true, false}) setStalled(world, models, false);
    models_.until = assets_.until = -1;
    world.entities().setSight(sim::Sight::ByDistance);
    sightFlapsUntil_ = badAnswersUntil_ = -1;
    world.combat().setRevivalDelay(sim::kRevivalFrames);
    world.combat().setControlDelay(sim::kControlFrames);
}

int64_t WorldFaults::framesSinceStall(const sim::Host& host) const {
    return lastStallFrame_ < 0 ? std::numeric_limits<int64_t>::max() : host.frame() - lastStallFrame_;
}

}  // namespace soak
