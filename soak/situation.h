// Where the plug-in stands between two frames, as the host shows it: the screen the plug-in
// drew, the world, what the script holds and asked of the host in the last frame, and its
// waits; and the keys the settings file binds, read as the plug-in reads them. The faults
// decide when and where to fire from this alone, and press the keys a person at the keyboard
// would press, having looked at the file.
#pragma once

#include <array>
#include <cstdint>

#include "host.h"

namespace soak {

enum class Situation {
    Idle,
    Menu,
    Chase,
    Salvo,        // a missile sequence runs
    PlayerDown,   // dead, waiting for the host
    StartWait,    // inside a frame: the level start's fade, placement and streaming, or a respawn's steps
    Intro,        // inside a frame: the level's slow-motion intro
    WonSequence,  // inside a frame: the helicopter's wreck in slow motion
    RespawnShot,  // inside a frame: the respawn's slow-motion shot
    kCount        // not a situation: how many there are
};
constexpr int kSituations = static_cast<int>(Situation::kCount);
using SituationCounts = std::array<int64_t, kSituations>;
const char* situationName(Situation situation);

// The script's frames as its native calls show them.
struct ScriptCalls {
    int64_t lastDispatch = -1;  // the last frame whose dispatch began (the plug-in reads the pad first in each)
    int64_t lastOrder = -1;     // the last frame the script sent its helicopter after the player
    void saw(const sim::NativeCall& call, int64_t frame);
};

// inFrame: the last frame ended inside one of the plug-in's waits rather than in its loop.
Situation situationOf(const sim::Host& host, bool inFrame, const ScriptCalls& calls);

// The encounter runs while the script holds its helicopter or the helicopter's pilot: one
// removed while the player lies dead is replaced only once the player is back.
bool encounterRuns(const sim::Host& host);
// What the script holds of an encounter: its helicopter (the oldest vehicle it holds, other
// than one the player sits in) and its pilot; 0 for none.
int32_t heldHelicopter(const sim::Entities& entities);
int32_t heldPilot(const sim::Entities& entities);

// The key that opens the menu as the settings file in the game's folder binds it (its default
// when the binding names no key).
int32_t boundMenuKey(sim::Host& host);
// The plug-in's keyboard keys: the menu key and the attack key as the settings file binds
// them, then the menu's numeric keypad 0, 2, 5 and 8.
std::array<int32_t, 6> keyboardKeys(sim::Host& host);

}  // namespace soak
