// A game of the mission played by the autopilot in the simulated host: the plug-in loaded
// into a fresh host, the player in a car, the settings file in the game's folder, and the
// fair world's map laid around the level when the level starts. Deterministic for a seed:
// the seed sets the host's clock (and so the plug-in's random generator) and the
// autopilot's choices.
//
// The soak and the benchmarks play games too: step() runs one frame, so a caller can look
// at or disturb the host between frames.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "autopilot.h"
#include "plugin_host.h"
#include "settings/settings_file.h"

namespace autopilot {

struct GameOptions {
    int level = 1;
    uint32_t seed = 1;
    int64_t maxFrames = 200000;  // about 55 minutes of game at 60 frames a second
    std::string gameDirectory;   // where the settings file lives; the current one when empty
    bool showInstructions = true;
    bool fairMap = true;  // lay the map (buildings, tunnel, hills) around the level
    bool callLog = false;  // keep each frame's native calls (for a trace)
};

class Game {
public:
    explicit Game(const GameOptions& options);

    sim::Host& host() { return host_; }
    const sim::Host& host() const { return host_; }
    Autopilot& autopilot() { return autopilot_; }
    const Autopilot& autopilot() const { return autopilot_; }
    const GameOptions& options() const { return options_; }
    // The tick count of the host's clock before the first frame.
    uint32_t startTick() const { return startTick_; }

    // One host frame with the autopilot at the controls. False once the level has an
    // outcome or the frames have run out.
    bool step();
    // Called in each step between the autopilot's hands and the host's frame: whatever else
    // happens to the game then (the soak's faults, more keys).
    void setInterference(std::function<void(sim::Host&)> interference) { interference_ = std::move(interference); }
    // Plays until then.
    Outcome play();
    // Another level in the same game, from the menu, with frames counted afresh.
    void nextLevel(int level);
    // What the host does between two levels: it takes away what the plug-in handed back.
    void removeHandedBack();
    bool outOfFrames() const { return framesPlayed_ >= options_.maxFrames; }
    int64_t framesPlayed() const { return framesPlayed_; }

    // A key of the settings file, as the plug-in reads it.
    uint32_t stored(const char* key, int32_t fallback = 0);

private:
    void layMapAtLevelStart();

    GameOptions options_;
    uint32_t startTick_;
    sim::PluginHost host_;
    Autopilot autopilot_;
    std::function<void(sim::Host&)> interference_;
    int64_t framesPlayed_ = 0;
    std::size_t fadesSeen_ = 0;
};

// The key a player presses for a binding of the settings file in the game's folder: its code,
// by number or by name as the plug-in reads it, when it names a key (1 to 254); else the
// binding's default.
int32_t boundKey(sim::GameFolder& folder, SettingsKey binding);

// The start tick of a seed's game.
uint32_t startTickOf(uint32_t seed);

}  // namespace autopilot
