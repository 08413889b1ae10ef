// The soak's faults: each kind at its own place in the simulated host, switched on for a
// level with some chance and then firing with some chance, all drawn from the level's
// random generator. Each kind counts how often it fired where it took effect.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "host.h"
#include "random.h"

namespace soak {

enum class Fault {
    VehicleVanishes,    // the player's vehicle, while the script waits inside a frame
    HelicopterDeleted,  // at any frame of an encounter
    PilotDeleted,
    HelicopterWrecked,
    ModelStall,   // the host answers "not loaded" for every model, for a long stretch
    AssetStall,   // the same for the missile's weapon asset
    PlayerDies,   // at a moment the level picks (see Situation)
    LateRevival,  // the host revives the player, or gives control back, late
    PlayerArrested,  // held without control for 60 to 300 frames, then released on foot
    SightFlaps,   // clear and blocked on alternate frames
    BadAnswers,   // not-a-number, infinite or huge positions, speeds and headings
    KeyMash,      // the plug-in's keys, the menu key among them, pressed at random
    FileEdited,   // between frames, by hand: a value changed, lines added
    FileCorrupted,
    FileTruncated,
    FileDeleted,
    WritesRefused,   // the host refuses one of the plug-in's writes and the next few
    FileWriteFails,  // a write, a flush or the replace fails on the disk, or a write is short
    FolderRemoved,   // the game's folder gone, or a regular file in its place, for a stretch
    FileLocked,      // another program holds the file: unreadable, every write refused
    BoughtTwice,     // the player buys twice on one row
    VehicleSwapped,  // during a shielded salvo the player leaves the vehicle, or is put in another
    GameReloads,     // between frames, or while the script waits inside one: a fresh fibre, a new world
    FocusElsewhere,  // another program, or no window, has the focus for a stretch: keys do nothing
    ModuleReloaded,  // the module freed and loaded again, out of a level (the run does it)
};
constexpr int kFaultKinds = 25;
using FaultKinds = std::array<bool, kFaultKinds>;
// A write, a flush or the replace failing on the disk are fault points of our profile code:
// the system's profile functions have none.
constexpr bool needsOurProfileCode(Fault fault) { return fault == Fault::FileWriteFails; }
// A corruption or a truncation changes the file at places drawn over its length, and the
// system's functions write the same file in another length (Wine ends every line with CRLF
// and drops blank lines): two runs that are compared leave them out, with the hand edits'
// lines that Wine writes back otherwise.
constexpr bool changesBytesAtRandom(Fault fault) { return fault == Fault::FileCorrupted || fault == Fault::FileTruncated; }
// The write faults land on any write of a step: the first to the fifth (a won level's best,
// points, two tiers and unlock).
constexpr int kWritePositions = 5;
const char* faultName(Fault fault);

// Where the plug-in stands between two frames.
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
};
constexpr int kSituations = 9;
const char* situationName(Situation situation);


// The key that opens the menu as the settings file in the game's folder binds it (F9 when the
// binding names no key): the key a person at the keyboard presses, having looked at the file.
int32_t boundMenuKey(sim::Host& host);

// Rare paths of the settings code that a level can be arranged to meet, for as long as they
// have not run: the soak favours them rather than waiting for luck.
struct Arrangement {
    bool lockFromStart = false;  // the file locked from the level's first frame, over its loads and its start
    bool lockAtWin = false;      // and locked again in the won sequence, over the best's second read
    bool rollbackFails = false;  // a purchase's tier write and its rollback refused
};

using FaultCounts = std::array<int64_t, kFaultKinds>;
using WritePositionCounts = std::array<int64_t, kWritePositions>;
using SituationCounts = std::array<int64_t, kSituations>;

class Faults {
public:
    // unusable: the folder a fault makes unusable (the game's folder, or the folder that holds
    // it); made: the kinds switched on at all.
    Faults(std::string unusable, std::string settingsFile, const FaultKinds& made)
        : folder_(std::move(unusable)), settingsFile_(std::move(settingsFile)), made_(made) {}

