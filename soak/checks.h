// What the soak checks, every frame and at every write of the plug-in. The first problem
// found is kept; each check counts how often it ran.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "faults.h"
#include "host.h"
#include "probes.h"
#include "runtime/mod_state.h"
#include "settings_checks.h"

namespace soak {

enum class Check {
    ModState,       // the mod state's invariants
    NativesKnown,   // a native call the host knew and took (an unknown one stops the host)
    HelicoptersHeld,  // no helicopter or pilot held but the encounter's own
    HandedBack,     // at an encounter's end: nothing the plug-in created still held
    ShieldDown,     // at a shield's drop and an encounter's end: no vehicle left invincible
    FileWhole,      // each write: the old or the new file, every other line intact
    NoGoingBack,    // each changed file: progress kept
    NoneLostUntold, // each frame with writes: a value meant for the file is there, or the player told
    WaitsEnd,       // each frame: no wait inside a frame outlasts its stall, nor the respawn the revival
    Settled,        // after each level: the plug-in back in its loop, the encounter over
    ProbesSeen,     // after each level: the host saw the settings code's rare paths the plug-in ran
    RestartClean,   // a restart's first frame: time and hint at 1.0, no fade-out left
    FreshHandles,   // each frame after a reload: no handle passed that a native did not return since
    WinCredited,    // a restart after a win cut short: the result at once; any result only once a level
    KeysNeedFocus,  // each frame without the focus: the keys changed nothing
    Unregistered,   // each unload: the host holds no registration of the module
    kCount          // not a check: how many there are
};
constexpr int kCheckKinds = static_cast<int>(Check::kCount);
// The checks that only the host's lifecycle faults give work: a strict run must run each.
constexpr bool checksLifecycle(Check check) { return check >= Check::RestartClean; }
const char* checkName(Check check);
using CheckCounts = std::array<int64_t, kCheckKinds>;

// The longest the plug-in waits inside one frame with no fault: the won level's slow
// motion (100 ms and 4 s) and more, in frames.
constexpr int64_t kLongestWait = 400;

class Checks {
public:
    explicit Checks(std::string settingsFile) : settingsFile_(std::move(settingsFile)) {}

    // A new game: the plug-in's profile calls are watched from now on.
    void attach(sim::Host& host);
    // The settings file was changed by hand: what it holds now is the new baseline, and the
    // keys whose values changed may go back until the plug-in reads them again.
    void fileChangedByHand();
    // After each frame.
    void afterFrame(const sim::Host& host, const Faults& faults);
    // After a level's wind-down: whether the plug-in has settled, and then nothing held and
    // no vehicle left invincible.
    void settled(const sim::Host& host, bool yes, const std::string& how);
    // Right after the host freed the module (and before it loads it again).
    void unloaded(const sim::Host& host);

    // After a level, where the plug-in's state is in view: the paths of its settings code the
    // host saw in the level are those the plug-in ran (counts since the level began).
    void probesAgree(const ProbeCounts& seen, const ProbeCounts& plugin);

    const std::string& problem() const { return problem_; }
    const CheckCounts& counts() const { return counts_; }
    const ProbeCounts& probesSeen() const { return probes_.seen(); }

private:
    void ran(Check check) { ++counts_[static_cast<std::size_t>(check)]; }
    void fail(const std::string& what);
    void watchProfileCall(const sim::ProfileCall& call);
    void checkProgress();
    void checkModState(const ModState& state);
    void checkHeld(const sim::World& world, const ModState* state, bool encounterEnded);
    void checkEnded(const sim::World& world, const std::string& when);
    void checkShieldDown(const sim::World& world, const std::string& when);
    void checkLifecycle(const sim::Host& host, const Faults& faults, bool restarted);
    static FileBytes writtenByUs(const FileBytes& before, const sim::ProfileCall& call);
    FileBytes fileNow() const;

    std::string settingsFile_;
    std::string problem_;
    CheckCounts counts_{};
    ProbeWatch probes_;
    FileBytes file_;
    // The file as the plug-in's writes alone made it from nothing, while they alone did.
    std::optional<std::string> madeByWrites_;
    Progress progress_{};
    std::array<bool, kProgressKeys> editedByHand_{};
    std::array<bool, kProgressKeys> readThisFrame_{};
    // The first value the plug-in wrote this frame to each key, where it meant a change.
    std::array<std::optional<int64_t>, kProgressKeys> meant_{};
    // What a purchase stored in part left in the file, and its rollback could not undo: points
    // spent without the tier, or a tier without its points. The plug-in writes the rollback
    // before any other progress.
    std::array<std::optional<int64_t>, kProgressKeys> owed_{};
    const sim::GameFolder* folder_ = nullptr;
    bool written_ = false;
    bool wasActive_ = false;
    bool wasShielded_ = false;
    int64_t nativeCalls_ = 0;
    int64_t respawnDueFrames_ = 0;
    // The lifecycle: reloads seen, the result and menu row shown in the frame before, and
    // whether an encounter ran since the last result first showed.
    int64_t reloadsSeen_ = 0;
    bool resultShown_ = false;
    bool encounterSinceResult_ = true;
    int lastRow_ = -1;
    bool leavingShown_ = false;
    bool dispatchedBefore_ = false;
    bool awayBefore_ = false;
    bool grantedBefore_ = false;  // the plug-in was told the game had the focus in the frame before
};

}  // namespace soak
