#include "checks.h"

#include "runtime/mod_state.h"

namespace soak {

namespace {

constexpr const char* kNames[kCheckKinds] = {"mod state invariants", "natives known", "no stray helicopter held",
                                             "handed back at the end", "shield down at the end", "file whole after a write",
                                             "progress never back", "waits end", "settled after the level"};

}  // namespace

const char* checkName(Check check) { return kNames[static_cast<std::size_t>(check)]; }

void Checks::attach(sim::Host& host) {
    host.setProfileObserver([this](const sim::ProfileCall& call) { watchProfileCall(call); });
    nativeCalls_ = host.nativeCalls();
    wasActive_ = false;
    fileChangedByHand();
}

void Checks::fail(const std::string& what) {
    if (problem_.empty()) problem_ = what;
}

void Checks::fileChangedByHand() {
    file_ = readFileBytes(settingsFile_);
    const Progress now = progressOf(file_);
    for (std::size_t key = 0; key < kProgressKeys; ++key) editedByHand_[key] = editedByHand_[key] || now[key] != progress_[key];
    progress_ = now;
}

void Checks::watchProfileCall(const sim::ProfileCall& call) {
    if (!call.write()) {
        for (std::size_t key = 0; key < kProgressKeys; ++key) readThisFrame_[key] = readThisFrame_[key] || call.key == kProgressKeyNames[key];
        return;
    }
    FileBytes after = readFileBytes(settingsFile_);
    const std::string problem = wholeFileProblem(file_, after, call.section, call.key, call.value, call.result != 0);
    ran(Check::FileWhole);
    if (!problem.empty()) fail("the write of " + call.key + "=" + call.value + ": " + problem);
    file_ = std::move(after);
    written_ = true;
}

void Checks::afterFrame(const sim::Host& host, const Faults& faults) {
    if (host.nativeCalls() > nativeCalls_) ran(Check::NativesKnown);
    nativeCalls_ = host.nativeCalls();
    checkModState();

    if (written_) {
        written_ = false;
        const Progress now = progressOf(file_);
        ran(Check::NoGoingBack);
        const std::string problem = backwardsProblem(progress_, now, editedByHand_);
        if (!problem.empty()) fail("progress: " + problem);
        progress_ = now;
    }
    // A key the plug-in read is in step with the file again (once this frame's writes are judged).
    for (std::size_t key = 0; key < kProgressKeys; ++key) {
        if (readThisFrame_[key]) editedByHand_[key] = false;
    }
    readThisFrame_ = {};

    const bool ended = wasActive_ && !mod.encounterActive;
    wasActive_ = mod.encounterActive;
    checkHeld(host.world(), ended);


    ran(Check::WaitsEnd);
    // The respawn follows once the host has revived the player and given control back.
    const sim::World& world = host.world();
    const bool respawnDue = mod.encounterActive && mod.playerDown != 0 && mod.checkpointSaved != 0 &&
                            !world.player().dead && world.playerControl();
    respawnDueFrames_ = respawnDue ? respawnDueFrames_ + 1 : 0;
    if (respawnDueFrames_ > kLongestWait) {
        fail("the player has been alive and in control for " + std::to_string(respawnDueFrames_) +
             " frames, and the respawn has not come");
    }
    const int64_t waited = host.frame() - faults.lastDispatchFrame();
    if (waited > kLongestWait && faults.framesSinceStall(host) > kLongestWait) {
        fail("the plug-in has waited inside a frame for " + std::to_string(waited) + " frames, " +
             std::to_string(faults.framesSinceStall(host)) + " of them after the last stall");
    }
}

void Checks::checkModState() {
    ran(Check::ModState);
    if (mod.heliPilot != 0 && mod.heliVehicle == 0) fail("a pilot is held without its helicopter");
    if (!mod.encounterActive && (mod.heliVehicle != 0 || mod.heliPilot != 0)) fail("handles are held with no encounter running");
    if (mod.missileSequenceActive != 0 && (mod.missileSequenceFrame < -50 || mod.missileSequenceFrame > 101)) {
        fail("the missile sequence is at frame " + std::to_string(mod.missileSequenceFrame));
    }
    if (mod.missileSequenceActive != 0 && (mod.missilesLaunched < 0 || mod.missilesLaunched > kSalvoMissiles)) {
        fail(std::to_string(mod.missilesLaunched) + " missiles launched in one sequence");
    }
    if (mod.weaponLevel < 1 || mod.weaponLevel > 4 || mod.armorLevel < 1 || mod.armorLevel > 4) {
        fail("tiers out of range: weapon " + std::to_string(mod.weaponLevel) + ", armor " + std::to_string(mod.armorLevel));
    }
    if (mod.upgradePoints < 0 || mod.upgradePoints > 28) fail("upgrade points out of range: " + std::to_string(mod.upgradePoints));
    if (mod.highestOpenLevel < 0 || mod.highestOpenLevel > 5) fail("open levels out of range: " + std::to_string(mod.highestOpenLevel));
}

void Checks::checkHeld(const sim::World& world, bool encounterEnded) {
    ran(Check::HelicoptersHeld);
    for (const int32_t handle : world.heldByScript()) {
        const sim::Entity& entity = *world.find(handle);
        const sim::Model* model = world.findModel(entity.model);
        const bool helicopter = model != nullptr && model->topSpeed > 0.0f;
        const bool pilot = entity.kind == sim::EntityKind::Ped;
        if ((helicopter && handle != mod.heliVehicle) || (pilot && handle != mod.heliPilot)) {
            fail("a " + std::string(pilot ? "pilot" : "helicopter") + " the plug-in no longer names is still held");
        }
        if (encounterEnded) fail("the encounter ended with entity " + std::to_string(handle) + " still held");
    }
    if (!encounterEnded) return;
    ran(Check::HandedBack);
    ran(Check::ShieldDown);
    if (mod.armorShieldActive != 0) fail("the encounter ended with the shield flag set");
    const sim::Entity* vehicle = world.find(world.vehicleOf(world.playerPed()));
    if (vehicle != nullptr && vehicle->invincible) fail("the encounter ended with the player's vehicle invincible");
}

void Checks::settled(bool yes, const std::string& how) {
    ran(Check::Settled);
    if (!yes) fail("the plug-in did not settle after the level: " + how);
}

}  // namespace soak