    // A new level: which kinds are on, how often they fire, and where. A kind that has not
    // fired yet in the run, and a write position not yet hit, are favoured, so that even a
    // short run meets them all.
    void planLevel(Random& random, const Arrangement& arranged = {});
    // Whether the player buys twice on one row this level (drawn by planLevel).
    bool buyTwice() const { return plans_[static_cast<std::size_t>(Fault::BoughtTwice)].on; }
    // A kind that fired outside the host's places (the player's repeated purchases).
    void record(Fault fault, int64_t times) { fired_[static_cast<std::size_t>(fault)] += times; }
    // A new game (a host of its own): the faults reach it through its hooks.
    void attach(sim::Host& host);
    // Where the plug-in stands, as the host shows it: the screen the plug-in drew, the world,
    // what the script holds and asked of the host in the last frame, and its waits. inFrame:
    // the last frame ended inside one of the plug-in's waits rather than in its loop.
    Situation situationOf(const sim::Host& host, bool inFrame) const;
    // The encounter runs: the script holds a helicopter.
    static bool encounterRuns(const sim::Host& host);
    // Before each frame: the faults that fire now. inFrame as for situationOf.
    void beforeFrame(sim::Host& host, bool inFrame);
    // Every fault cleared and the world back to normal; the settings file as it is.
    void calm(sim::Host& host);
    // A stretch of a fault that makes the plug-in wait ended this long ago (frames).
    int64_t framesSinceStall(const sim::Host& host) const;
    // The settings file was changed by a fault in the last beforeFrame or calm.
    bool fileChangedByHand() const { return fileChanged_; }
    // The last frame whose dispatch began (the plug-in reads the pad first in each).
    int64_t lastDispatchFrame() const { return lastDispatchFrame_; }
    // The last beforeFrame reloaded the game inside the won sequence (its 100 ms wait or the
    // wreck's slow motion): the restarted script owes the win.
    bool winCutShort() const { return winCutShort_; }
    // The module is to be freed and loaded again before the next frame: the run does it,
    // since the checks and the probes start afresh with it.
    bool moduleReloadDue() const { return moduleReloadDue_; }

    const FaultCounts& fired() const { return fired_; }
    // Write faults that fired, by the position of the write they hit within its step.
    const WritePositionCounts& writePositions() const { return writePositions_; }
    const SituationCounts& deaths() const { return deaths_; }
    const SituationCounts& menuKeys() const { return menuKeys_; }
    const SituationCounts& reloads() const { return reloads_; }

private:
    struct Plan {
        bool on = false;
        int64_t oneIn = 1;  // fires about once in this many frames
        Situation when = Situation::Chase;
        bool anywhere = true;  // or only in `when`
    };
    Plan& plan(Fault fault) { return plans_[static_cast<std::size_t>(fault)]; }
    bool due(Fault fault, Situation now);
    void count(Fault fault) { ++fired_[static_cast<std::size_t>(fault)]; }
    void changed(Fault fault);
    void stallStep(sim::Host& host, bool models, int64_t frame, bool start);
    static void setStalled(sim::World& world, bool models, bool stalled);
    void answer(sim::NativeCall& call);
    void mashKeys(sim::Host& host, Situation now, int64_t frame);
    void holdMashedKey(sim::Host& host, bool down);
    void disturbFile(sim::Host& host, int64_t frame, Situation now);
    void faultWrites(sim::Host& host, int64_t frame, Situation now);
    void disturbLifecycle(sim::Host& host, int64_t frame, Situation now, bool inFrame);
    std::string awayFolder() const;
    void restoreFolder();

    std::string folder_, settingsFile_;
    FaultKinds made_;
    sim::Host* host_ = nullptr;
    Random random_{0};
    std::array<Plan, kFaultKinds> plans_{};
    FaultCounts fired_{};
    SituationCounts deaths_{}, menuKeys_{}, reloads_{};
    int64_t lastDispatchFrame_ = -1;
    int64_t lastOrderFrame_ = -1;  // the last frame the script ordered its helicopter after the player
    int32_t swappedFrom_ = 0;      // the vehicle the player was last moved out of in a shielded salvo

    int64_t modelStallUntil_ = -1, assetStallUntil_ = -1, lastStallFrame_ = -1;
    bool modelStallFired_ = false, assetStallFired_ = false;
    int64_t modelAnswersSeen_ = 0, assetAnswersSeen_ = 0;  // when the stretch began
    int32_t lateRevival_ = 0, lateControl_ = 0;
    std::size_t lifeEventsSeen_ = 0;
    int64_t sightFlapsUntil_ = -1;
    int64_t badAnswersUntil_ = -1;
    float badValue_ = 0.0f;
    bool badAnswered_ = false;
    int32_t mashedKey_ = 0;
    int64_t mashUntil_ = -1;
    int64_t folderBackAt_ = -1;
    WritePositionCounts writePositions_{};
    Fault armedKind_ = Fault::WritesRefused;  // the kind of the write fault armed, if one is
    int armedPosition_ = 0;
    int64_t lockUntil_ = -1;
    Arrangement arranged_;
    bool levelBegun_ = false;
    bool refuseTiers_ = false;
    bool fileChanged_ = false;
    bool winCutShort_ = false;
    bool moduleReloadDue_ = false;
    int64_t focusBackAt_ = -1;
    bool focusFired_ = false;  // a key was pressed in the stretch without the focus
};

}  // namespace soak
