// The plug-in in the simulated host, as every program that plays it starts it: the unit
// tests, the Wine scenarios' games (on Linux and under Wine), the autopilot's game and the
// benchmark's scenes. The clock starts well past a fresh module's key lockout, the settings
// file lives in the game's folder, and a key is tapped once the lockout has passed.
#pragma once

#include <cstdint>
#include <string>

#include "host.h"
#include "rules.h"

namespace sim {

// The plug-in's key lockout in the host's frames: after a press on frame n, frame n + 13 is
// the first to take a key, the first more than kKeyLockoutMs (200) on at 60 frames a second
// (12 frames are 200 ms).
inline constexpr int kKeyLockoutFrames = static_cast<int>(kKeyLockoutMs) * Host::kFramesPerSecond / 1000 + 1;
// A start of the clock well past a fresh module's lockout (its last press stamped at tick 0).
inline constexpr uint32_t kPastLockoutTick = 100000;

class PluginHost : public Host {
public:
    // The clock starts at startTick and the settings file lives in gameDirectory (the current
    // directory when empty). load() loads the plug-in, once the game is set up.
    explicit PluginHost(const std::string& gameDirectory = {}, uint32_t startTick = kPastLockoutTick);

    // The key held down through one frame.
    void pressFor1Frame(int32_t key);
    // A press that counts even right after another: the lockout's frames, then the key held
    // down through one frame.
    void tapKey(int32_t key);
};

}  // namespace sim
