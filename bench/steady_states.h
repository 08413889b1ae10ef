// The plug-in's steady states, each set up in a simulated host the way a player gets there,
// and one frame of each, as the benchmarks and the frame-cost tests run it.
//
// A steady frame is one that the next frame repeats: the counters that would move the state
// on (frames in sight before a salvo, frames out of sight before the helicopter is lost, a
// salvo's frame, the charged power) are pinned back in the mod state before each frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plugin_host.h"
#include "temporary_folder.h"

namespace bench {

enum class State {
    Idle,
    Menu,
    Instructions,
    PursuitInSight,
    PursuitOutOfSight,
    SalvoWarning,
    MissilesFiring,
    WaitingForRevival,
};

inline constexpr State kStates[] = {State::Idle,           State::Menu,
                                    State::Instructions,   State::PursuitInSight,
                                    State::PursuitOutOfSight, State::SalvoWarning,
                                    State::MissilesFiring, State::WaitingForRevival};

const char* nameOf(State state);

// The natives one frame of the state needs, by the plug-in's rules, and the sum spelled out
// ("pad 1 + menu 112").
struct ExpectedNatives {
    int count = 0;
    std::string breakdown;
};
ExpectedNatives expectedNatives(State state);

// A native call as the floor replays it: the hash and how many arguments it takes.
using CallShape = std::vector<std::pair<uint64_t, int>>;

class Scene {
public:
    // Loads the plug-in into a fresh host (the settings file a fresh one, in a temporary game
    // folder) and plays until the state holds.
    explicit Scene(State state);
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    State state() const { return state_; }
    sim::Host& host() { return *host_; }

    // The plug-in's frame alone (the message and the dispatch, on the caller's stack): the
    // host's clock, world and log stand still. Against the null host, the plug-in's own cost.
    void pluginFrame();
    // A whole frame of the host in full mode: the script's turn on its fibre, then the world.
    void hostFrame();

    // Switches the host between null and full mode.
    void setNullMode(bool on) { host_->setNullMode(on); }

    // The calls of one full frame of the state, for the floor.
    const CallShape& callShape() const { return callShape_; }

private:
    void pin();
    void runUntil(bool (*done)(), int maxFrames, const char* what);
    void startLevelOne();

    State state_;
    sim::TemporaryFolder gameFolder_;
    std::unique_ptr<sim::PluginHost> host_;
    CallShape callShape_;
};

// The floor of a frame: the same native calls with the same argument counts, bare, against
// the host as it is (the null host, for the floor).
void replayCalls(const CallShape& shape);

}  // namespace bench
