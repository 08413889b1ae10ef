// The rare paths of the plug-in's settings code (its probes), as the host sees them: from the
// settings calls, the notifications and the result on the screen. The Wine soak counts them
// so, since Rotorstrike.asi keeps its own counts to itself; the Linux soak counts them so too
// and checks, level by level, that the host saw a path exactly when the plug-in ran it.
// One path stays out of sight: see probeSeen.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "host.h"
#include "runtime/mod_state.h"

namespace soak {

// How often each rare path of the plug-in's settings code ran (the mod state's probes).
using ProbeCounts = std::array<int64_t, kSettingsProbes>;
const char* probeName(int probe);
// The start of a won level's result, as the screen shows it.
constexpr std::string_view kResult = "~g~Success! -- ";

// Whether the host can tell the path ran. "A load kept the values last stored" cannot be:
// a load that finds the file locked and the reading of a best that finds it so both open the
// file and read nothing, and the load's other kind, a rollback that could not be written,
// looks like any refused write.
constexpr bool probeSeen(int probe) { return probe != ProbeUnreadableLoad; }

class ProbeWatch {
public:
    // A new game: the plug-in starts afresh, never having read the file.
    void attach();
    // Each of the plug-in's settings calls, as it runs.
    void profileCall(const sim::ProfileCall& call);
    // After each frame; restarted: it was a restarted script's first, which credits a win cut
    // short and shows its result in the same turn.
    void afterFrame(const sim::Host& host, bool restarted);
    const ProbeCounts& seen() const { return seen_; }
    // The player was told in the last frame that progress could not be saved.
    bool toldUnsaved() const { return before_.unsaved; }

private:
    // What a frame's turn did: the won level's end is told by the result showing in the next.
    struct Turn {
        bool bestRead = false;  // a best read from a file that could be read
        bool loadBeforeRead = false;  // a load made while no load had read the file
        bool wrote = false;           // a write tried, whether it failed or not
        bool unsaved = false;   // the player told that progress could not be saved
        bool credited = false;  // a restarted script credited a win cut short
    };
    ProbeCounts seen_{};
    bool settingsRead_ = false;  // a load has read the file, or found none
    bool openReadable_ = false;  // the last open did not find the file unreadable
    Turn now_, before_;
    bool resultShown_ = false;
    // A purchase that is not stored whole is rolled back: the keys it wrote are written back,
    // in the same frame. A rollback that fails stays pending until it is written.
    int64_t frame_ = -1;
    std::map<std::string, std::string> writtenThisFrame_, pendingRollbacks_;
};

}  // namespace soak
