#include "situation.h"

#include <iterator>

#include "autopilot.h"
#include "game.h"
#include "settings/settings_file.h"

namespace soak {

namespace {

constexpr const char* kSituationNames[] = {"idle", "menu", "chase", "salvo", "player down", "level start or respawn wait",
                                           "intro", "won sequence", "respawn shot"};
static_assert(std::size(kSituationNames) == kSituations, "a name for each situation");

// The native the plug-in calls first in each frame's dispatch: the pad's attack control.
const uint64_t kPadControlNative = sim::nativeHash("getControlValue");
// The native by which the script sends its helicopter after the player: it does so in every
// frame of the chase, and in none while a salvo or a strike runs.
const uint64_t kHeliMissionNative = sim::nativeHash("taskHeliMission");

// The player lies dead, and died before the last frame's script ran (not in the world's step
// after it), or the screen was faded out in the last frame: the respawn's black screen while
// the script waits for the host to give control back.
bool playerDownSeen(const sim::Host& host) {
    const sim::World& world = host.world();
    if (world.entities().player().dead) {
        const auto& events = world.combat().lifeEvents();
        for (auto event = events.rbegin(); event != events.rend(); ++event) {
            if (event->kind == sim::LifeEvent::Died) return event->frame < host.frame();
        }
        return true;
    }
    const auto& fades = world.records().fades();
    return !fades.empty() && fades.back().frame == host.frame() && !fades.back().fadeIn;
}

bool warningHeard(const sim::Host& host) {
    const auto& cues = host.cues();
    for (auto cue = cues.rbegin(); cue != cues.rend() && cue->frame == host.frame(); ++cue) {
        if (cue->cue == kSalvoWarningCue) return true;
    }
    return false;
}

}  // namespace

const char* situationName(Situation situation) { return kSituationNames[static_cast<std::size_t>(situation)]; }

void ScriptCalls::saw(const sim::NativeCall& call, int64_t frame) {
    if (call.spec->hash == kPadControlNative) lastDispatch = frame;
    if (call.spec->hash == kHeliMissionNative) lastOrder = frame;
}

Situation situationOf(const sim::Host& host, bool inFrame, const ScriptCalls& calls) {
    if (inFrame) {
        // A wait in normal time is one of the steps of a level's start or a respawn. A slowed
        // one is a shot: the wreck's when the script blew a vehicle up just before it, the
        // respawn's when it had moved entities in the turn before (the helicopter brought
        // back), else the level's intro.
        const sim::Host::ScriptWait& wait = host.currentWait();
        if (wait.timeScale == sim::kNormalTimeScale) return Situation::StartWait;
        if (wait.blewUpVehicle) return Situation::WonSequence;
        if (host.waitBefore().movedEntity) return Situation::RespawnShot;
        return Situation::Intro;
    }
    // A salvo's or a strike's sequence runs while the script no longer sends the helicopter
    // after the player, from the frame its warning sounds.
    if (encounterRuns(host)) {
        if (playerDownSeen(host)) return Situation::PlayerDown;
        if (calls.lastOrder != host.frame() || warningHeard(host)) return Situation::Salvo;
        return Situation::Chase;
    }
    return autopilot::highlightedRow(host.screen()) >= 0 ? Situation::Menu : Situation::Idle;
}

bool encounterRuns(const sim::Host& host) {
    const sim::Entities& entities = host.world().entities();
    return heldHelicopter(entities) != 0 || heldPilot(entities) != 0;
}

int32_t heldHelicopter(const sim::Entities& entities) {
    return entities.oldestHeld(sim::EntityKind::Vehicle, entities.vehicleOf(entities.playerPed()));
}

int32_t heldPilot(const sim::Entities& entities) { return entities.oldestHeld(sim::EntityKind::Ped); }

int32_t boundMenuKey(sim::Host& host) { return autopilot::boundKey(host.gameFolder(), OpenMenuKey); }

std::array<int32_t, 6> keyboardKeys(sim::Host& host) {
    return {boundMenuKey(host), autopilot::boundKey(host.gameFolder(), AttackKey), vk::Numpad0, vk::Numpad2, vk::Numpad5, vk::Numpad8};
}

}  // namespace soak
