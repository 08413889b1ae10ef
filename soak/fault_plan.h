// The kinds of fault, and the level's plan of them, which the families of faults share: the
// level's generator that every draw comes from, each kind switched on or not, how often and
// in which situation it fires, and how often each kind has fired in the run.
#pragma once

#include <array>
#include <cstdint>

#include "random.h"
#include "situation.h"

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
    kCount           // not a kind: how many there are
};
constexpr int kFaultKinds = static_cast<int>(Fault::kCount);
using FaultKinds = std::array<bool, kFaultKinds>;
using FaultCounts = std::array<int64_t, kFaultKinds>;
const char* faultName(Fault fault);
// A write, a flush or the replace failing on the disk are fault points of our profile code:
// the system's profile functions have none.
constexpr bool needsOurProfileCode(Fault fault) { return fault == Fault::FileWriteFails; }
// A corruption or a truncation changes the file at places drawn over its length, and the
// system's functions write the same file in another length (Wine ends every line with CRLF
// and drops blank lines): two runs that are compared leave them out, with the hand edits'
// lines that Wine writes back otherwise.
constexpr bool changesBytesAtRandom(Fault fault) { return fault == Fault::FileCorrupted || fault == Fault::FileTruncated; }

// Rare paths of the settings code that a level can be arranged to meet, for as long as they
// have not run: the soak favours them rather than waiting for luck.
struct Arrangement {
    bool lockFromStart = false;  // the file locked from the level's first frame, over its loads and its start
    bool lockAtWin = false;      // and locked again in the won sequence, over the best's second read
    bool rollbackFails = false;  // a purchase's tier write and its rollback refused
};

struct FaultPlan {
    struct Kind {
        bool on = false;
        int64_t oneIn = 1;  // fires about once in this many frames
        Situation when = Situation::Chase;
        bool anywhere = true;  // or only in `when`
    };
    Random random{0};
    std::array<Kind, kFaultKinds> kinds{};
    Arrangement arranged;
    // Drawn with the plan: how late a late revival and control come (frames), and whether
    // every tier write is refused for a player who buys twice.
    int32_t lateRevival = 0, lateControl = 0;
    bool refuseTiers = false;
    FaultKinds made{};   // the kinds the run makes at all
    FaultCounts fired{};  // in the whole run, where each took effect

    Kind& of(Fault fault) { return kinds[static_cast<std::size_t>(fault)]; }
    bool isMade(Fault fault) const { return made[static_cast<std::size_t>(fault)]; }
    // The kind is on, in its situation (or anywhere), and fires this time: a draw whenever it
    // is on there.
    bool due(Fault fault, Situation now) {
        const Kind& chosen = of(fault);
        return chosen.on && (chosen.anywhere || chosen.when == now) && random.oneIn(chosen.oneIn);
    }
    void count(Fault fault, int64_t times = 1) { fired[static_cast<std::size_t>(fault)] += times; }
};

}  // namespace soak
